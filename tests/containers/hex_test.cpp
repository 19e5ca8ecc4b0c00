#include "plinth/containers/hex.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

using namespace plinth;

TEST(Hex, BytesAreTwoUpperCaseDigitsAndOnlyThoseCountAsDigits) {
    const unsigned char bytes[] = {0x00, 0xAB, 0x0F};
    EXPECT_EQ(rtBinaryToString(bytes, 3), "00AB0F");
    EXPECT_EQ(rtBinaryToString(bytes, 0), "");
    EXPECT_EQ(rtBinaryToString(nullptr, 5), "");
    for (const char c : std::string("09AF")) {
        EXPECT_TRUE(rtIsHex(c)) << c;
    }
    for (const char c : std::string("/:@Gaf")) {
        EXPECT_FALSE(rtIsHex(c)) << c; // lower case is read, yet not one of the digits
    }
}

TEST(Hex, NullBuffersAreRefusedUnlessNothingIsAsked) {
    unsigned char out[1] = {0x44};
    EXPECT_TRUE(rtStringToBinary(nullptr, 0, nullptr));
    EXPECT_FALSE(rtStringToBinary(nullptr, 1, out));
    EXPECT_FALSE(rtStringToBinary("12", 1, nullptr));
    EXPECT_EQ(out[0], 0x44);
}

TEST(Hex, StringOverloadAllocatesHalfTheLengthAndFlagsOddLengths) {
    ULONG n = 7;
    EXPECT_EQ(rtStringToBinary(CString("ABC"), n), nullptr);
    EXPECT_EQ(n, 0xFFFFFFFFu);
    unsigned char* bytes = rtStringToBinary(CString(), n);
    EXPECT_TRUE(bytes != nullptr && n == 0u); // empty, not failed
    delete[] bytes;

    // A bad digit is not reported: the count and buffer come back all the same.
    bytes = rtStringToBinary(CString("12ZZ34"), n);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(rtBinaryToString(bytes, n), "120000"); // from the bad pair on: zero
    delete[] bytes;
}

// Against the character-by-character form: every length to 64, every byte value, long texts
// across the decoder's blocks of 2048 bytes, either case, and a bad character or early end.
TEST(Hex, EveryLengthAndContentMatchesTheCharacterByCharacterForm) {
    std::mt19937 random(20);
    std::vector<std::vector<unsigned char>> inputs(65 + 200);
    for (std::size_t k = 0; k < inputs.size(); ++k) {
        inputs[k].resize(k <= 64 ? k : random() % 5000);
        for (auto& b : inputs[k]) {
            b = static_cast<unsigned char>(random());
        }
    }
    inputs.emplace_back(256);
    std::iota(inputs.back().begin(), inputs.back().end(), 0);
    for (const auto& bytes : inputs) {
        const std::size_t n = bytes.size();
        std::string text;
        for (const unsigned char b : bytes) {
            text += "0123456789ABCDEF"[b >> 4];
            text += "0123456789ABCDEF"[b & 0xF];
        }
        ASSERT_EQ(rtBinaryToString(bytes.data(), static_cast<ULONG>(n)).GetString(), text) << n;
        for (auto& c : text) { // either case reads the same
            if (c >= 'A' && random() % 2 == 0) {
                c = static_cast<char>(c + 32);
            }
        }
        if (n > 0 && n != 256 && random() % 2 == 0) {
            const char bad[] = {'\0', 'G', 'g', '/', ':', '@', '`', ' ', '\xB0'};
            text[random() % text.size()] = bad[random() % sizeof bad];
        }
        // Exactly the text and its terminator, so that a read beyond it is caught.
        const std::size_t length = std::strlen(text.c_str());
        auto exact = std::make_unique<char[]>(length + 1);
        std::memcpy(exact.get(), text.c_str(), length + 1);

        std::vector<unsigned char> out(n, 0x5A);
        const bool ok = rtStringToBinary(exact.get(), static_cast<ULONG>(n), out.data());
        const auto digit = [&text](std::size_t i) {
            return text[i] != '\0' && std::strchr("0123456789abcdefABCDEF", text[i]) != nullptr;
        };
        std::size_t good = 0; // whole bytes before the first bad character
        while (good < n && digit(2 * good) && digit(2 * good + 1)) {
            ++good;
        }
        ASSERT_EQ(ok, good == n) << n;
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_EQ(out[i], i < good ? bytes[i] : 0x5A) << "length " << n << " byte " << i;
        }
    }
}
