#pragma once

#include "plinth/platform/charset.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

/// An OLE string: it points at its 16-bit characters, which are preceded by their length in
/// bytes (32 bits) and followed by a zero character. A null BSTR is the empty string. The
/// characters may include zeros; the length prefix, not the terminator, ends the string.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
using BSTR = OLECHAR*;

// The Sys* allocators return null when memory runs out (or for a null source where noted);
// the result is freed with SysFreeString.

/// Copies a zero-terminated text; null for a null text.
PLINTH_API BSTR SysAllocString(const OLECHAR* text);
/// A string of `length` characters copied from `text`, or zero characters when `text` is null.
PLINTH_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
/// A string of `length` bytes copied from `bytes` (zero bytes when null). An odd count is kept
/// as it is: SysStringLen rounds down, SysStringByteLen gives it back exactly.
PLINTH_API BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length);
/// Frees the string; null is ignored.
PLINTH_API void SysFreeString(BSTR bstr) noexcept;

/// Lengths in characters and in bytes; 0 for null.
PLINTH_API UINT SysStringLen(BSTR bstr) noexcept;
PLINTH_API UINT SysStringByteLen(BSTR bstr) noexcept;

} // namespace plinth
