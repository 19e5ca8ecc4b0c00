#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// 16-bit characters: UTF-16 code units.
/// Threads: conversions share nothing but the process's locale, which must not change while they
/// run.
using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;

/// The process's 8-bit character set: the current LC_CTYPE locale ("C" until the host calls
/// setlocale). It is the only code page offered.
inline constexpr UINT CP_ACP = 0;
/// Code page numbers that GetACP reports.
inline constexpr UINT CP_ASCII = 20127;
inline constexpr UINT CP_UTF8 = 65001;

/// The code page of the process's character set: CP_UTF8, CP_ASCII (the "C" locale), or
/// CP_ACP for any other set.
PLINTH_API UINT GetACP() noexcept;

/// Conversion between 8-bit text of the process's character set and 16-bit characters.
///
/// Nothing is lost on the way from 8 to 16 bits: a byte that is not valid in the character
/// set (in the "C" locale, every byte above 0x7F) becomes the lone 16-bit unit 0xDC00 + byte,
/// and the way back turns such a unit into that byte again, so any 8-bit text survives a
/// round trip unchanged. On the way back a character that the character set cannot
/// represent, or any other unpaired surrogate, becomes the default character. In UTF-8 only
/// well-formed sequences decode: overlong forms, surrogates and values above U+10FFFF are bytes
/// that the set cannot decode.
///
/// Common rules: codePage must be CP_ACP and flags 0. A source count of -1 means a
/// zero-terminated source whose terminator is converted too; 0 is refused. A destination
/// count of 0 asks for the number of units the result needs and writes nothing. The result
/// is the number of units written (or needed); 0 means failure, with the last error set to
/// ERROR_INVALID_PARAMETER for a bad argument or ERROR_INSUFFICIENT_BUFFER when the
/// destination is too small (its contents are then unspecified).
PLINTH_API int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcCount, LPWSTR dst,
                                   int dstCount);

/// defaultChar: the byte written for what cannot be represented ('?' when null).
/// usedDefaultChar (may be null): set to whether the default character was written.
PLINTH_API int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcCount, LPSTR dst,
                                   int dstCount, LPCSTR defaultChar, BOOL* usedDefaultChar);

} // namespace plinth
