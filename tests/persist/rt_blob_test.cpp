#include "support/archive_bytes.h"
#include "support/private_tmpdir.h"
#include "support/xml_pass.h"

#include "plinth/persist/rt_blob.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/file.h"
#include "plinth/platform/memfile.h"
#include "plinth/platform/safearray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <numeric>
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

// A blob that frees its bytes when it goes; from bytes, it owns a buffer of exactly that size
// (so reads past it fault).
struct Own : RtBlob {
    explicit Own(const RtBlob& b)
        : RtBlob(b) {}
    explicit Own(const Bytes& b)
        : RtBlob(b.data(), static_cast<ULONG>(b.size()), true) {}
    Own(const Own&) = delete;
    Own& operator=(const Own&) = delete;
    ~Own() override { Delete(); }
};

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
    EXPECT_EQ(BytesOf(Own(RtBlob(5))), Bytes(5, 0));
    const RtBlob none(0); // the size, not null hexadecimal text
    EXPECT_EQ(none.m_nSize, 0u);
    EXPECT_EQ(none.m_pData, nullptr);

    BYTE bytes[] = {1, 2, 3};
    EXPECT_EQ(RtBlob(3, bytes).m_pData, bytes);
    Own copy(RtBlob(bytes, 3, false));
    EXPECT_NE(copy.m_pData, bytes);
    EXPECT_EQ(BytesOf(copy), Bytes({1, 2, 3}));
    EXPECT_EQ(RtBlob(static_cast<const unsigned char*>(nullptr), 0, true).m_pData, nullptr);

    EXPECT_EQ(BytesOf(Own(RtBlob("0aFF"))), Bytes({0x0A, 0xFF}));
    const RtBlob bad("0Z");
    EXPECT_EQ(bad.m_nSize, 0u);
    EXPECT_EQ(bad.m_pData, nullptr);
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

    Own handed(RtBlob(3));
    unsigned char* p = handed.Reset();
    EXPECT_EQ(handed.m_nSize, 0u);
    EXPECT_EQ(handed.m_pData, nullptr);
    delete[] p;
}

TEST(RtBlob, ReplacingOperationsFreeTheOldBufferAndNeverReuseAShortOne) {
    // Run with leak detection: each step must release what the one before allocated.
    Own b(RtBlob(8));
    const unsigned char* first = b.m_pData;
    b.SetSize(3); // shrinking keeps the buffer
    EXPECT_EQ(b.m_pData, first);
    b.SetSize(8); // growing replaces it
    EXPECT_NE(b.m_pData, first);
    b.Allocate();
    b.Set("text");
    b.StringToBinary("0102");
    b.Copy(RtBlob()); // size 0, buffer kept and freed later
    EXPECT_EQ(b.m_nSize, 0u);
    EXPECT_NE(b.m_pData, nullptr);
    const Bytes big(64, 9);
    b.Copy(RtBlob(64, const_cast<BYTE*>(big.data()))); // would overrun the old buffer
    EXPECT_EQ(BytesOf(b), big);
    b.SetSize(0);
    b.SetSize(32);
    EXPECT_EQ(b.m_nSize, 32u);
    b.m_pData[31] = 1;
    b.Delete();
    EXPECT_EQ(b.m_pData, nullptr);
}

TEST(RtBlob, CopyFromAViewOfItselfReadsBeforeFreeing) {
    Own b(Bytes{2, 0, 0, 0, 5, 6, 7});
    Own target(Bytes{1});
    target.Copy(b.GetInnerBlob());
    EXPECT_EQ(BytesOf(target), Bytes({5, 6}));
    b.Copy(b.GetOuterBlob()); // fits: copied within the buffer
    EXPECT_EQ(BytesOf(b), Bytes({7}));
}

TEST(RtBlob, SizesBeyond32BitsRaiseAndLeaveTheBlobAsItWas) {
    BYTE byte = 0;
    const RtBlob huge(0xFFFFFFFFu, &byte); // never read: the size check comes first
    const RtBlob one(1, &byte);
    EXPECT_THROW(huge + one, CMemoryException);
    EXPECT_THROW(one * huge, CMemoryException);

    Own b(Bytes{1, 2});
    const unsigned char* before = b.m_pData;
    CMemFile file;
    EXPECT_THROW(b.ReadNonVirt(file, 0xFFFFFFF0u, 0x20), CMemoryException);
    EXPECT_EQ(b.m_pData, before);
    EXPECT_EQ(b.m_nSize, 2u);
}

// ---- Copying in and out

TEST(RtBlob, LengthPrefixedCopyIsLittleEndianAndCopyDataIsClamped) {
    Own b(Bytes{0xAA, 0xBB});
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

    Own three(RtBlob(3));
    const Bytes source = {1, 2, 3, 4, 5};
    three.CopyData(source.data(), 5); // clamped to the 3 bytes held
    EXPECT_EQ(BytesOf(three), Bytes({1, 2, 3}));
    three.Set("ab");
    EXPECT_EQ(BytesOf(three), Bytes({0x61, 0x62, 0x00}));
    three.Set(nullptr);
    EXPECT_EQ(three.m_nSize, 3u);
}

TEST(RtBlob, SafeArrayRoundTripAndRefusals) {
    Own b(Bytes{9, 8, 7});
    SAFEARRAY* psa = nullptr;
    ASSERT_TRUE(b.CopyTo(&psa));
    LONG lower = -1;
    SafeArrayGetLBound(psa, 1, &lower);
    EXPECT_EQ(lower, 0);
    Own back{RtBlob()};
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
}

// ---- Hexadecimal text

TEST(RtBlob, HexTextBothWays) {
    Own b(Bytes{0x00, 0xAB, 0x10});
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
        {"ABC", true, {0xAB}},     // the odd digit is ignored
        {"ab01", true, {0xAB, 1}}, // either case reads
        {"", true, {}},
        {"01G0", false, {}}, // a bad digit after good ones still empties the blob
    };
    for (const Case& c : cases) {
        EXPECT_EQ(b.StringToBinary(c.hex), c.ok) << c.hex;
        EXPECT_EQ(BytesOf(b), c.bytes) << c.hex;
        EXPECT_TRUE(c.ok || b.m_pData == nullptr) << c.hex;
    }
    EXPECT_FALSE(b.StringToBinary(nullptr));
}

// ---- Addressing and search

TEST(RtBlob, AddressingAnswersOnlyInsideTheBlob) {
    Own b(Bytes{1, 2, 3, 4});
    unsigned char* p = b.m_pData;
    EXPECT_TRUE(b.In(p + 3));
    EXPECT_FALSE(b.In(p + 4));
    EXPECT_FALSE(b.In(p - 1));
    EXPECT_EQ(b.GetEnd(), p + 4);
    EXPECT_EQ(b.GetPointer(4), nullptr);
    EXPECT_EQ(b.GetOffset(p + 2), 2u);
    EXPECT_EQ(b.GetOffset(p + 4), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetLength(p + 1), 3u);
    EXPECT_EQ(b.GetLength(nullptr), 0xFFFFFFFFu);
    EXPECT_EQ(b.FindChar(3, 1), p + 2);
    EXPECT_EQ(b.FindChar(1, 1), nullptr);
    EXPECT_EQ(b.FindChar(1, 4), nullptr);
    EXPECT_EQ(RtBlob().GetEnd(), nullptr);
    EXPECT_EQ(RtBlob().GetOffset(p), 0xFFFFFFFFu);
}

TEST(RtBlob, FindDataRestartsOneByteAfterEachCandidate) {
    Own hay(Bytes{'A', 'A', 'A', 'B', 'x', 'A', 'B'});
    const std::pair<Bytes, int> cases[] = {
        {{'A', 'A', 'B'}, 1}, // the first candidate fails at its third byte
        {{'x', 'A', 'B'}, 4},  {{'B', 'x', 'A', 'B', 'y'}, -1}, // would run past the end
        {{'A', 'B', 'A'}, -1}, {{}, -1},
    };
    for (const auto& [pattern, offset] : cases) {
        const unsigned char* found = hay.FindData(Own(pattern));
        EXPECT_EQ(found == nullptr ? -1 : static_cast<int>(found - hay.m_pData), offset);
    }
    EXPECT_EQ(RtBlob().FindData(Own(Bytes{'A'})), nullptr);
}

TEST(RtBlob, SameDataAndZeros) {
    Own a(Bytes{1, 2});
    EXPECT_TRUE(a.IsSameData(Own(Bytes{1, 2})));
    EXPECT_FALSE(a.IsSameData(Own(Bytes{1, 3})));
    EXPECT_FALSE(a.IsSameData(RtBlob(1, a.m_pData)));
    EXPECT_TRUE(RtBlob().IsSameData(RtBlob(0, a.m_pData)));
    EXPECT_FALSE(RtBlob(2, nullptr).IsSameData(a));
    const BYTE zeros[] = {0, 0, 1};
    EXPECT_TRUE(RtBlob::IsAllZeros(nullptr, 5));
    EXPECT_TRUE(RtBlob::IsAllZeros(zeros, 2));
    EXPECT_FALSE(RtBlob::IsAllZeros(zeros, 3));
}

// ---- Composition

TEST(RtBlob, EmbeddedFormatNestsAndUnpacks) {
    Own a(Bytes{1, 2});
    Own b(Bytes{3});
    Own nested(a * b);
    EXPECT_EQ(BytesOf(nested), Bytes({2, 0, 0, 0, 1, 2, 3}));
    EXPECT_EQ(BytesOf(nested.GetInnerBlob()), Bytes({1, 2}));
    EXPECT_EQ(BytesOf(nested.GetOuterBlob()), Bytes({3}));
    EXPECT_EQ(BytesOf(Own(a + b)), Bytes({1, 2, 3}));
    Own noInner(RtBlob() * b);
    EXPECT_EQ(BytesOf(noInner), Bytes({0, 0, 0, 0, 3}));
    EXPECT_EQ(noInner.GetInnerBlob().m_pData, nullptr);

    Own outer{RtBlob(b)};
    outer.Embed(a); // outer takes a * b without freeing b's buffer
    EXPECT_EQ(BytesOf(outer), BytesOf(nested));
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
        Own b(c.bytes);
        const RtBlob inner = b.GetInnerBlob();
        const RtBlob outer = b.GetOuterBlob();
        EXPECT_EQ(inner.m_pData != nullptr, c.inner);
        EXPECT_EQ(outer.m_pData != nullptr, c.outer);
        EXPECT_LE(ULONGLONG{inner.m_nSize} + outer.m_nSize + 4, std::max<ULONGLONG>(b.m_nSize, 4));
        EXPECT_TRUE(!c.outer || outer.GetEnd() == b.GetEnd());
    }
}

// ---- Bits

TEST(RtBlob, BitViewsShareTheBytesAndSwapEndianReversesWholeWordsOnly) {
    Own b(RtBlob(2));
    RtBitArray bits = b.GetBits();
    EXPECT_EQ(bits.m_nBits, 16);
    bits.Set(9, true);
    EXPECT_EQ(BytesOf(b), Bytes({0x00, 0x02}));
    BYTE raw[] = {0xF0, 0x0F, 0x55};
    b.Copy(RtBitArray(raw, 17));
    EXPECT_EQ(BytesOf(b), Bytes({0xF0, 0x0F, 0x55}));

    for (ULONG n = 0; n <= 9; ++n) {
        Bytes bytes(n);
        std::iota(bytes.begin(), bytes.end(), BYTE{1});
        Bytes expected = bytes;
        for (ULONG i = 0; i + 4 <= n; i += 4) {
            std::reverse(expected.begin() + i, expected.begin() + i + 4);
        }
        Own swapped(bytes);
        swapped.SwapEndianBytes();
        EXPECT_EQ(BytesOf(swapped), expected) << n;
    }
    RtBlob::SwapEndianBytes(nullptr, 8);
}

TEST(RtBlob, InjectSpreadsBitsAtTheSinglePrecisionRatio) {
    Own target(Bytes{0xAA, 0xAA});
    target.Inject(Own(Bytes{0x05})); // bit i goes to bit 2i, odd bits keep their value
    EXPECT_EQ(BytesOf(target), Bytes({0xBB, 0xAA}));
    target.Inject(RtBlob());
    target.Inject(Own(RtBlob(3))); // larger than the target: ignored
    EXPECT_EQ(BytesOf(target), Bytes({0xBB, 0xAA}));

    std::mt19937 random(12);
    auto fill = [&](Bytes b) {
        std::generate(b.begin(), b.end(), [&] { return static_cast<BYTE>(random()); });
        return b;
    };
    for (int round = 0; round < 200; ++round) {
        const Bytes to = fill(Bytes(1 + random() % 40));
        const Bytes from = fill(Bytes(1 + random() % to.size()));
        Own t(to);
        t.Inject(Own(from));
        EXPECT_EQ(BytesOf(t), InjectModel(to, from)) << to.size() << " " << from.size();
    }

    // At 2^24 bits the index rounds: collisions move up one, and the last index lands one
    // past the end, where nothing may be written.
    const std::size_t n = (std::size_t{1} << 21) + 1;
    const Bytes to(n, 0x00);
    const Bytes from(n, 0xFF);
    Own t(to);
    t.Inject(Own(from));
    const Bytes expected = InjectModel(to, from);
    EXPECT_EQ(BytesOf(t), expected);
    EXPECT_NE(expected, from); // rounding skipped some bits
}

// ---- Files

namespace {

class BlobFile : public plinth::testing::PrivateTmpDir {
protected:
    void SetUp() override {
        PrivateTmpDir::SetUp();
        m_path = m_dir + "/blob";
    }
    std::string Get() const {
        std::ifstream in(m_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string m_path;
};

} // namespace

TEST_F(BlobFile, WritingCreatesOrOverwritesWithoutTruncating) {
    Own b{RtBlob()};
    b.Set("abcdef");
    const CString path(m_path.c_str());
    EXPECT_TRUE(b.Write(path)); // created
    EXPECT_EQ(Get(), std::string("abcdef", 7));
    b.Set("XY");
    EXPECT_TRUE(b.WriteNonVirt(path)); // the tail stays
    EXPECT_EQ(Get(), std::string("XY\0def", 7));
    EXPECT_FALSE(b.Write(CString((m_dir + "/missing/blob").c_str())));
}

TEST_F(BlobFile, ReadingTakesTheWholeFileOrACountAtAnOffset) {
    std::ofstream(m_path, std::ios::binary) << "12345";
    const CString path(m_path.c_str());
    Own b(RtBlob(1));
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

TEST(RtBlob, SerializeWritesTheSizeThenTheBytesAcrossReadChunks) {
    RtBlob empty;
    EXPECT_EQ(plinth::testing::StoredObject(empty), Bytes({0, 0, 0, 0}));
    Own b(Bytes{7, 8, 9});
    EXPECT_EQ(plinth::testing::StoredObject(b), Bytes({3, 0, 0, 0, 7, 8, 9}));

    Bytes big((3u << 20) + 5); // more than one read chunk
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<BYTE>(i * 31);
    }
    for (const Bytes& bytes : {Bytes(), Bytes{7, 8, 9}, big}) {
        RtBlob view(static_cast<ULONG>(bytes.size()), const_cast<BYTE*>(bytes.data()));
        Bytes stored = plinth::testing::StoredObject(view);
        CMemFile file(stored.data(), static_cast<UINT>(stored.size()));
        CArchive ar(&file, CArchive::load, 8);
        Own loaded(RtBlob(5)); // its buffer is freed by the load
        loaded.Serialize(ar);
        EXPECT_EQ(BytesOf(loaded), bytes);
        EXPECT_EQ(loaded.m_pData == nullptr, bytes.empty());
    }
}

TEST(RtBlob, ForgedArchiveSizeRaisesEndOfFileAndKeepsTheBlob) {
    for (const ULONG claim : {20u, 0xFFFFFFFFu, 5u << 20}) {
        Bytes bytes = {static_cast<BYTE>(claim), static_cast<BYTE>(claim >> 8),
                       static_cast<BYTE>(claim >> 16), static_cast<BYTE>(claim >> 24)};
        bytes.resize(4 + (claim == (5u << 20) ? (3u << 20) : 10), 0x11);
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        Own b(Bytes{1, 2});
        const unsigned char* before = b.m_pData;
        int cause = -1;
        try {
            b.Serialize(ar);
        } catch (const CArchiveException& e) {
            cause = e.m_cause;
        }
        EXPECT_EQ(cause, CArchiveException::endOfFile) << claim;
        EXPECT_EQ(b.m_pData, before);
        EXPECT_EQ(BytesOf(b), Bytes({1, 2}));
    }
}

// ---- XML

TEST(RtBlob, XmlLayoutWithAndWithoutIndentation) {
    for (const bool tabs : {true, false}) {
        Pass pass(PC::eStoring, "<R/>", tabs);
        Own b(Bytes{0x0A, 0xFF});
        EXPECT_TRUE(b.PersistXML(pass.ar));
        EXPECT_TRUE(RtBlob().PersistXML(pass.ar));
        pass.ar.PopElement(false);
        EXPECT_EQ(pass.doc->xml(),
                  tabs ? "<R>\n\t<Bl>\n\t\t<Sz>2</Sz>\n\t\t<Dt>0AFF</Dt>\n\t</Bl>"
                         "\n\t<Bl>\n\t\t<Sz>0</Sz>\n\t</Bl>\n</R>"
                       : "<R><Bl><Sz>2</Sz><Dt>0AFF</Dt></Bl><Bl><Sz>0</Sz></Bl></R>");

        Pass load(PC::eLoading, pass.doc->xml(), tabs);
        ASSERT_TRUE(load.ar.PersistElement("Bl"));
        Own back(RtBlob(7)); // emptied first
        EXPECT_TRUE(back.PersistXML(load.ar));
        EXPECT_TRUE(back.IsSameData(b));
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
        {"<Bl><Sz>3</Sz></Bl>", false, {}},                     // a size without bytes
        {"<Bl><Sz>3</Sz><Dt>0A</Dt></Bl>", true, {0x0A, 0, 0}}, // short text: zeros
        {"<Bl><Sz>2</Sz><Dt>0AZZ</Dt></Bl>", true, {0x0A, 0}},  // bad digit: zeros
    };
    for (const Case& c : cases) {
        Pass pass(PC::eLoading, c.xml);
        Own b(RtBlob(4));
        EXPECT_EQ(b.PersistXML(pass.ar), c.ok) << c.xml;
        EXPECT_EQ(BytesOf(b), c.bytes) << c.xml;
        EXPECT_EQ(b.m_pData == nullptr, c.bytes.empty()) << c.xml;
    }

    Pass nothing(PC::eLoading);
    nothing.ar.PopElement();
    EXPECT_FALSE(RtBlob().PersistXML(nothing.ar));

    Pass undecided(PC::eUndecided);
    Own kept(Bytes{1});
    EXPECT_TRUE(kept.PersistXML(undecided.ar));
    EXPECT_EQ(undecided.doc->xml(), "<R/>");
    EXPECT_EQ(BytesOf(kept), Bytes({1}));
}
