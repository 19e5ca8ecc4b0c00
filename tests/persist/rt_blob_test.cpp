#include "plinth/persist/rt_blob.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/file.h"
#include "plinth/platform/memfile.h"
#include "plinth/platform/safearray.h"

#include "support/archive_bytes.h"
#include "support/xml_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using namespace plinth;
using plinth::testing::Bytes;
using plinth::testing::Pass;

namespace {

Bytes BytesOf(const RtBlob& b) {
    return b.m_pData == nullptr ? Bytes() : Bytes(b.m_pData, b.m_pData + b.m_nSize);
}

// A blob owning a copy of bytes, in a buffer of exactly that size (so reads past it fault).
RtBlob Owned(const Bytes& bytes) {
    return RtBlob(bytes.data(), static_cast<ULONG>(bytes.size()), true);
}

// Inject as a literal model over a vector of bits.
Bytes InjectModel(Bytes target, const Bytes& source) {
    const auto n = static_cast<long long>(target.size()) * 8;
    const auto r = static_cast<float>(static_cast<double>(target.size()) / source.size());
    long long previous = -1;
    for (int i = 0; i < static_cast<int>(source.size()) * 8; ++i) {
        long long j = static_cast<long long>(static_cast<float>(i) * r);
        j = j == previous ? previous + 1 : j;
        if (j < n) {
            const int bit = (source[i / 8] >> (i % 8)) & 1;
            auto& byte = target[static_cast<std::size_t>(j / 8)];
            byte = static_cast<BYTE>(bit != 0 ? byte | (1u << (j % 8)) : byte & ~(1u << (j % 8)));
        }
        previous = j;
    }
    return target;
}

} // namespace

// ---- Construction and ownership

TEST(RtBlob, ConstructorsAllocateZerosCopyOrView) {
    RtBlob five(5);
    EXPECT_EQ(BytesOf(five), Bytes(5, 0));
    const RtBlob none(0); // the size, not null hexadecimal text
    EXPECT_EQ(none.m_nSize, 0u);
    EXPECT_EQ(none.m_pData, nullptr);
    EXPECT_EQ(RtBlob(nullptr).m_pData, nullptr);

    BYTE bytes[] = {1, 2, 3};
    const RtBlob view(3, bytes);
    EXPECT_EQ(view.m_pData, bytes);
    RtBlob copy(bytes, 3, false);
    EXPECT_NE(copy.m_pData, bytes);
    EXPECT_EQ(BytesOf(copy), Bytes({1, 2, 3}));
    EXPECT_EQ(RtBlob(static_cast<const unsigned char*>(nullptr), 0, true).m_pData, nullptr);

    RtBlob hex("0aFF");
    EXPECT_EQ(BytesOf(hex), Bytes({0x0A, 0xFF}));
    const RtBlob bad("0Z");
    EXPECT_EQ(bad.m_nSize, 0u);
    EXPECT_EQ(bad.m_pData, nullptr);
    for (RtBlob* b : {&five, &copy, &hex}) {
        b->Delete();
    }
}

TEST(RtBlob, CopiesShareBytesAndOnlyDeleteFrees) {
    RtBlob holder(4);
    {
        RtBlob copy(holder);
        RtBlob assigned;
        assigned = copy;
        RtBlob shallow;
        shallow.CopyShallow(assigned);
        shallow.m_pData[2] = 7;
    } // three handles gone, nothing freed
    EXPECT_EQ(BytesOf(holder), Bytes({0, 0, 7, 0}));

    RtBlob kept = holder;
    kept.DeleteData(); // frees, fields stay
    EXPECT_EQ(kept.m_nSize, 4u);
    EXPECT_EQ(kept.m_pData, holder.m_pData);

    RtBlob handed(3);
    unsigned char* p = handed.Reset();
    EXPECT_EQ(handed.m_nSize, 0u);
    EXPECT_EQ(handed.m_pData, nullptr);
    handed.Delete(); // nothing left to free
    delete[] p;
}

TEST(RtBlob, ReplacingOperationsFreeTheOldBuffer) {
    // Run with leak detection: each step must release what the one before allocated.
    RtBlob b(8);
    const unsigned char* first = b.m_pData;
    b.SetSize(3); // shrinking keeps the buffer
    EXPECT_EQ(b.m_pData, first);
    b.SetSize(8); // growing replaces it
    EXPECT_NE(b.m_pData, first);
    b.Allocate();
    b.Set("text");
    b.StringToBinary("0102");
    Bytes ten(10, 1);
    b.Copy(RtBlob(10, ten.data()));
    EXPECT_EQ(BytesOf(b), ten);
    b.Copy(RtBlob()); // size 0, buffer kept...
    EXPECT_EQ(b.m_nSize, 0u);
    EXPECT_NE(b.m_pData, nullptr);
    b.Delete(); // ...and still freed here
    EXPECT_EQ(b.m_pData, nullptr);
}

TEST(RtBlob, GrowingAfterAnEmptyCopyNeverReusesTheShortBuffer) {
    RtBlob b(2);
    b.Copy(RtBlob());
    const Bytes big(64, 9);
    b.Copy(RtBlob(64, const_cast<BYTE*>(big.data()))); // would overrun a 2-byte buffer
    EXPECT_EQ(BytesOf(b), big);
    b.SetSize(0);
    b.SetSize(32);
    EXPECT_EQ(b.m_nSize, 32u);
    b.m_pData[31] = 1;
    b.Delete();
}

TEST(RtBlob, CopyFromAViewOfItselfReadsBeforeFreeing) {
    RtBlob b = Owned({2, 0, 0, 0, 5, 6, 7});
    const RtBlob inner = b.GetInnerBlob();
    RtBlob target = Owned({1});
    target.Copy(inner);
    EXPECT_EQ(BytesOf(target), Bytes({5, 6}));
    b.Copy(b.GetOuterBlob()); // fits: copied within the buffer
    EXPECT_EQ(BytesOf(b), Bytes({7}));
    b.Delete();
    target.Delete();
}

TEST(RtBlob, SizesBeyond32BitsRaiseAndLeaveTheBlobAsItWas) {
    BYTE byte = 0;
    const RtBlob huge(0xFFFFFFFFu, &byte); // never read: the size check comes first
    const RtBlob one(1, &byte);
    EXPECT_THROW(huge + one, CMemoryException);
    EXPECT_THROW(one * huge, CMemoryException);

    RtBlob b = Owned({1, 2});
    const RtBlob before = b;
    CMemFile file;
    EXPECT_THROW(b.ReadNonVirt(file, 0xFFFFFFF0u, 0x20), CMemoryException);
    EXPECT_EQ(b.m_pData, before.m_pData);
    EXPECT_EQ(b.m_nSize, 2u);
    b.Delete();
}

// ---- Copying in and out

TEST(RtBlob, LengthPrefixedCopyIsLittleEndian) {
    RtBlob b = Owned({0xAA, 0xBB});
    Bytes out(8, 0xEE);
    b.CopyTo(out.data());
    EXPECT_EQ(out, Bytes({2, 0, 0, 0, 0xAA, 0xBB, 0xEE, 0xEE}));
    RtBlob view;
    view.Copy(out.data());
    EXPECT_EQ(view.m_pData, out.data() + 4);
    EXPECT_EQ(view.m_nSize, 2u);

    Bytes untouched(4, 0xEE);
    RtBlob().CopyTo(untouched.data());
    EXPECT_EQ(untouched, Bytes(4, 0xEE));
    view.Copy(static_cast<unsigned char*>(nullptr));
    EXPECT_EQ(view.m_nSize, 2u);
    b.Delete();
}

TEST(RtBlob, CopyDataAndSetStayInsideTheBuffer) {
    RtBlob b(3);
    const Bytes source = {1, 2, 3, 4, 5};
    b.CopyData(source.data(), 5); // clamped to the 3 bytes held
    EXPECT_EQ(BytesOf(b), Bytes({1, 2, 3}));
    b.CopyData(source.data() + 2);
    EXPECT_EQ(BytesOf(b), Bytes({3, 4, 5}));
    b.Set("ab");
    EXPECT_EQ(BytesOf(b), Bytes({0x61, 0x62, 0x00}));
    b.Set(nullptr);
    EXPECT_EQ(b.m_nSize, 3u);
    b.Delete();
}

TEST(RtBlob, SafeArrayRoundTripAndRefusals) {
    RtBlob b = Owned({9, 8, 7});
    SAFEARRAY* psa = nullptr;
    ASSERT_TRUE(b.CopyTo(&psa));
    EXPECT_EQ(SafeArrayGetDim(psa), 1u);
    EXPECT_EQ(SafeArrayGetElemsize(psa), 1u);
    LONG lower = -1;
    SafeArrayGetLBound(psa, 1, &lower);
    EXPECT_EQ(lower, 0);
    RtBlob back;
    EXPECT_TRUE(back.Copy(&psa));
    EXPECT_EQ(BytesOf(back), Bytes({9, 8, 7}));
    EXPECT_EQ(psa->cLocks, 0u);
    EXPECT_EQ(SafeArrayDestroy(psa), S_OK);

    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    SAFEARRAY* flat = SafeArrayCreate(VT_UI1, 2, bounds);
    SAFEARRAY* wide = SafeArrayCreate(VT_I2, 1, bounds);
    SAFEARRAY* none = nullptr;
    for (SAFEARRAY** refused : {&flat, &wide, &none, static_cast<SAFEARRAY**>(nullptr)}) {
        EXPECT_FALSE(back.Copy(refused));
    }
    EXPECT_EQ(BytesOf(back), Bytes({9, 8, 7}));
    SafeArrayDestroy(flat);
    SafeArrayDestroy(wide);

    SAFEARRAY* empty = nullptr;
    ASSERT_TRUE(RtBlob().CopyTo(&empty));
    EXPECT_TRUE(back.Copy(&empty));
    EXPECT_EQ(back.m_nSize, 0u);
    SafeArrayDestroy(empty);
    back.Delete();
    b.Delete();
}

// ---- Hexadecimal text

TEST(RtBlob, HexTextBothWays) {
    RtBlob b = Owned({0x00, 0xAB, 0x10});
    EXPECT_EQ(b.ToCString(), "00AB10");
    int len = -1;
    char* text = b.ToString(len);
    EXPECT_STREQ(text, "00AB10");
    EXPECT_EQ(len, 6);
    delete[] text;
    len = -1;
    EXPECT_EQ(RtBlob().ToString(len), nullptr);
    EXPECT_EQ(len, -1);
    EXPECT_EQ(RtBlob(2, nullptr).ToCString(), "");

    struct Case {
        const char* hex;
        bool ok;
        Bytes bytes;
    };
    const Case cases[] = {
        {"ABC", true, {0xAB}},    // the odd digit is ignored
        {"ab01", true, {0xAB, 1}}, // either case reads
        {"", true, {}},
        {"ZZ", false, {}},
        {"01G0", false, {}}, // a bad digit after good ones still empties the blob
    };
    for (const Case& c : cases) {
        EXPECT_EQ(b.StringToBinary(c.hex), c.ok) << c.hex;
        EXPECT_EQ(BytesOf(b), c.bytes) << c.hex;
        if (!c.ok) {
            EXPECT_EQ(b.m_pData, nullptr);
            EXPECT_EQ(b.m_nSize, 0u);
        }
    }
    EXPECT_FALSE(b.StringToBinary(nullptr));
    b.Delete();
}

// ---- Addressing and search

TEST(RtBlob, AddressingAnswersOnlyInsideTheBlob) {
    RtBlob b = Owned({1, 2, 3, 4});
    unsigned char* p = b.m_pData;
    EXPECT_TRUE(b.In(p + 3));
    EXPECT_FALSE(b.In(p + 4));
    EXPECT_FALSE(b.In(p - 1));
    EXPECT_EQ(b.GetEnd(), p + 4);
    EXPECT_EQ(b.GetPointer(3), p + 3);
    EXPECT_EQ(b.GetPointer(4), nullptr);
    EXPECT_EQ(b.GetOffset(p + 2), 2u);
    EXPECT_EQ(b.GetOffset(p + 4), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetLength(p + 1), 3u);
    EXPECT_EQ(b.GetLength(nullptr), 0xFFFFFFFFu);
    EXPECT_EQ(b.FindChar(3, 1), p + 2);
    EXPECT_EQ(b.FindChar(1, 1), nullptr);
    EXPECT_EQ(b.FindChar(1, 4), nullptr);
    const RtBlob empty;
    EXPECT_EQ(empty.GetEnd(), nullptr);
    EXPECT_EQ(empty.GetOffset(p), 0xFFFFFFFFu);
    b.Delete();
}

TEST(RtBlob, FindDataRestartsOneByteAfterEachCandidate) {
    RtBlob hay = Owned({'A', 'A', 'A', 'B', 'x', 'A', 'B'});
    struct Case {
        Bytes pattern;
        int offset; // -1 for none
    };
    const Case cases[] = {
        {{'A', 'A', 'B'}, 1}, // the first candidate fails at its third byte
        {{'A', 'B'}, 2},
        {{'x', 'A', 'B'}, 4},
        {{'B', 'x', 'A', 'B', 'y'}, -1}, // would run past the end
        {{'A', 'B', 'A'}, -1},
        {{}, -1},
    };
    for (const Case& c : cases) {
        RtBlob pattern = Owned(c.pattern);
        unsigned char* found = hay.FindData(pattern);
        EXPECT_EQ(found == nullptr ? -1 : static_cast<int>(found - hay.m_pData), c.offset);
        pattern.Delete();
    }
    RtBlob a = Owned({'A'});
    EXPECT_EQ(RtBlob().FindData(a), nullptr);
    a.Delete();
    hay.Delete();
}

TEST(RtBlob, SameDataAndZeros) {
    RtBlob a = Owned({1, 2});
    RtBlob b = Owned({1, 2});
    RtBlob c = Owned({1, 3});
    EXPECT_TRUE(a.IsSameData(b));
    EXPECT_FALSE(a.IsSameData(c));
    EXPECT_FALSE(a.IsSameData(RtBlob(1, a.m_pData)));
    EXPECT_TRUE(RtBlob().IsSameData(RtBlob(0, a.m_pData)));
    EXPECT_FALSE(RtBlob(2, nullptr).IsSameData(a));
    const BYTE zeros[] = {0, 0, 1};
    EXPECT_TRUE(RtBlob::IsAllZeros(nullptr, 5));
    EXPECT_TRUE(RtBlob::IsAllZeros(zeros, 0));
    EXPECT_TRUE(RtBlob::IsAllZeros(zeros, 2));
    EXPECT_FALSE(RtBlob::IsAllZeros(zeros, 3));
    for (RtBlob* x : {&a, &b, &c}) {
        x->Delete();
    }
}

// ---- Composition

TEST(RtBlob, EmbeddedFormatNestsAndUnpacks) {
    RtBlob a = Owned({1, 2});
    RtBlob b = Owned({3});
    RtBlob nested = a * b;
    EXPECT_EQ(BytesOf(nested), Bytes({2, 0, 0, 0, 1, 2, 3}));
    EXPECT_EQ(BytesOf(nested.GetInnerBlob()), Bytes({1, 2}));
    EXPECT_EQ(BytesOf(nested.GetOuterBlob()), Bytes({3}));
    RtBlob sum = a + b;
    EXPECT_EQ(BytesOf(sum), Bytes({1, 2, 3}));
    RtBlob noInner = RtBlob() * b;
    EXPECT_EQ(BytesOf(noInner), Bytes({0, 0, 0, 0, 3}));
    EXPECT_EQ(noInner.GetInnerBlob().m_pData, nullptr);
    EXPECT_EQ(BytesOf(noInner.GetOuterBlob()), Bytes({3}));

    RtBlob outer = b;
    outer.Embed(a); // outer takes a * b; b's buffer is still b's to free
    EXPECT_EQ(BytesOf(outer), BytesOf(nested));
    for (RtBlob* x : {&a, &b, &nested, &sum, &noInner, &outer}) {
        x->Delete();
    }
}

TEST(RtBlob, CorruptLengthPrefixGivesEmptyViews) {
    struct Case {
        Bytes bytes;
        bool inner;
        bool outer;
    };
    const Case cases[] = {
        {{0xFE, 0xFF, 0xFF, 0xFF, 1, 2}, false, false}, // L + 4 wraps to 2 in 32 bits
        {{3, 0, 0, 0, 1, 2}, false, false},             // one byte short
        {{2, 0, 0, 0, 1, 2}, true, true},               // exact: empty outer
        {{0, 0, 0, 0, 1}, false, true},                 // no inner
        {{1, 0, 0}, false, false},                      // no room for a length
    };
    for (const Case& c : cases) {
        RtBlob b = Owned(c.bytes);
        const RtBlob inner = b.GetInnerBlob();
        const RtBlob outer = b.GetOuterBlob();
        EXPECT_EQ(inner.m_pData != nullptr, c.inner);
        EXPECT_EQ(outer.m_pData != nullptr, c.outer);
        EXPECT_LE(ULONGLONG{inner.m_nSize} + outer.m_nSize + 4, std::max<ULONGLONG>(b.m_nSize, 4));
        if (c.outer) {
            EXPECT_EQ(outer.GetEnd(), b.GetEnd());
        }
        b.Delete();
    }
}

// ---- Bits

TEST(RtBlob, BitViewsShareTheBytes) {
    RtBlob b(2);
    RtBitArray bits = b.GetBits();
    EXPECT_EQ(bits.m_nBits, 16);
    bits.Set(9, true);
    EXPECT_EQ(BytesOf(b), Bytes({0x00, 0x02}));
    BYTE raw[] = {0xF0, 0x0F, 0x55};
    b.Copy(RtBitArray(raw, 17));
    EXPECT_EQ(BytesOf(b), Bytes({0xF0, 0x0F, 0x55}));
    b.Delete();
}

TEST(RtBlob, InjectSpreadsBitsAtTheSinglePrecisionRatio) {
    RtBlob target = Owned({0xAA, 0xAA});
    RtBlob source = Owned({0x05});
    target.Inject(source); // bit i goes to bit 2i, odd bits keep their value
    EXPECT_EQ(BytesOf(target), Bytes({0xBB, 0xAA}));
    const Bytes before = BytesOf(target);
    target.Inject(RtBlob());
    RtBlob larger(3);
    target.Inject(larger);
    EXPECT_EQ(BytesOf(target), before);

    std::mt19937 random(12);
    for (int round = 0; round < 200; ++round) {
        Bytes to(1 + random() % 40);
        Bytes from(1 + random() % to.size());
        for (BYTE& x : to) x = static_cast<BYTE>(random());
        for (BYTE& x : from) x = static_cast<BYTE>(random());
        RtBlob t = Owned(to);
        RtBlob s = Owned(from);
        t.Inject(s);
        EXPECT_EQ(BytesOf(t), InjectModel(to, from)) << to.size() << " " << from.size();
        t.Delete();
        s.Delete();
    }
    for (RtBlob* x : {&target, &source, &larger}) {
        x->Delete();
    }
}

TEST(RtBlob, InjectPastSinglePrecisionNeverWritesBeyondTheEnd) {
    // At 2^24 bits the index rounds: collisions move up one, and the last index lands one
    // past the end, where nothing may be written.
    const std::size_t n = (std::size_t{1} << 21) + 1;
    const Bytes to(n, 0x00);
    const Bytes from(n, 0xFF);
    RtBlob t = Owned(to);
    RtBlob s = Owned(from);
    t.Inject(s);
    const Bytes expected = InjectModel(to, from);
    EXPECT_EQ(BytesOf(t), expected);
    EXPECT_NE(expected, from); // rounding skipped some bits
    t.Delete();
    s.Delete();
}

TEST(RtBlob, SwapEndianReversesWholeWordsOnly) {
    for (ULONG n = 0; n <= 9; ++n) {
        Bytes bytes(n);
        for (ULONG i = 0; i < n; ++i) {
            bytes[i] = static_cast<BYTE>(i + 1);
        }
        Bytes expected = bytes;
        for (ULONG i = 0; i + 4 <= n; i += 4) {
            std::reverse(expected.begin() + i, expected.begin() + i + 4);
        }
        RtBlob b = Owned(bytes);
        b.SwapEndianBytes();
        EXPECT_EQ(BytesOf(b), expected) << n;
        b.Delete();
    }
    RtBlob::SwapEndianBytes(nullptr, 8);
}

// ---- Files

namespace {

class BlobFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(::mkdtemp(m_dir.data()), nullptr);
        m_path = m_dir + "/blob";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string m_dir = (std::filesystem::temp_directory_path() / "plinth-blob-XXXXXX").string();
    std::string m_path;
};

} // namespace

TEST_F(BlobFile, WritingCreatesOrOverwritesWithoutTruncating) {
    RtBlob b;
    b.Set("abcdef");
    const CString path(m_path.c_str());
    EXPECT_TRUE(b.Write(path)); // created
    EXPECT_EQ(Get(m_path), std::string("abcdef", 7));
    RtBlob shorter;
    shorter.Set("XY");
    EXPECT_TRUE(shorter.WriteNonVirt(path)); // the tail stays
    EXPECT_EQ(Get(m_path), std::string("XY\0def", 7));
    EXPECT_FALSE(b.Write(CString((m_dir + "/missing/blob").c_str())));
    b.Delete();
    shorter.Delete();
}

TEST_F(BlobFile, ReadingTakesTheWholeFileOrACountAtAnOffset) {
    std::ofstream(m_path, std::ios::binary) << "12345";
    const CString path(m_path.c_str());
    RtBlob b(1);
    EXPECT_TRUE(b.Read(path));
    EXPECT_EQ(BytesOf(b), Bytes({'1', '2', '3', '4', '5'}));

    {
        CFile f(m_path.c_str(), CFile::modeRead);
        f.Seek(1, CFile::begin);
        EXPECT_EQ(b.ReadNonVirt(f, 2, 3), 3u);
        EXPECT_EQ(BytesOf(b), Bytes({0, 0, '2', '3', '4'}));
        f.Seek(3, CFile::begin);
        EXPECT_EQ(b.Read(f), 2); // the length is asked for, the end gives less
        EXPECT_EQ(BytesOf(b), Bytes({'4', '5'}));
    }
    EXPECT_TRUE(b.ReadNonVirt(path, 1, 0));
    EXPECT_EQ(BytesOf(b), Bytes({0, '1', '2', '3', '4', '5'}));

    const unsigned char* kept = b.m_pData;
    EXPECT_FALSE(b.Read(CString((m_dir + "/missing").c_str())));
    EXPECT_FALSE(b.ReadNonVirt(CString((m_dir + "/missing").c_str()), 0, 0));
    EXPECT_EQ(b.m_pData, kept);

    std::ofstream(m_path, std::ios::binary | std::ios::trunc).flush();
    EXPECT_TRUE(b.Read(path));
    EXPECT_EQ(b.m_nSize, 0u);
    EXPECT_EQ(b.m_pData, nullptr);
}

// ---- Binary archive

TEST(RtBlob, SerializeWritesTheSizeThenTheBytes) {
    RtBlob empty;
    EXPECT_EQ(plinth::testing::StoredObject(empty), Bytes({0, 0, 0, 0}));
    RtBlob b = Owned({7, 8, 9});
    const Bytes stored = plinth::testing::StoredObject(b);
    EXPECT_EQ(stored, Bytes({3, 0, 0, 0, 7, 8, 9}));

    for (const Bytes& bytes : {stored, Bytes({0, 0, 0, 0})}) {
        CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load, 8);
        RtBlob loaded(5); // its buffer is freed by the load
        loaded.Serialize(ar);
        EXPECT_EQ(BytesOf(loaded), Bytes(bytes.begin() + 4, bytes.end()));
        EXPECT_EQ(loaded.m_pData == nullptr, bytes.size() == 4);
        loaded.Delete();
    }
    b.Delete();
}

TEST(RtBlob, SerializeRoundTripsAcrossReadChunks) {
    Bytes big((3u << 20) + 5);
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<BYTE>(i * 31);
    }
    RtBlob b(static_cast<ULONG>(big.size()), big.data());
    Bytes stored = plinth::testing::StoredObject(b);
    CMemFile file(stored.data(), static_cast<UINT>(stored.size()));
    CArchive ar(&file, CArchive::load);
    RtBlob loaded;
    loaded.Serialize(ar);
    EXPECT_TRUE(loaded.IsSameData(b));
    loaded.Delete();
}

TEST(RtBlob, ForgedArchiveSizeRaisesEndOfFileAndKeepsTheBlob) {
    const ULONG claims[] = {20, 0xFFFFFFFFu, (5u << 20)};
    for (const ULONG claim : claims) {
        Bytes bytes = {static_cast<BYTE>(claim), static_cast<BYTE>(claim >> 8),
                       static_cast<BYTE>(claim >> 16), static_cast<BYTE>(claim >> 24)};
        bytes.resize(4 + (claim == (5u << 20) ? (3u << 20) : 10), 0x11);
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        RtBlob b = Owned({1, 2});
        const RtBlob before = b;
        int cause = -1;
        try {
            b.Serialize(ar);
        } catch (const CArchiveException& e) {
            cause = e.m_cause;
        }
        EXPECT_EQ(cause, CArchiveException::endOfFile) << claim;
        EXPECT_EQ(b.m_pData, before.m_pData);
        EXPECT_EQ(BytesOf(b), Bytes({1, 2}));
        b.Delete();
    }
}

// ---- XML

TEST(RtBlob, XmlLayoutWithAndWithoutIndentation) {
    for (const bool tabs : {true, false}) {
        Pass pass(PC::eStoring, "<R/>", tabs);
        RtBlob b = Owned({0x0A, 0xFF});
        EXPECT_TRUE(b.PersistXML(pass.ar));
        RtBlob empty;
        EXPECT_TRUE(empty.PersistXML(pass.ar));
        pass.ar.PopElement(false);
        EXPECT_EQ(pass.doc->xml(),
                  tabs ? "<R>\n\t<Bl>\n\t\t<Sz>2</Sz>\n\t\t<Dt>0AFF</Dt>\n\t</Bl>"
                         "\n\t<Bl>\n\t\t<Sz>0</Sz>\n\t</Bl>\n</R>"
                       : "<R><Bl><Sz>2</Sz><Dt>0AFF</Dt></Bl><Bl><Sz>0</Sz></Bl></R>");

        Pass load(PC::eLoading, pass.doc->xml(), tabs);
        ASSERT_TRUE(load.ar.PersistElement("Bl"));
        RtBlob back(7); // emptied first
        EXPECT_TRUE(back.PersistXML(load.ar));
        EXPECT_TRUE(back.IsSameData(b));
        back.Delete();
        b.Delete();
    }
}

TEST(RtBlob, XmlLoadRefusesOrRecoversFromBadInput) {
    struct Case {
        const char* xml;
        bool ok;
        Bytes bytes;
    };
    const Case cases[] = {
        {"<Bl><Sz>2</Sz><Dt>0aff</Dt></Bl>", true, {0x0A, 0xFF}},
        {"<bl><Sz>2</Sz><Dt>0AFF</Dt></bl>", false, {}},  // names are case-sensitive
        {"<Bl><Dt>0AFF</Dt></Bl>", false, {}},            // no size
        {"<Bl><Sz>-1</Sz><Dt>0AFF</Dt></Bl>", false, {}}, // not 4 GiB
        {"<Bl><Sz>0</Sz></Bl>", false, {}},
        {"<Bl><Sz>3</Sz></Bl>", false, {}},               // a size without bytes
        {"<Bl><Sz>3</Sz><Dt>0A</Dt></Bl>", true, {0x0A, 0, 0}}, // short text: zeros
        {"<Bl><Sz>2</Sz><Dt>0AZZ</Dt></Bl>", true, {0x0A, 0}},  // bad digit: zeros
    };
    for (const Case& c : cases) {
        Pass pass(PC::eLoading, c.xml);
        RtBlob b(4);
        EXPECT_EQ(b.PersistXML(pass.ar), c.ok) << c.xml;
        EXPECT_EQ(BytesOf(b), c.bytes) << c.xml;
        EXPECT_EQ(b.m_pData == nullptr, c.bytes.empty()) << c.xml;
        b.Delete();
    }

    Pass nothing(PC::eLoading);
    nothing.ar.PopElement();
    RtBlob b;
    EXPECT_FALSE(b.PersistXML(nothing.ar));

    Pass undecided(PC::eUndecided);
    RtBlob kept = Owned({1});
    EXPECT_TRUE(kept.PersistXML(undecided.ar));
    EXPECT_EQ(undecided.doc->xml(), "<R/>");
    EXPECT_EQ(BytesOf(kept), Bytes({1}));
    kept.Delete();
}
