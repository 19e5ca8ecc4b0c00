#include "plinth/containers/hex.h"

#include "plinth/platform/memory.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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

// The digits of n bytes, one at a time: the whole job where no vector unit is known, and the
// tail shorter than a vector elsewhere.
void encodeBytes(const unsigned char* data, std::size_t n, char* out) noexcept {
    for (std::size_t i = 0; i < n; ++i) {
        std::memcpy(out + 2 * i, &kPairs[2 * std::size_t{data[i]}], 2);
    }
}

// Reads n bytes one at a time: the number read before the first bad digit.
std::size_t decodeBytes(const unsigned char* in, std::size_t n, unsigned char* out) noexcept {
    for (std::size_t i = 0; i < n; ++i) {
        const int high = kValues[in[2 * i]];
        if (high < 0) {
            return i; // also stops at a terminating zero before the low digit is read
        }
        const int low = kValues[in[2 * i + 1]];
        if (low < 0) {
            return i;
        }
        out[i] = static_cast<unsigned char>(high << 4 | low);
    }
    return n;
}

#if defined(__x86_64__) && defined(__GNUC__)

// The vector paths use AVX2 where the processor has it, chosen once at run time; elsewhere
// everything goes through the byte-at-a-time loops.
#define PLINTH_AVX2 __attribute__((target("avx2")))

bool haveAvx2() noexcept {
    static const bool have = __builtin_cpu_supports("avx2") != 0;
    return have;
}

constexpr std::size_t kVector = 32;

// Whole vectors of 32 bytes; the rest is left to encodeBytes.
PLINTH_AVX2 std::size_t encodeAvx2(const unsigned char* data, std::size_t n, char* out) noexcept {
    const __m256i digits = _mm256_setr_epi8('0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A',
                                            'B', 'C', 'D', 'E', 'F', '0', '1', '2', '3', '4', '5',
                                            '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F');
    const __m256i low4 = _mm256_set1_epi8(0x0F);
    std::size_t i = 0;
    for (; i + kVector <= n; i += kVector) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i high =
            _mm256_shuffle_epi8(digits, _mm256_and_si256(_mm256_srli_epi16(bytes, 4), low4));
        const __m256i low = _mm256_shuffle_epi8(digits, _mm256_and_si256(bytes, low4));
        // The interleaving works within each half; the two stores put the halves in order.
        const __m256i first = _mm256_unpacklo_epi8(high, low);
        const __m256i second = _mm256_unpackhi_epi8(high, low);
        auto* to = reinterpret_cast<__m256i*>(out + 2 * i);
        _mm256_storeu_si256(to, _mm256_permute2x128_si256(first, second, 0x20));
        _mm256_storeu_si256(to + 1, _mm256_permute2x128_si256(first, second, 0x31));
    }
    return i;
}

// Each pair of 32 characters' digit values, high half first, as a 16-bit lane; *valid gets
// the mask of the characters that are digits of either case.
PLINTH_AVX2 __m256i pairsOf(const unsigned char* in, int* valid) noexcept {
    const __m256i chars = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
    const __m256i digit = _mm256_sub_epi8(chars, _mm256_set1_epi8('0'));
    const __m256i isDigit = _mm256_cmpeq_epi8(_mm256_min_epu8(digit, _mm256_set1_epi8(9)), digit);
    // Folding the case leaves only 'A'..'F' and 'a'..'f' on 'a'..'f'.
    const __m256i letter =
        _mm256_sub_epi8(_mm256_or_si256(chars, _mm256_set1_epi8(0x20)), _mm256_set1_epi8('a'));
    const __m256i isLetter =
        _mm256_cmpeq_epi8(_mm256_min_epu8(letter, _mm256_set1_epi8(5)), letter);
    *valid = _mm256_movemask_epi8(_mm256_or_si256(isDigit, isLetter));
    // A digit's value is its low four bits, a letter's nine more.
    const __m256i value = _mm256_add_epi8(_mm256_and_si256(chars, _mm256_set1_epi8(0x0F)),
                                          _mm256_and_si256(isLetter, _mm256_set1_epi8(9)));
    return _mm256_maddubs_epi16(value, _mm256_set1_epi16(0x0110)); // 16 * high + low
}

// Whole vectors of 32 bytes out of text known to hold 2n characters, up to the first vector
// with a bad digit: the number of bytes written.
PLINTH_AVX2 std::size_t decodeAvx2(const unsigned char* in, std::size_t n,
                                   unsigned char* out) noexcept {
    std::size_t i = 0;
    for (; i + kVector <= n; i += kVector) {
        int valid0 = 0;
        int valid1 = 0;
        const __m256i first = pairsOf(in + 2 * i, &valid0);
        const __m256i second = pairsOf(in + 2 * i + kVector, &valid1);
        if ((valid0 & valid1) != -1) {
            break;
        }
        // Packing works within each half; the quadword order 0, 2, 1, 3 undoes that.
        const __m256i bytes =
            _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), _MM_SHUFFLE(3, 1, 2, 0));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), bytes);
    }
    return i;
}

#undef PLINTH_AVX2

std::size_t encodeVectors(const unsigned char* data, std::size_t n, char* out) noexcept {
    return haveAvx2() ? encodeAvx2(data, n, out) : 0;
}
std::size_t decodeVectors(const unsigned char* in, std::size_t n, unsigned char* out) noexcept {
    return haveAvx2() ? decodeAvx2(in, n, out) : 0;
}

#else

std::size_t encodeVectors(const unsigned char*, std::size_t, char*) noexcept {
    return 0;
}
std::size_t decodeVectors(const unsigned char*, std::size_t, unsigned char*) noexcept {
    return 0;
}

#endif

// Text is read in blocks of this many bytes' digits; each block's length is found first, so
// that no vector reads past the text's terminating zero.
constexpr std::size_t kBlock = 2048;

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
    const std::size_t done = encodeVectors(data, n, out);
    encodeBytes(data + done, n - done, out + 2 * done);
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
    for (std::size_t done = 0; done < n;) {
        const std::size_t block = std::min<std::size_t>(kBlock, n - done);
        const unsigned char* from = in + 2 * done;
        const void* end = std::memchr(from, '\0', 2 * block);
        const std::size_t chars =
            end == nullptr
                ? 2 * block
                : static_cast<std::size_t>(static_cast<const unsigned char*>(end) - from);
        const std::size_t present = chars / 2;
        std::size_t read = decodeVectors(from, present, out + done);
        read += decodeBytes(from + 2 * read, block - read, out + done + read);
        if (read < block) {
            return false;
        }
        done += block;
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
