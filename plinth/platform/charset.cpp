#include "plinth/platform/charset.h"

#include "plinth/platform/lasterror.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <string>

#if !defined(__STDC_ISO_10646__)
#error "wide characters must hold Unicode code points"
#endif

namespace plinth {

namespace {

constexpr char32_t kHighSurrogate = 0xD800;
constexpr char32_t kLowSurrogate = 0xDC00;
constexpr char32_t kSurrogateEnd = 0xE000;
constexpr char32_t kEscapeEnd = kLowSurrogate + 0x100; // units that stand for a raw byte
constexpr char32_t kFirstSupplementary = 0x10000;
constexpr char32_t kLastCodePoint = 0x10FFFF;

constexpr bool isHighSurrogate(char32_t u) {
    return u >= kHighSurrogate && u < kLowSurrogate;
}
constexpr bool isLowSurrogate(char32_t u) {
    return u >= kLowSurrogate && u < kSurrogateEnd;
}

// Collects converted units: counts all of them and stores those that fit.
template <class Unit>
class Sink {
public:
    Sink(Unit* dst, int capacity) noexcept
        : m_dst(dst)
        , m_capacity(dst == nullptr ? 0 : static_cast<std::size_t>(capacity)) {}

    void operator()(Unit unit) noexcept {
        if (m_count < m_capacity) {
            m_dst[m_count] = unit;
        }
        ++m_count;
    }
    std::size_t count() const noexcept { return m_count; }

private:
    Unit* m_dst;
    std::size_t m_capacity;
    std::size_t m_count = 0;
};

constexpr bool isScalarValue(char32_t cp) {
    return cp <= kLastCodePoint && (cp < kHighSurrogate || cp >= kSurrogateEnd);
}

void putCodePoint(char32_t cp, Sink<WCHAR>& out) {
    if (cp < kFirstSupplementary) {
        out(static_cast<WCHAR>(cp));
    } else {
        const char32_t offset = cp - kFirstSupplementary;
        out(static_cast<WCHAR>(kHighSurrogate + (offset >> 10)));
        out(static_cast<WCHAR>(kLowSurrogate + (offset & 0x3FF)));
    }
}

// The length of the well-formed UTF-8 sequence at src (at most length bytes) and its code
// point, or 0 when there is none: no overlong forms, surrogates or values above U+10FFFF.
std::size_t decodeUtf8(const unsigned char* src, std::size_t length, char32_t& cp) noexcept {
    const unsigned char lead = src[0];
    std::size_t size = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        min = 0x80;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        min = 0x800;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        min = kFirstSupplementary;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (size > length) {
        return 0;
    }
    for (std::size_t k = 1; k < size; ++k) {
        if ((src[k] & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (src[k] & 0x3F);
    }
    return cp >= min && isScalarValue(cp) ? size : 0;
}

void decodeMultiByte(const char* src, std::size_t length, Sink<WCHAR>& out) {
    const UINT charset = GetACP();
    const auto* bytes = reinterpret_cast<const unsigned char*>(src);
    std::mbstate_t state{};
    while (length > 0) {
        std::size_t used = 1;
        char32_t cp = bytes[0];
        if (cp >= 0x80 && charset == CP_UTF8) {
            used = decodeUtf8(bytes, length, cp);
        } else if (cp >= 0x80 && charset == CP_ACP) {
            wchar_t wc = 0;
            used = std::mbrtowc(&wc, reinterpret_cast<const char*>(bytes), length, &state);
            cp = static_cast<char32_t>(wc);
            if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
                !isScalarValue(cp)) {
                used = 0;
                state = std::mbstate_t{};
            }
        } else if (cp >= 0x80) {
            used = 0;
        }
        if (used == 0) {
            // Not decodable: keep the first byte as an escape unit and resynchronise.
            out(static_cast<WCHAR>(kLowSurrogate + bytes[0]));
            used = 1;
        } else {
            putCodePoint(cp, out);
        }
        bytes += used;
        length -= used;
    }
}

void encodeUtf8(char32_t cp, Sink<char>& out) {
    if (cp < 0x800) {
        out(static_cast<char>(0xC0 | (cp >> 6)));
    } else {
        if (cp < kFirstSupplementary) {
            out(static_cast<char>(0xE0 | (cp >> 12)));
        } else {
            out(static_cast<char>(0xF0 | (cp >> 18)));
            out(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        }
        out(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    }
    out(static_cast<char>(0x80 | (cp & 0x3F)));
}

void encodeMultiByte(const WCHAR* src, std::size_t length, char fallback, Sink<char>& out,
                     bool& usedFallback) {
    const UINT charset = GetACP();
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    for (std::size_t i = 0; i < length; ++i) {
        char32_t cp = src[i];
        if (cp < 0x80) {
            out(static_cast<char>(cp));
            continue;
        }
        if (isHighSurrogate(cp) && i + 1 < length && isLowSurrogate(src[i + 1])) {
            cp = kFirstSupplementary + ((cp - kHighSurrogate) << 10) + (src[i + 1] - kLowSurrogate);
            ++i;
        } else if (cp >= kLowSurrogate && cp < kEscapeEnd) {
            out(static_cast<char>(cp - kLowSurrogate));
            continue;
        } else if (isHighSurrogate(cp) || isLowSurrogate(cp)) {
            out(fallback);
            usedFallback = true;
            continue;
        }
        if (charset == CP_UTF8) {
            encodeUtf8(cp, out);
            continue;
        }
        const std::size_t n = charset == CP_ASCII
                                  ? static_cast<std::size_t>(-1)
                                  : std::wcrtomb(bytes, static_cast<wchar_t>(cp), &state);
        if (n == static_cast<std::size_t>(-1)) {
            out(fallback);
            usedFallback = true;
            state = std::mbstate_t{};
            continue;
        }
        for (std::size_t k = 0; k < n; ++k) {
            out(bytes[k]);
        }
    }
}

// Checks the arguments common to both directions and resolves a count of -1.
template <class Char>
bool checkArguments(UINT codePage, DWORD flags, const Char* src, int srcCount, const void* dst,
                    int dstCount, std::size_t& length) {
    if (codePage != CP_ACP || flags != 0 || src == nullptr || srcCount == 0 || srcCount < -1 ||
        dstCount < 0 || (dstCount > 0 && dst == nullptr)) {
        return false;
    }
    length = srcCount == -1 ? std::char_traits<Char>::length(src) + 1
                            : static_cast<std::size_t>(srcCount);
    return true;
}

// The count to return for a finished conversion, or 0 with the last error set.
template <class Unit>
int finish(const Sink<Unit>& out, int dstCount) {
    if (out.count() > static_cast<std::size_t>(INT_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dstCount > 0 && out.count() > static_cast<std::size_t>(dstCount)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    return static_cast<int>(out.count());
}

} // namespace

UINT GetACP() noexcept {
    const char* name = nl_langinfo(CODESET);
    if (std::strcmp(name, "UTF-8") == 0) {
        return CP_UTF8;
    }
    return std::strcmp(name, "ANSI_X3.4-1968") == 0 ? CP_ASCII : CP_ACP;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcCount, LPWSTR dst,
                        int dstCount) {
    std::size_t length = 0;
    if (!checkArguments(codePage, flags, src, srcCount, dst, dstCount, length)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Sink<WCHAR> out(dst, dstCount);
    const DWORD lastError = GetLastError(); // the C library reports invalid bytes in errno
    decodeMultiByte(src, length, out);
    SetLastError(lastError);
    return finish(out, dstCount);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcCount, LPSTR dst,
                        int dstCount, LPCSTR defaultChar, BOOL* usedDefaultChar) {
    std::size_t length = 0;
    if (!checkArguments(codePage, flags, src, srcCount, dst, dstCount, length)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Sink<char> out(dst, dstCount);
    bool usedFallback = false;
    const DWORD lastError = GetLastError();
    encodeMultiByte(src, length, defaultChar == nullptr ? '?' : *defaultChar, out, usedFallback);
    SetLastError(lastError);
    if (usedDefaultChar != nullptr) {
        *usedDefaultChar = usedFallback ? 1 : 0;
    }
    return finish(out, dstCount);
}

} // namespace plinth
