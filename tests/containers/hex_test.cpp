#include "plinth/containers/hex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace plinth;

TEST(Hex, EveryByteIsTwoUpperCaseDigitsReadBackInEitherCase) {
    const unsigned char bytes[] = {0x00, 0xAB, 0x0F};
    EXPECT_EQ(rtBinaryToString(bytes, 3), "00AB0F");
    EXPECT_EQ(rtBinaryToString(bytes, 0), "");
    EXPECT_EQ(rtBinaryToString(nullptr, 5), "");

    unsigned char all[256];
    for (int b = 0; b < 256; ++b) {
        all[b] = static_cast<unsigned char>(b);
    }
    for (const bool lower : {false, true}) {
        CString text;
        for (int b = 0; b < 256; ++b) {
            text.AppendFormat(lower ? "%02x" : "%02X", b);
        }
        if (!lower) {
            EXPECT_EQ(rtBinaryToString(all, 256), text);
        }
        ULONG n = 0;
        unsigned char* back = rtStringToBinary(text, n);
        ASSERT_EQ(n, 256u);
        EXPECT_TRUE(std::equal(all, all + 256, back)) << "lower case: " << lower;
        delete[] back;
    }

    for (const char c : std::string("09AF")) {
        EXPECT_TRUE(rtIsHex(c)) << c;
    }
    for (const char c : std::string("/:@Gaf")) {
        EXPECT_FALSE(rtIsHex(c)) << c; // lower case is read, yet not one of the digits
    }
}

TEST(Hex, FirstBadDigitStopsAndKeepsTheBytesBeforeIt) {
    unsigned char out[3] = {0x11, 0x22, 0x33};
    EXPECT_FALSE(rtStringToBinary("AB1G56", 3, out)); // bad low digit of the second byte
    EXPECT_EQ(rtBinaryToString(out, 3), "AB2233");

    unsigned char more[2] = {0x44, 0x55};
    EXPECT_FALSE(rtStringToBinary("A", 2, more)); // the terminator is a bad digit
    EXPECT_FALSE(rtStringToBinary("A1 2", 2, more));
    EXPECT_EQ(rtBinaryToString(more, 2), "A155");

    EXPECT_TRUE(rtStringToBinary(nullptr, 0, nullptr));
    EXPECT_FALSE(rtStringToBinary(nullptr, 1, more));
    EXPECT_FALSE(rtStringToBinary("12", 1, nullptr));
}

TEST(Hex, StringOverloadAllocatesHalfTheLengthAndFlagsOddLengths) {
    ULONG n = 7;
    EXPECT_EQ(rtStringToBinary(CString("ABC"), n), nullptr);
    EXPECT_EQ(n, 0xFFFFFFFFu);
    unsigned char* bytes = rtStringToBinary(CString(), n);
    EXPECT_NE(bytes, nullptr); // empty, not failed
    EXPECT_EQ(n, 0u);
    delete[] bytes;

    // A bad digit is not reported: the count and buffer come back all the same.
    bytes = rtStringToBinary(CString("12ZZ34"), n);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(rtBinaryToString(bytes, n), "120000"); // from the bad pair on: zero
    delete[] bytes;
}

namespace {

// The plain definition of the text form, one character at a time.
std::string modelText(const std::vector<unsigned char>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0xF];
    }
    return text;
}

int modelValue(char c) {
    const std::string digits = "0123456789abcdef";
    const std::size_t at = digits.find(static_cast<char>(c >= 'A' && c <= 'F' ? c + 32 : c));
    return c == '\0' || at == std::string::npos ? -1 : static_cast<int>(at);
}

} // namespace

TEST(Hex, EveryLengthAndContentMatchesTheCharacterByCharacterForm) {
    std::mt19937 random(20);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 64; ++n) {
        lengths.push_back(n);
    }
    for (int k = 0; k < 200; ++k) {
        lengths.push_back(random() % 5000); // across the decoder's blocks of 2048 bytes
    }
    for (const std::size_t n : lengths) {
        std::vector<unsigned char> bytes(n);
        for (auto& b : bytes) {
            b = static_cast<unsigned char>(random());
        }
        std::string text = modelText(bytes);
        ASSERT_EQ(std::string(rtBinaryToString(bytes.data(), static_cast<ULONG>(n)).GetString()),
                  text)
            << n;
        for (auto& c : text) { // either case reads the same
            if (c >= 'A' && random() % 2 == 0) {
                c = static_cast<char>(c + 32);
            }
        }
        if (n > 0 && random() % 2 == 0) { // a bad character, or the text cut short
            const std::size_t at = random() % text.size();
            const char bad[] = {'\0', 'G', 'g', '/', ':', '@', '`', ' ', '\xB0'};
            text[at] = bad[random() % sizeof bad];
        }
        // Exactly the text and its terminator, so that a read beyond it is caught.
        const std::size_t length = std::strlen(text.c_str());
        auto exact = std::make_unique<char[]>(length + 1);
        std::memcpy(exact.get(), text.c_str(), length + 1);

        std::vector<unsigned char> out(n, 0x5A);
        const bool ok = rtStringToBinary(exact.get(), static_cast<ULONG>(n), out.data());
        std::size_t good = 0; // whole bytes before the first bad character
        while (good < n && modelValue(text[2 * good]) >= 0 && modelValue(text[2 * good + 1]) >= 0) {
            ++good;
        }
        ASSERT_EQ(ok, good == n) << n;
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_EQ(out[i], i < good ? bytes[i] : 0x5A) << "length " << n << " byte " << i;
        }
    }
}
