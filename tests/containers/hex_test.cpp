#include "plinth/containers/hex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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
