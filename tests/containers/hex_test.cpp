#include "plinth/containers/hex.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <random>
#include <vector>

using namespace plinth;

TEST(Hex, EncodesEveryByteAsTwoUpperCaseDigitsHighHalfFirst) {
    const unsigned char bytes[] = {0x00, 0xAB, 0x0F};
    EXPECT_EQ(rtBinaryToString(bytes, 3), "00AB0F");
    EXPECT_TRUE(rtBinaryToString(bytes, 0).IsEmpty());
    EXPECT_TRUE(rtBinaryToString(nullptr, 5).IsEmpty());

    std::vector<unsigned char> all(256);
    for (int b = 0; b < 256; ++b) {
        all[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
    }
    const CString text = rtBinaryToString(all.data(), 256);
    ASSERT_EQ(text.GetLength(), 512);
    for (int b = 0; b < 256; ++b) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", static_cast<unsigned>(b));
        EXPECT_EQ(text.Mid(2 * b, 2), expected);
    }
}

TEST(Hex, DecodingAcceptsEitherCaseButIsHexOnlyUpperCase) {
    unsigned char out[3] = {};
    EXPECT_TRUE(rtStringToBinary("00ab0f", 3, out));
    EXPECT_EQ(out[1], 0xAB);
    EXPECT_EQ(out[2], 0x0F);
    EXPECT_TRUE(rtStringToBinary("fFaA", 2, out));
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_EQ(out[1], 0xAA);

    EXPECT_TRUE(rtIsHex('A'));
    EXPECT_TRUE(rtIsHex('9'));
    EXPECT_FALSE(rtIsHex('a'));
    EXPECT_FALSE(rtIsHex('G'));
    EXPECT_FALSE(rtIsHex('/'));
    EXPECT_FALSE(rtIsHex(':'));
    EXPECT_FALSE(rtIsHex('@'));
}

TEST(Hex, FirstBadDigitStopsAndKeepsTheBytesBeforeIt) {
    unsigned char out[3] = {0x11, 0x22, 0x33};
    EXPECT_FALSE(rtStringToBinary("AB1G56", 3, out)); // bad low digit of the second byte
    EXPECT_EQ(out[0], 0xAB);
    EXPECT_EQ(out[1], 0x22);
    EXPECT_EQ(out[2], 0x33);

    unsigned char more[2] = {0x44, 0x55};
    EXPECT_FALSE(rtStringToBinary("A", 2, more)); // the terminator is a bad digit
    EXPECT_FALSE(rtStringToBinary("A1 2", 2, more));
    EXPECT_EQ(more[0], 0xA1);
    EXPECT_EQ(more[1], 0x55);

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

    bytes = rtStringToBinary(CString("0aFF10"), n);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(bytes[0], 0x0A);
    EXPECT_EQ(bytes[1], 0xFF);
    EXPECT_EQ(bytes[2], 0x10);
    delete[] bytes;

    // A bad digit is not reported: the count and buffer come back all the same.
    bytes = rtStringToBinary(CString("12ZZ34"), n);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(bytes[0], 0x12);
    EXPECT_EQ(bytes[1], 0); // from the bad pair on: zero
    EXPECT_EQ(bytes[2], 0);
    delete[] bytes;
}

TEST(Hex, RandomBytesSurviveARoundTripInEitherCase) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<unsigned char> bytes(random() % 300);
        for (auto& b : bytes) {
            b = static_cast<unsigned char>(random());
        }
        CString text = rtBinaryToString(bytes.data(), static_cast<ULONG>(bytes.size()));
        ASSERT_EQ(static_cast<std::size_t>(text.GetLength()), 2 * bytes.size());
        if (trial % 2 != 0) {
            for (char* p = text.GetBuffer(); *p != '\0'; ++p) {
                *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
            }
        }
        ULONG n = 0;
        unsigned char* back = rtStringToBinary(text, n);
        ASSERT_EQ(n, bytes.size());
        EXPECT_TRUE(bytes.empty() || std::equal(bytes.begin(), bytes.end(), back));
        delete[] back;
    }
}
