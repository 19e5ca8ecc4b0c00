#include "support/archive_bytes.h"

#include "plinth/persist/blob_set.h"
#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace plinth;
using plinth::testing::Bytes;
using plinth::testing::Stored;

namespace {

// A set whose members own copies of the given byte runs (an empty run gives an empty member
// with a null pointer); the bytes are freed with the set.
class OwnedSet : public BlobSet {
public:
    explicit OwnedSet(const std::vector<Bytes>& members) {
        for (const Bytes& m : members) {
            Add(m.empty() ? RtBlob() : RtBlob(m.data(), static_cast<ULONG>(m.size()), true));
        }
    }
    OwnedSet(const OwnedSet&) = delete;
    OwnedSet& operator=(const OwnedSet&) = delete;
    ~OwnedSet() override {
        for (INT_PTR i = 0; i < GetSize(); ++i) {
            ElementAt(i).Delete();
        }
    }
};

struct Cursor {
    unsigned char* byte;
    int blob;
};

void ExpectCursor(const BlobSetPtr& c, Cursor expected) {
    EXPECT_EQ(c.m_pByte, expected.byte);
    EXPECT_EQ(c.m_nBlob, expected.blob);
}

Bytes BytesOf(const RtBlob& b) {
    return Bytes(b.m_pData, b.m_pData + b.m_nSize);
}

// Loads a set from archive bytes; raises as Serialize does.
void Load(BlobSet& set, const Bytes& bytes) {
    CMemFile file;
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    set.Serialize(ar);
}

} // namespace

TEST(BlobSet, LookupsRefuseOutsideBytesAndEmptyMembers) {
    OwnedSet set({{1, 2}, {}, {3}});
    const unsigned char* three = set[2].m_pData;
    EXPECT_EQ(set.GetData(), set[0].m_pData);
    EXPECT_EQ(set.GetPosition(three + 1), 0xFFFFFFFFu);
    EXPECT_EQ(set.IncrementPointer(three + 1, 0), nullptr);
    EXPECT_EQ(set.IncrementPointer(three, 0xFFFFFFFFu), nullptr); // no wrap-around
    EXPECT_EQ(set.FindBlob(three, 0), 2);
    EXPECT_EQ(set.FindBlob(set[0].m_pData, 1), -1);
    EXPECT_EQ(set.FindBlob(three, -5), 2);
    EXPECT_FALSE(set.IsValid()); // the empty member
    EXPECT_FALSE(set.InRange(3));
    EXPECT_FALSE(set.InRange(-1));

    RtBlob two(2); // CopyTo fills only what the destination holds
    set.CopyTo(two);
    EXPECT_EQ(BytesOf(two), Bytes({1, 2}));
    two.Delete();

    BlobSet empty;
    EXPECT_EQ(empty.GetData(), nullptr);
    EXPECT_TRUE(empty.IsValid());
}

TEST(BlobSet, IncrementCrossesMembersAndStopsOnEmptyOnes) {
    OwnedSet two({{1, 2}, {3}});
    unsigned char* one = two[0].m_pData;
    unsigned char* three = two[1].m_pData;
    OwnedSet gap({{1, 2}, {}, {3}});
    OwnedSet tail({{1, 2}, {}});

    struct Case {
        const char* what;
        const BlobSet& set;
        Cursor from;
        ULONG n;
        bool moved;
        Cursor to;
    };
    const Case cases[] = {
        {"within a member", two, {one, 0}, 1, true, {one + 1, 0}},
        {"onto the next member", two, {one, 0}, 2, true, {three, 1}},
        {"past the end from an earlier member", two, {one, 0}, 3, false, {nullptr, -1}},
        {"to the end of the last member", two, {three, 1}, 1, false, {nullptr, 1}},
        {"a move of 0", two, {three, 1}, 0, true, {three, 1}},
        {"stops on the empty member", gap, {gap[0].m_pData, 0}, 2, true, {nullptr, 1}},
        {"out of the empty member by 0", gap, {nullptr, 1}, 0, true, {nullptr, 1}},
        {"out of the empty member by 1", gap, {nullptr, 1}, 1, false, {nullptr, -1}},
        {"a run-off cursor", two, {nullptr, 1}, 1, false, {nullptr, 1}},
        {"onto a trailing empty member", tail, {tail[0].m_pData, 0}, 2, true, {nullptr, 1}},
        {"a byte of another member", two, {three, 0}, 1, false, {nullptr, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BlobSetPtr cursor(c.from.byte, c.from.blob);
        EXPECT_EQ(c.set.Increment(cursor, c.n), c.moved);
        ExpectCursor(cursor, c.to);
    }

    // Out of an empty member the move counts from the next member's first byte.
    OwnedSet longer({{1}, {}, {3, 4}});
    BlobSetPtr c(nullptr, 1);
    EXPECT_TRUE(longer.Increment(c, 1));
    ExpectCursor(c, {longer[2].m_pData + 1, 2});

    BlobSetPtr bad(one, 2);
    EXPECT_THROW(two.Increment(bad, 1), CInvalidArgException);
    ExpectCursor(bad, {one, 2});
}

TEST(BlobSet, CursorsWalkMembersAndRefuseBadIndexes) {
    OwnedSet set({{1, 2}, {}, {3}});
    BlobSetPtr c = set.GetHead();
    ExpectCursor(c, {set[0].m_pData, 0});
    EXPECT_TRUE(set.GetNextBlob(c));
    ExpectCursor(c, {nullptr, 1});
    EXPECT_TRUE(set.GetNextBlob(c));
    ExpectCursor(c, {set[2].m_pData, 2});
    EXPECT_FALSE(set.GetNextBlob(c));
    ExpectCursor(c, {nullptr, -1});
    EXPECT_TRUE(set.GetNextBlob(c)); // from -1 back to the first member
    ExpectCursor(c, {set[0].m_pData, 0});

    BlobSetPtr below(nullptr, -2);
    EXPECT_THROW(set.GetNextBlob(below), CInvalidArgException);
    ExpectCursor(below, {nullptr, -2});
    EXPECT_FALSE(set.IsValid(BlobSetPtr(set[2].m_pData, 0))); // not that member's byte
    EXPECT_THROW(set.IsValid(BlobSetPtr(set[2].m_pData, 3)), CInvalidArgException);
    EXPECT_FALSE(set.IsValid(BlobSetPtr(nullptr, 3)));
    EXPECT_THROW(BlobSet().GetHead(), CInvalidArgException);
}

TEST(BlobSet, RandomWalksAgreeWithAFlatByteVector) {
    std::mt19937 rng(1234);
    unsigned char spare = 0; // the pointer of empty views
    for (int round = 0; round < 200; ++round) {
        // Members of 0 to 4 bytes, the last one not empty; some empty ones view a byte.
        const int count = 1 + static_cast<int>(rng() % 8);
        std::vector<Bytes> members;
        Bytes flat;
        for (int i = 0; i < count; ++i) {
            Bytes m(rng() % 5);
            if (i == count - 1 && m.empty()) {
                m.resize(1);
            }
            std::generate(m.begin(), m.end(), [&] { return static_cast<unsigned char>(rng()); });
            flat.insert(flat.end(), m.begin(), m.end());
            members.push_back(m);
        }
        OwnedSet set(members);
        for (int i = 0; i < count; ++i) {
            if (members[i].empty() && rng() % 2 == 0) {
                set[i] = RtBlob(0, &spare);
            }
        }
        std::vector<ULONG> start(count + 1, 0);
        for (int i = 0; i < count; ++i) {
            start[i + 1] = start[i] + static_cast<ULONG>(members[i].size());
        }
        const ULONG length = start[count];
        ASSERT_EQ(set.GetLength(), length);

        // Offsets and pointers.
        for (ULONG off = 0; off < length; ++off) {
            unsigned char* p = set.GetPointer(off);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(*p, flat[off]);
            EXPECT_EQ(set.GetPosition(p), off);
            const ULONG n = rng() % (length + 2);
            unsigned char* q = set.IncrementPointer(p, n);
            EXPECT_EQ(q, off + n < length ? set.GetPointer(off + n) : nullptr);
        }
        RtBlob merged = set.GetMergedBlob();
        EXPECT_EQ(BytesOf(merged), flat);
        merged.Delete();

        // Byte by byte from the head reads the flat bytes.
        Bytes read;
        BlobSetPtr c = set.GetHead();
        for (bool more = true; more;) {
            if (set.IsValid(c)) {
                read.push_back(*c.m_pByte);
                more = set.Increment(c, 1);
            } else {
                more = set.GetNextBlob(c); // off an empty member onto the same offset
            }
        }
        EXPECT_EQ(read, flat);

        // Random moves: the cursor stands at a global offset g within member `at`.
        ULONG g = 0;
        c = set.GetHead();
        for (int step = 0; step < 30; ++step) {
            const ULONG n = rng() % 4 == 0 ? 0 : rng() % (length + 1);
            const int at = c.m_nBlob;
            const ULONG t = g + n;
            const bool moved = set.Increment(c, n);
            if (n == 0) {
                EXPECT_TRUE(moved);
                EXPECT_EQ(c.m_nBlob, at);
            } else if (t >= length) {
                EXPECT_FALSE(moved);
                EXPECT_EQ(c.m_pByte, nullptr);
                EXPECT_EQ(c.m_nBlob, at == count - 1 ? at : -1);
                g = 0;
                c = set.GetHead();
                continue;
            } else {
                ASSERT_TRUE(moved);
                // A move ending at a member's end stops on the first member after it.
                int expected = at;
                if (t >= start[at + 1]) {
                    expected = at + 1;
                    while (start[expected] != t && t >= start[expected + 1]) {
                        ++expected;
                    }
                }
                EXPECT_EQ(c.m_nBlob, expected) << "round " << round << " step " << step;
                EXPECT_EQ(c.m_pByte,
                          members[expected].empty() ? set[expected].m_pData : set.GetPointer(t));
            }
            g = t;
        }
        for (int i = 0; i < count; ++i) {
            if (set[i].m_pData == &spare) {
                set[i] = RtBlob(); // a view: not the set's to free
            }
        }
    }
}

TEST(BlobSet, SetLengthAppendsZerosAndResetKeepsTheCount) {
    OwnedSet set({{1, 2}, {}, {3}});
    EXPECT_FALSE(set.SetLength(3));
    EXPECT_EQ(set.GetSize(), 3);
    EXPECT_TRUE(set.SetLength(5));
    ASSERT_EQ(set.GetSize(), 4);
    EXPECT_EQ(BytesOf(set[3]), Bytes({0, 0}));

    std::vector<RtBlob> kept = {set[0], set[1], set[2], set[3]};
    set.Reset();
    EXPECT_EQ(set.GetSize(), 4);
    EXPECT_EQ(set.GetLength(), 0u);
    EXPECT_EQ(set[0].m_pData, nullptr);
    for (RtBlob& b : kept) {
        b.Delete(); // the bytes were left to their holder
    }
}

TEST(BlobSet, ArchiveHoldsEachMemberInTheBlobForm) {
    OwnedSet set({{0xAA, 0xBB}, {}});
    const Bytes stored = Stored([&set](CArchive& ar) { set.Serialize(ar); });
    Bytes expected = Stored([](CArchive& ar) { ar.WriteCount(2); });
    const Bytes members = {2, 0, 0, 0, 0xAA, 0xBB, 0, 0, 0, 0};
    expected.insert(expected.end(), members.begin(), members.end());
    EXPECT_EQ(stored, expected);

    // Loading gives each element a buffer of its own and never frees the views it held.
    unsigned char outside[3] = {7, 8, 9};
    BlobSet loaded;
    loaded.Add(RtBlob(3, outside));
    Load(loaded, stored);
    ASSERT_EQ(loaded.GetSize(), 2);
    EXPECT_EQ(BytesOf(loaded[0]), Bytes({0xAA, 0xBB}));
    EXPECT_NE(loaded[0].m_pData, set[0].m_pData);
    EXPECT_EQ(loaded[1].m_nSize, 0u);
    EXPECT_EQ(outside[0], 7);
    loaded[0].Delete();

    // A short archive raises after the members it held whole.
    const Bytes cut(stored.begin(), stored.end() - 3); // the second member's size cut short
    BlobSet partial;
    EXPECT_THROW(Load(partial, cut), CArchiveException);
    ASSERT_EQ(partial.GetSize(), 2);
    EXPECT_EQ(partial[0].m_nSize, 2u);
    partial[0].Delete();
}
