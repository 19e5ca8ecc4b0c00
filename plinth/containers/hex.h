#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

// Hexadecimal text: the byte form of blobs and row buffers in XML. Each byte is two digits
// of "0123456789ABCDEF", high half first, with no separators.
// Threads: one object is used by one thread at a time; distinct objects are independent.

/// 2n upper-case digits; empty for n = 0 or null data. Raises CMemoryException when the
/// text would not fit in a string.
PLINTH_API CString rtBinaryToString(const unsigned char* data, ULONG n);

/// Reads 2n digits of either case into n bytes. The first character that is not a digit
/// (the terminating zero of a short text included) stops with false; the bytes before it
/// are written, the rest of out is untouched. True at once for n = 0; false for a null
/// text or out.
PLINTH_API bool rtStringToBinary(const char* text, ULONG n, unsigned char* out);

/// The whole text as newly allocated bytes (free with delete[]), n set to their count.
/// An odd length sets n to 0xFFFFFFFF and gives null; an empty text gives an empty array.
/// A bad digit is not reported: the bytes from the bad pair on are zero.
PLINTH_API unsigned char* rtStringToBinary(const CString& text, ULONG& n);

/// True for the sixteen digits that rtBinaryToString writes; lower-case a to f are refused.
inline bool rtIsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

} // namespace plinth
