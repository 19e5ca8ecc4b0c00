#include "support/archive_bytes.h"

#include "plinth/platform/exceptions.h"
#include "plinth/platform/memory.h"
#include "plinth/range/range_multi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <utility>
#include <vector>

using namespace plinth;
using plinth::testing::Bytes;

namespace {

using Ends = std::vector<std::pair<double, double>>;

// Through the iterators, which must cover the elements in use only.
Ends EndsOf(const CAISimpArr<Range>& m) {
    Ends ends;
    for (const Range& r : m) {
        ends.emplace_back(r.lo, r.hi);
    }
    return ends;
}

RangeMulti Multi(const Ends& ends) {
    RangeMulti m;
    for (const auto& [a, b] : ends) {
        m.CAISimpArr<Range>::Add(Range(a, b));
    }
    return m;
}

constexpr std::pair<double, double> kInvalid{UNBOUNDED, -UNBOUNDED};

} // namespace

TEST(RangeMulti, AddMergesWhatMeetsAndIntersectKeepsMissesAsInvalid) {
    RangeMulti m = Multi({{0, 1}, {4, 5}});
    m.Add(Range(7, 6)); // empty: nothing
    m.Add(m[0]);        // an element of its own
    m.Unite(m);
    EXPECT_EQ(EndsOf(m), (Ends{{0, 1}, {4, 5}}));
    EXPECT_TRUE(m.FindRange(4.5) == 1 && m.FindFirstOnLeft(3) == 0 && m.FindFirstOnLeft(-1) == -1);
    m.Add(Range(1 + 5e-11, 1.5)); // within tolerance: joins
    EXPECT_EQ(EndsOf(m), (Ends{{0, 1.5}, {4, 5}}));
    EXPECT_FALSE(Multi({{0, 2}, {1, 3}}).IsValid());

    m = Multi({{0, 1}, {2, 3}, {4, 5}});
    EXPECT_TRUE(m.Intersect(Range(0.5, 2.5)));
    EXPECT_EQ(EndsOf(m), (Ends{{0.5, 1}, {2, 2.5}, kInvalid}));
    EXPECT_FALSE(m.IsEmpty());
    EXPECT_FALSE(m.Intersect(Range(10, 11)));
    EXPECT_TRUE(m.IsEmpty());
    RangeMulti none = Multi({{0, 2}});
    none.Intersect(RangeMulti());
    EXPECT_EQ(none.GetCount(), 0);
}

TEST(RangeMulti, AddAndIntersectMatchASimpleModel) {
    std::mt19937 rng(15);
    std::uniform_int_distribution<int> grid(0, 40);
    const auto pick = [&] {
        const double a = grid(rng) * 0.5, b = grid(rng) * 0.5;
        return std::make_pair(std::min(a, b), std::max(a, b));
    };
    for (int trial = 0; trial < 300; ++trial) {
        RangeMulti m;
        Ends model; // ordered, disjoint, not touching
        const int adds = 1 + trial % 8;
        for (int n = 0; n < adds; ++n) {
            auto r = pick();
            m.Add(Range(r.first, r.second));
            Ends next;
            for (const auto& e : model) {
                if (e.second < r.first || r.second < e.first) {
                    next.push_back(e);
                } else {
                    r = {std::min(r.first, e.first), std::max(r.second, e.second)};
                }
            }
            next.push_back(r);
            std::sort(next.begin(), next.end());
            model = next;
            ASSERT_EQ(EndsOf(m), model) << trial;
            ASSERT_TRUE(m.IsValid());
        }

        const Ends other{pick(), pick()};
        RangeMulti cut(m);
        cut.Intersect(Multi(other));
        Ends expected;
        for (const auto& e : model) {
            for (const auto& o : other) {
                const bool meet = !(e.second < o.first || o.second < e.first);
                expected.push_back(
                    meet ? std::make_pair(std::max(e.first, o.first), std::min(e.second, o.second))
                         : kInvalid);
            }
        }
        ASSERT_EQ(EndsOf(cut), expected) << trial;
    }
}

TEST(RangeMulti, IntersectS1Examples) {
    RangeMulti m;
    m.IntersectS1(RangeS1(0, 3), RangeS1(2.5, 0.5)); // across the seam: two pieces
    EXPECT_EQ(EndsOf(m), (Ends{{2.5, 3}, {0, 0.5}}));
    EXPECT_TRUE(m[0].type == eScalarAngle && m[1].type == eScalarAngle);
    m.IntersectS1(RangeS1(0, 1), RangeS1(2, 3));
    EXPECT_EQ(m.GetCount(), 0);

    RangeS1 inner(0.5, 1);
    inner.external = true; // the long way round, contained in the full circle
    m.IntersectS1(RangeS1(), inner);
    EXPECT_EQ(EndsOf(m), (Ends{{0.5, 1}}));
    EXPECT_TRUE(m[0].external);
}

TEST(RangeMulti, IntersectS1EveryFlagCombinationFreshAndReused) {
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> grid(-31, 31);
    RangeS1 flagged(1, 2);
    flagged.external = true;
    RangeMulti reused;
    reused.IntersectS1(RangeS1(), flagged); // leaves a flag behind
    ASSERT_TRUE(reused[0].external);
    for (int trial = 0; trial < 400; ++trial) {
        double ends[4];
        for (double& e : ends) {
            e = grid(rng) * 0.1;
        }
        if (ends[0] == ends[1] || ends[2] == ends[3]) {
            continue;
        }
        RangeS1 s1(ends[0], ends[1]);
        RangeS1 s2(ends[2], ends[3]);
        s1.external = trial % 2 == 1;
        s2.external = trial / 2 % 2 == 1;
        RangeMulti fresh;
        fresh.IntersectS1(s1, s2);
        reused.IntersectS1(s1, s2);
        ASSERT_TRUE(std::equal(fresh.begin(), fresh.end(), reused.begin(), reused.end(),
                               [](const Range& x, const Range& y) {
                                   return x.lo == y.lo && x.hi == y.hi &&
                                          x.external == y.external && x.state == y.state &&
                                          x.degrees == y.degrees;
                               }))
            << trial;
        // The pieces cover exactly the points both arcs hold (away from the ends).
        for (int k = -314; k < 314; k += 3) {
            const double x = k * 0.01 + 0.005;
            const bool got =
                std::any_of(fresh.begin(), fresh.end(), [x](const Range& r) { return r.In(x); });
            ASSERT_EQ(got, s1.In(x) && s2.In(x)) << trial << " at " << x;
        }
    }
}

TEST(RangeMulti, StorageRules) {
    RangeMulti m;
    m.SetAtGrow(3, 1, 2); // the smallest multiple of the step above 3; the gap is full
    EXPECT_TRUE(m.capacity == 6 && m.GetCount() == 4 && m[0].IsFull());
    m.growBy = 0;
    m.SetAtGrow(6, 0, 1);
    EXPECT_TRUE(m.growBy == 5 && m.capacity == 10);

    RangeMulti empty; // no block yet
    empty.SetFull();
    EXPECT_TRUE(empty.GetCount() == 1 && empty[0].IsFull());

    const RangeMulti src = Multi({{0, 1}, {2, 3}});
    CAISimpArr<Range> dst;
    dst.Copy(src, 4, 0); // grows before writing
    EXPECT_TRUE(dst.GetCount() == 6 && dst[5].hi == 3);
    dst.Copy(dst, 5, 4); // overlapping, from itself
    EXPECT_TRUE(dst.GetCount() == 7 && dst[6].lo == 2 && dst[5].lo == 0);

    dst.CopySubArr(src, 0, 1, true);
    EXPECT_EQ(EndsOf(dst), (Ends{{2, 3}, {0, 1}}));
    dst.InsertAt(1, dst[0]);
    EXPECT_EQ(EndsOf(dst), (Ends{{2, 3}, {2, 3}, {0, 1}}));
    dst.RemoveAt(0, 2);
    EXPECT_EQ(EndsOf(dst), (Ends{{0, 1}}));
    EXPECT_TRUE(dst.Find(&src[1]) == -1 && src.Find(&src[1]) == 1);

    RangeMulti whole = Multi({{0, 1}, {5, 6}});
    whole.SetAt(0, Multi({{7, 8}, {9, 10}}));
    EXPECT_EQ(EndsOf(whole), (Ends{{7, 8}, {9, 10}, {5, 6}}));
    whole.InsertAfter(2, whole);
    EXPECT_EQ(whole.GetCount(), 6);
    whole.Remove(1, 4);
    EXPECT_EQ(EndsOf(whole), (Ends{{7, 8}, {5, 6}}));
}

TEST(RangeMulti, CopiesOwnTheirBlocks) {
    RangeMulti* a = AfxNew<RangeMulti>();
    a->Add(Range(0, 1));
    RangeMulti copy(*a);
    RangeMulti assigned;
    assigned = *a;
    const RangeMulti& same = assigned;
    assigned = same;
    EXPECT_NE(copy.GetData(), a->GetData());
    delete a;
    EXPECT_TRUE(EndsOf(copy) == (Ends{{0, 1}}) && EndsOf(assigned) == EndsOf(copy));

    RangeMulti caller = Multi({{2, 3}}), other = Multi({{4, 5}});
    other.GetSubArray(caller, 0, 0); // frees only its own block
    EXPECT_TRUE(other.GetData() == nullptr && EndsOf(caller) == (Ends{{2, 3}}));

    CAISimpArr<Range> taker;
    taker.Attach(AfxNewArray<Range>(2), 2);
    Range* block = taker.GetData();
    taker.Detach();
    EXPECT_EQ(taker.capacity, 0);
    delete[] block; // the array no longer owns it
}

TEST(RangeMulti, MergeAndIsIncreasingCompareByInclusion) {
    CAISimpArr<Range> out;
    EXPECT_EQ(out.Merge(Multi({{0, 1}}), Multi({{0, 2}})), 1);
    EXPECT_EQ(EndsOf(out), (Ends{{0, 1}}));
    // [0, 5] is not within [1, 2], so b's element goes first whatever the ends' order.
    EXPECT_EQ(out.Merge(Multi({{0, 5}}), Multi({{1, 2}, {3, 4}})), 3);
    EXPECT_EQ(EndsOf(out), (Ends{{1, 2}, {3, 4}, {0, 5}}));
    EXPECT_EQ(out.Merge(RangeMulti(), Multi({{1, 2}})), 1);
    EXPECT_EQ(out.Merge(out, out), 1); // with itself: the same start is dropped
    EXPECT_EQ(out.Merge(RangeMulti(), RangeMulti()), 0);

    EXPECT_TRUE(Multi({{5, 6}, {0, 1}}).IsIncreasing()); // not ordered, but none inside
    EXPECT_FALSE(Multi({{0, 5}, {1, 2}}).IsIncreasing());
    EXPECT_TRUE(Multi({{1, 2}, {0, 5}}).IsIncreasing());
}

TEST(RangeMulti, ArchiveHoldsCapacityAndCountOnly) {
    RangeMulti m = Multi({{0, 1}, {2, 3}});
    EXPECT_EQ(m.capacity, 2);
    m.SetAtGrow(2, 4, 5);
    EXPECT_EQ(plinth::testing::StoredObject(m), (Bytes{3, 0, 0, 0, 3, 0, 0, 0}));

    const auto load = [](Bytes bytes, CAISimpArr<Range>& into) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        into.Serialize(ar);
    };
    RangeMulti fresh;
    load({4, 0, 0, 0, 2, 0, 0, 0}, fresh);
    EXPECT_TRUE(fresh.capacity == 4 && fresh.GetCount() == 2);
    RangeMulti back = Multi({{7, 8}});
    load({1, 0, 0, 0, 9, 0, 0, 0}, back); // count above capacity: room for both
    const auto asBefore = [&back] {
        return back.capacity == 9 && back.GetCount() == 9 && back[0].lo == 7; // kept while growing
    };
    EXPECT_TRUE(asBefore());
    EXPECT_THROW(load({1, 0, 0, 0, 0xff, 0xff, 0xff, 0xff}, back), CArchiveException);
    EXPECT_THROW(load({1, 0, 0}, back), CArchiveException);

    // Forged claims: refused before any allocation, the array as it was; 2^20 still loads.
    for (const Bytes& forged :
         {Bytes{0xff, 0xff, 0xff, 0x7f, 1, 0, 0, 0}, Bytes{1, 0, 0, 0, 0xff, 0xff, 0xff, 0x7f},
          Bytes{1, 0, 0x10, 0, 0, 0, 0, 0}}) {
        try {
            load(forged, back);
            ADD_FAILURE() << "a forged size loaded";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
        }
        EXPECT_TRUE(asBefore());
    }
    load({0, 0, 0x10, 0, 0, 0, 0x10, 0}, back);
    EXPECT_TRUE(back.capacity == 1 << 20 && back.GetCount() == 1 << 20);
}

TEST(RangeMulti, IterationCoversTheElementsInUseOnly) {
    RangeMulti m;
    m.SetSize(8); // room for eight, none in use
    EXPECT_EQ(m.begin(), m.end());
    m.Add(Range(4, 5));
    for (Range& r : m) {
        r.Translate(-1);
    }
    EXPECT_EQ(EndsOf(m), (Ends{{3, 4}}));
}
