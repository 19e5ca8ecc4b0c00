#include "plinth/containers/bit_array.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

using namespace plinth;

TEST(RtBitArray, WordViewNumbersBitsFromTheLeastSignificant) {
    ULONG word = 0x00000005;
    RtBitArray bits(word);
    EXPECT_TRUE(bits.Get(0));
    EXPECT_TRUE(bits.Get(2));
    EXPECT_EQ(bits.FindFirstBit(true), 0);
    EXPECT_EQ(bits.FindFirstBit(false), 1);
    EXPECT_EQ(bits.GetString(), CString(std::string(29, '0').c_str()) + "101");
    EXPECT_EQ(bits.GetHexString(), "05000000");

    bits.Set(31, true);
    bits.Clear(0);
    bits.Set(32, true); // outside: ignored
    EXPECT_EQ(word, 0x80000004u);
    EXPECT_FALSE(bits.Get(32));
    bits.SetBits(0x11, true);
    EXPECT_EQ(word, 0x80000015u);
    bits.SetBits(0x80000001, false);
    EXPECT_EQ(word, 0x00000014u);
}

TEST(RtBitArray, RunsOfBits) {
    ULONG word = 0x0000000E;
    RtBitArray bits(word);
    EXPECT_EQ(bits.GetVal(1, 3), 14u);
    EXPECT_EQ(bits.GetBitsValue(1, 3), 7);
    EXPECT_EQ(bits.GetVal(3, 1), 0u);
    EXPECT_EQ(bits.GetBitsValue(3, 1), 0);

    // The place value rotates: bits 1 and 33 both add 2.
    unsigned char bytes[8] = {0x02, 0, 0, 0, 0x02, 0, 0, 0};
    EXPECT_EQ(RtBitArray(bytes, 64).GetVal(-4, 1000), 4u);

    unsigned char ones[2] = {0xFF, 0xFF};
    RtBitArray sixteen(ones, 16);
    EXPECT_EQ(sixteen.GetBitsValue(0, 15), 0xFF);  // only the first 8 contribute
    EXPECT_EQ(sixteen.GetBitsValue(12, 20), 0x0F); // past the end reads 0

    unsigned char clear[2] = {};
    RtBitArray target(clear, 16);
    target.SetBitsValue(2, 9, 0x1FF);
    EXPECT_EQ(clear[1], 0x03); // bit 8 of the value lies outside the range
    target.SetBitsValue(0, 3, 0x5);
    EXPECT_EQ(clear[0], 0xF5);

    ULONG low = 0;
    RtBitArray(low).SetBitsValue(0, 20, 0xFFFF); // at most 16 bits are written
    EXPECT_EQ(low, 0xFFFFu);
}

TEST(RtBitArray, WholeBytesIncludeTheSpareBits) {
    unsigned char a = 0x07;
    unsigned char b = 0x00;
    RtBitArray first(&a, 3);
    RtBitArray second(&b, 3, true);
    EXPECT_EQ(b, 0xFF);
    EXPECT_FALSE(second.IsClear());
    EXPECT_NE(first, second); // bits 0 .. 2 agree, the spare bits do not
    first.SetAll(true);
    EXPECT_EQ(first, second);
    first.ClearAll();
    EXPECT_EQ(a, 0x00);
    EXPECT_TRUE(first.IsClear());

    RtBitArray none;
    none.SetAll(true);
    EXPECT_TRUE(none.IsClear());
    EXPECT_EQ(none.GetString() + none.GetHexString(), "");

    EXPECT_EQ(RtBitArray::GetByteCount(0), 0);
    EXPECT_EQ(RtBitArray::GetByteCount(-5), 0);
    EXPECT_EQ(RtBitArray::GetByteCount(9), 2);
    EXPECT_EQ(RtBitArray::GetByteCount(INT_MAX), 268435456);
}

TEST(RtBitArray, FindFirstBitSkipsWordsAndIgnoresSpareBits) {
    std::vector<unsigned char> bytes(1000, 0x00);
    RtBitArray bits(bytes.data(), 8000);
    EXPECT_EQ(bits.FindFirstBit(true), -1);
    bits.Set(7000, true);
    bits.Set(7999, true);
    EXPECT_EQ(bits.FindFirstBit(true), 7000);
    bits.SetAll(true);
    bits.Clear(6001);
    EXPECT_EQ(bits.FindFirstBit(false), 6001);

    unsigned char tail[2] = {0x00, 0xFC};
    EXPECT_EQ(RtBitArray(tail, 10).FindFirstBit(true), -1);
    EXPECT_EQ(RtBitArray(tail, 11).FindFirstBit(true), 10);
    unsigned char full[2] = {0xFF, 0x03};
    EXPECT_EQ(RtBitArray(full, 10).FindFirstBit(false), -1);
}

TEST(RtBitArray, BytesAndSingleByteOrWordHelpers) {
    unsigned char bytes[2] = {0x01, 0xA0};
    RtBitArray bits(bytes, 16);
    EXPECT_EQ(bits.GetByte(9), &bytes[1]);
    EXPECT_EQ(bits.GetByte(16), nullptr);
    int i = 13;
    EXPECT_EQ(bits.GetByteValFactor(i), 0xA0);
    EXPECT_EQ(i, 5);
    i = 16;
    EXPECT_EQ(bits.GetByteValFactor(i), 0);
    EXPECT_EQ(i, 16);

    EXPECT_EQ(RtBitArray::ConstructFlagByte(9), 0x02);
    EXPECT_FALSE(RtBitArray::GetFlagByte(9, 0xFF));
    EXPECT_FALSE(RtBitArray::GetFlag(32, ~0u));
    ULONG word = 0;
    RtBitArray::SetFlagFromValue(0x18, true, word);
    RtBitArray::SetFlagFromValue(0, true, word);
    EXPECT_EQ(word, 0x08u);
    word = 0xFF;
    RtBitArray::SetFlagFromValue(0x18, false, word);
    EXPECT_EQ(word, 0xF7u);
}

TEST(RtBitArray, SetSizeAndCopyAllocateOnlyWhenMoreBytesAreNeeded) {
    RtBitArray grown;
    grown.SetSize(12);
    unsigned char* first = grown.GetByte(0);
    ASSERT_NE(first, nullptr);
    grown.SetAll(false);
    grown.Set(3, true);
    grown.SetSize(16); // same byte count: buffer and bits kept
    EXPECT_EQ(grown.GetByte(0), first);
    EXPECT_EQ(grown.GetString(), "0000000000001000");

    unsigned char source[4] = {0x12, 0x34, 0x56, 0x78};
    grown.Copy(RtBitArray(source, 32));  // needs more bytes: a new buffer
    grown.Copy(RtBitArray(nullptr, 64)); // nothing to copy
    grown.Copy(grown);
    EXPECT_EQ(grown.m_nBits, 32);
    EXPECT_EQ(grown.GetHexString(), "12345678");
    grown.Copy(RtBitArray(source, 8));
    EXPECT_EQ(grown.m_nBits, 8);
    EXPECT_EQ(grown.GetHexString(), "12");
    delete[] grown.GetByte(0); // whoever grows an array owns its buffer

    RtBitArray fromBytes(nullptr, 16);
    fromBytes.Copy(source + 2);
    ASSERT_NE(fromBytes.GetByte(0), nullptr);
    EXPECT_EQ(fromBytes.GetHexString(), "5678");
    delete[] fromBytes.GetByte(0);

    unsigned char view[2] = {};
    RtBitArray(view, 16).Copy(source);
    EXPECT_EQ(view[1], 0x34); // an existing buffer is written, not replaced
}

TEST(RtBitArray, AgreesWithVectorOfBoolUnderRandomOperations) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 1 + static_cast<int>(random() % 200);
        std::vector<unsigned char> bytes(static_cast<std::size_t>(RtBitArray::GetByteCount(n)));
        const bool initial = trial % 2 != 0; // so that both searches may have to go far
        RtBitArray bits(bytes.data(), n, initial);
        std::vector<bool> expected(static_cast<std::size_t>(n), initial);
        for (int op = 0; op < 40; ++op) {
            const int i = static_cast<int>(random() % static_cast<unsigned>(n));
            const bool value = random() % 2 != 0;
            if (op % 3 == 0) {
                const ULONG mask = static_cast<ULONG>(random()) >> (n < 32 ? 32 - n : 0);
                bits.SetBits(mask, value);
                for (int j = 0; j < 32; ++j) {
                    if ((mask >> j & 1u) != 0) {
                        expected[static_cast<std::size_t>(j)] = value;
                    }
                }
            } else {
                bits.Set(i, value);
                expected[static_cast<std::size_t>(i)] = value;
            }
        }
        std::string text;
        int firstSet = -1;
        int firstClear = -1;
        for (int i = n - 1; i >= 0; --i) {
            const bool bit = expected[static_cast<std::size_t>(i)];
            ASSERT_EQ(bits.Get(i), bit) << "bit " << i << " of " << n;
            text += bit ? '1' : '0';
            (bit ? firstSet : firstClear) = i;
        }
        EXPECT_EQ(bits.GetString(), text.c_str());
        EXPECT_EQ(bits.FindFirstBit(true), firstSet);
        EXPECT_EQ(bits.FindFirstBit(false), firstClear);
        const int from = static_cast<int>(random() % static_cast<unsigned>(n));
        const int to = std::min(n - 1, from + 31);
        ULONG value = 0;
        for (int i = from; i <= to; ++i) {
            value += expected[static_cast<std::size_t>(i)] ? ULONG{1} << (i % 32) : 0;
        }
        EXPECT_EQ(bits.GetVal(from, to), value);
    }
}
