#include "plinth/containers/hex.h"

#include "plinth/platform/memory.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

namespace plinth {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// The two digits of every byte value, side by side.
constexpr std::array<char, 512> makePairs() {
    std::array<char, 512> pairs{};
    for (std::size_t b = 0; b < 256; ++b) {
        pairs[2 * b] = kDigits[b >> 4];
        pairs[2 * b + 1] = kDigits[b & 0xF];
    }
    return pairs;
}

// The value of every character read as one digit; -1 for a character that is not one.
constexpr std::array<std::int8_t, 256> makeValues() {
    std::array<std::int8_t, 256> values{};
    for (auto& v : values) {
        v = -1;
    }
    for (int d = 0; d < 16; ++d) {
        values[static_cast<unsigned char>(kDigits[d])] = static_cast<std::int8_t>(d);
        if (d >= 10) {
            values[static_cast<unsigned char>(kDigits[d] - 'A' + 'a')] =
                static_cast<std::int8_t>(d);
        }
    }
    return values;
}

constexpr std::array<char, 512> kPairs = makePairs();
constexpr std::array<std::int8_t, 256> kValues = makeValues();

} // namespace

CString rtBinaryToString(const unsigned char* data, ULONG n) {
    CString text;
    if (data == nullptr || n == 0) {
        return text;
    }
    if (n > INT_MAX / 2) {
        AfxThrowMemoryException();
    }
    const int length = static_cast<int>(2 * n);
    char* out = text.GetBufferSetLength(length);
    for (ULONG i = 0; i < n; ++i) {
        std::memcpy(out + 2 * i, &kPairs[2 * std::size_t{data[i]}], 2);
    }
    text.ReleaseBuffer(length);
    return text;
}

bool rtStringToBinary(const char* text, ULONG n, unsigned char* out) {
    if (n == 0) {
        return true;
    }
    if (text == nullptr || out == nullptr) {
        return false;
    }
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    for (ULONG i = 0; i < n; ++i) {
        const int high = kValues[in[2 * std::size_t{i}]];
        if (high < 0) {
            return false; // also stops at a terminating zero before the low digit is read
        }
        const int low = kValues[in[2 * std::size_t{i} + 1]];
        if (low < 0) {
            return false;
        }
        out[i] = static_cast<unsigned char>(high << 4 | low);
    }
    return true;
}

unsigned char* rtStringToBinary(const CString& text, ULONG& n) {
    const int length = text.GetLength();
    if (length % 2 != 0) {
        n = 0xFFFFFFFF;
        return nullptr;
    }
    n = static_cast<ULONG>(length / 2);
    unsigned char* bytes = AfxNewArray<unsigned char>(n);
    std::fill_n(bytes, n, 0); // a bad digit leaves the rest zero, never uninitialised
    rtStringToBinary(text.GetString(), n, bytes);
    return bytes;
}

} // namespace plinth
