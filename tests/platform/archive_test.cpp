#include "support/archive_bytes.h"

#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace plinth;
using plinth::testing::Bytes;
using plinth::testing::Stored;

namespace {

// The cause of the archive exception that `action` raises, or -1 when it raises none.
int CauseOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

// A memory file that may refuse to lend its memory, so that the archive copies through
// its buffer as from a disk file.
class CopyingMemFile : public CMemFile {
public:
    CopyingMemFile(BYTE* buffer, UINT size, bool lends)
        : CMemFile(buffer, size)
        , m_bLends(lends) {}
    UINT GetBufferPtr(UINT command, UINT count, void** start, void** max) override {
        return m_bLends ? CMemFile::GetBufferPtr(command, count, start, max) : 0;
    }

private:
    bool m_bLends;
};

// The next value of type T that `ar` loads.
template <class T>
T Next(CArchive& ar) {
    T value{};
    ar >> value;
    return value;
}

} // namespace

TEST(Archive, StoresScalarsAtFixedWidthsInLittleEndianOrder) {
    EXPECT_EQ(Stored([](CArchive& ar) { ar << true << false; }), (Bytes{1, 0}));
    EXPECT_EQ(Stored([](CArchive& ar) {
                  ar << 'A' << static_cast<signed char>(-2) << static_cast<unsigned char>(0xAB);
              }),
              (Bytes{0x41, 0xFE, 0xAB}));
    EXPECT_EQ(Stored([](CArchive& ar) {
                  ar << static_cast<short>(-2) << static_cast<unsigned short>(0x1234);
              }),
              (Bytes{0xFE, 0xFF, 0x34, 0x12}));
    EXPECT_EQ(Stored([](CArchive& ar) { ar << -2 << 0x12345678U; }),
              (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}));
    // long keeps 32 bits: only the low half goes out.
    EXPECT_EQ(Stored([](CArchive& ar) { ar << -2L << 0x123456789L << 0xFFFFFFFF00000001UL; }),
              (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0x89, 0x67, 0x45, 0x23, 0x01, 0, 0, 0}));
    EXPECT_EQ(Stored([](CArchive& ar) { ar << -2LL << 0x0102030405060708ULL; }),
              (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(Stored([](CArchive& ar) { ar << 1.0F << -2.5; }),
              (Bytes{0, 0, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0x04, 0xC0}));
}

TEST(Archive, LoadsScalarsWithTheirSignAndKeepsLongAt32Bits) {
    BYTE bytes[] = {2, 0xFE, 0xFE, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF};
    CMemFile file(bytes, sizeof bytes);
    CArchive ar(&file, CArchive::load);
    EXPECT_TRUE(Next<bool>(ar)); // any byte but 0 is true
    EXPECT_EQ(Next<signed char>(ar), -2);
    EXPECT_EQ(Next<short>(ar), -2);
    EXPECT_EQ(Next<long>(ar), -2L);
    EXPECT_EQ(Next<unsigned long>(ar), 0xFFFFFFFEUL);
}

TEST(Archive, EncodesCountsInOneTwoOrThreeSteps) {
    const std::vector<std::pair<DWORD_PTR, Bytes>> cases = {
        {0, {0, 0}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
        {0xFFFFFFFE, {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}},
        {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}},
        {0x100000000, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0}},
    };
    for (auto [count, bytes] : cases) {
        EXPECT_EQ(Stored([n = count](CArchive& ar) { ar.WriteCount(n); }), bytes) << count;
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        EXPECT_EQ(ar.ReadCount(), count);
    }
}

TEST(Archive, WrongDirectionAndTruncatedDataRaiseTheirCauses) {
    BYTE three[] = {1, 2, 3};
    CMemFile file(three, 3);
    {
        CArchive ar(&file, CArchive::load, 8);
        EXPECT_EQ(CauseOf([&] { ar << 1; }), CArchiveException::readOnly);
        EXPECT_EQ(CauseOf([&] { ar.Write(three, 1); }), CArchiveException::readOnly);
        EXPECT_EQ(CauseOf([&] { Next<int>(ar); }), CArchiveException::endOfFile);
        EXPECT_EQ(CauseOf([&] { ar.FillBuffer(9); }), CArchiveException::bufferFull);
        EXPECT_EQ(Next<short>(ar), 0x0201); // a failed extraction consumes nothing
        EXPECT_EQ(CauseOf([&] { ar.ReadCount(); }), CArchiveException::endOfFile);
        BYTE block[10] = {};
        EXPECT_EQ(ar.Read(block, 10), 1U);
        EXPECT_EQ(block[0], 3);
        EXPECT_EQ(ar.Read(block, 10), 0U);
    }
    CArchive ar(&file, CArchive::store);
    EXPECT_EQ(CauseOf([&] { Next<double>(ar); }), CArchiveException::writeOnly);
    EXPECT_EQ(CauseOf([&] { ar.Read(three, 1); }), CArchiveException::writeOnly);
    ar.Close();
    EXPECT_EQ(CauseOf([&] { ar << 1; }), CArchiveException::genericException);

    BYTE marker[] = {0xFF, 0xFF, 1, 2}; // announces a 32-bit count that is not there
    CMemFile count(marker, 4);
    CArchive truncated(&count, CArchive::load);
    EXPECT_EQ(CauseOf([&] { truncated.ReadCount(); }), CArchiveException::endOfFile);
}

TEST(Archive, ValuesStraddleBufferRefillsWithTheSmallestBuffer) {
    const auto write = [](CArchive& ar) {
        const BYTE block[20] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        for (int k = 0; k < 40; ++k) {
            ar << static_cast<BYTE>(k) << k * 0.5 << static_cast<short>(-k) << -k * 3LL
               << static_cast<float>(k);
            ar.Write(block, static_cast<UINT>(k % 21));
            ar.WriteCount(static_cast<DWORD_PTR>(k) * 0x7FFFFFFF);
        }
    };
    const Bytes expected = Stored(write);
    EXPECT_EQ(Stored(write, 3), expected); // raised to the 8-byte minimum

    for (const bool lends : {true, false}) { // read in place, or copied through the buffer
        for (int bufSize : {8, 9, 13, 4096}) {
            Bytes input = expected;
            CopyingMemFile file(input.data(), static_cast<UINT>(input.size()), lends);
            CArchive ar(&file, CArchive::load, bufSize);
            for (int k = 0; k < 40; ++k) {
                ASSERT_EQ(Next<BYTE>(ar), k) << bufSize << " lends " << lends;
                ASSERT_EQ(Next<double>(ar), k * 0.5);
                ASSERT_EQ(Next<short>(ar), -k);
                ASSERT_EQ(Next<long long>(ar), -k * 3LL);
                ASSERT_EQ(Next<float>(ar), static_cast<float>(k));
                BYTE block[20] = {};
                ASSERT_EQ(ar.Read(block, static_cast<UINT>(k % 21)), static_cast<UINT>(k % 21));
                ASSERT_EQ(block[0], k % 21 == 0 ? 0 : 9);
                ASSERT_EQ(ar.ReadCount(), static_cast<DWORD_PTR>(k) * 0x7FFFFFFF);
            }
            EXPECT_EQ(CauseOf([&] { Next<BYTE>(ar); }), CArchiveException::endOfFile);
            ar.Flush(); // nothing unread is left: the file is at its end
            EXPECT_EQ(file.GetPosition(), input.size());
        }
    }
}

TEST(Archive, ClosingFlushesButAbortAndNoFlushOnDeleteDoNot) {
    CMemFile flushed;
    CMemFile kept;
    CMemFile aborted;
    {
        CArchive a(&flushed, CArchive::store);
        CArchive b(&kept, CArchive::store | CArchive::bNoFlushOnDelete);
        CArchive c(&aborted, CArchive::store);
        a << 1;
        b << 1;
        c << 1;
        c.Abort();
    }
    EXPECT_EQ(flushed.GetLength(), 4U);
    EXPECT_EQ(kept.GetLength(), 0U);
    EXPECT_EQ(aborted.GetLength(), 0U);

    // Flushing a loading archive gives its read-ahead back to the file, also when the
    // archive read the file's memory in place.
    CArchive ar(&flushed, CArchive::load);
    flushed.SeekToBegin();
    Next<short>(ar);
    ar.Flush();
    EXPECT_EQ(flushed.GetPosition(), 2U);
    EXPECT_EQ(Next<short>(ar), 0);
    EXPECT_EQ(CauseOf([&] { Next<BYTE>(ar); }), CArchiveException::endOfFile);
    EXPECT_EQ(flushed.GetPosition(), 4U);
}
