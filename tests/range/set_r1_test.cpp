#include "support/archive_bytes.h"

#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"
#include "plinth/range/set_r1.h"
#include "plinth/range/set_r1_spaced.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

using namespace plinth;
using plinth::testing::Bytes;

namespace {

using Ends = std::vector<std::pair<double, double>>;

template <class Set = SetR1>
Set Make(const Ends& ends) {
    Set s;
    for (const auto& [a, b] : ends) {
        s.AddRange(a, b);
    }
    return s;
}

Ends EndsOf(const SetR1& s) {
    Ends ends;
    for (INT_PTR i = 0; i < s.GetSize(); ++i) {
        ends.emplace_back(s[i].lo, s[i].hi);
    }
    return ends;
}

bool Covers(const SetR1& s, double x) {
    return std::any_of(s.begin(), s.end(),
                       [x](const RangeR1& r) { return r.lo <= x && x <= r.hi; });
}

bool IsEnd(const SetR1& s, double x) {
    return std::any_of(s.begin(), s.end(),
                       [x](const RangeR1& r) { return r.lo == x || r.hi == x; });
}

// Ordered, flags clear, every end one of the operands' ends.
::testing::AssertionResult WellMade(const SetR1& r, const SetR1& a, const SetR1& b) {
    for (INT_PTR i = 0; i < r.GetSize(); ++i) {
        if (!(r[i].lo <= r[i].hi) || r[i].external || (i > 0 && !(r[i].lo > r[i - 1].hi))) {
            return ::testing::AssertionFailure() << "not ordered at " << i;
        }
        if (!(IsEnd(a, r[i].lo) || IsEnd(b, r[i].lo)) ||
            !(IsEnd(a, r[i].hi) || IsEnd(b, r[i].hi))) {
            return ::testing::AssertionFailure() << "a new end at " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

// The same ends, 0 and -0 alike; or bit for bit, flags included.
bool Same(const SetR1& x, const SetR1& y, bool bits = false) {
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [bits](const auto& p, const auto& q) {
        return bits ? std::memcmp(&p.lo, &q.lo, sizeof(double)) == 0 &&
                          std::memcmp(&p.hi, &q.hi, sizeof(double)) == 0 && p.external == q.external
                    : p.lo == q.lo && p.hi == q.hi;
    });
}

// Ends that collide often: a coarse grid, nudged now and then by less than EPS either way,
// with 0 and -0; rarely something the sweep must leave to the one-by-one path.
class EndMaker {
public:
    explicit EndMaker(unsigned seed)
        : m_random(seed) {}

    unsigned Pick(unsigned n) { return m_random() % n; }

    double End() {
        const double x = static_cast<int>(Pick(13)) / 2.0 - 1; // -1 to 5 in halves
        const unsigned k = Pick(8);
        return k == 0   ? x + 0.5 * EPS
               : k == 1 ? x - 0.7 * EPS
               : k == 2 ? (Pick(2) ? -0.0 : 0.0)
                        : x;
    }

    // Rarely reversed, flagged, or with a NaN end.
    std::vector<RangeR1> Intervals(bool rarelyOdd) {
        std::vector<RangeR1> v(Pick(12));
        for (RangeR1& r : v) { // fields one by one: operator= keeps ends that agree within EPS
            const double a = End(), b = End();
            r.lo = std::min(a, b);
            r.hi = std::max(a, b);
            const unsigned odd = rarelyOdd && Pick(40) == 0 ? Pick(3) : 3;
            if (odd == 0) {
                std::swap(r.lo, r.hi);
            }
            r.external = odd == 1;
            r.hi = odd == 2 ? std::nan("") : r.hi;
        }
        return v;
    }

private:
    std::mt19937 m_random;
};

SetR1 OneByOne(const std::vector<RangeR1>& v) {
    SetR1 s;
    for (const RangeR1& r : v) {
        s.Unite(r);
    }
    return s;
}

// Every two intervals that meet within EPS give a piece, united one by one.
SetR1 PairwiseIntersection(const SetR1& a, const SetR1& b) {
    std::vector<RangeR1> pieces;
    for (const RangeR1& x : a) {
        for (const RangeR1& y : b) {
            if (!x.IsEmptyIntersection(y)) {
                const double hi = std::min(x.hi, y.hi);
                pieces.emplace_back(std::min(std::max(x.lo, y.lo), hi), hi);
            }
        }
    }
    std::sort(pieces.begin(), pieces.end(),
              [](const RangeR1& p, const RangeR1& q) { return p.lo < q.lo; });
    return OneByOne(pieces);
}

const Ends twoGaps = {{0, 1}, {3, 4}};

// A set, the two ends of an interval, and the expected result.
struct Case {
    Ends set;
    double a, b;
    Ends result;
};

// Each operation on two sets, and what it gives.
struct AlgebraCase {
    Ends a, b;
    Ends both, aMinusB, either;
};

} // namespace

TEST(SetR1, UniteMergesIntoTheOrderedSet) {
    const Case cases[] = {
        {{}, 1, 2, {{1, 2}}},
        {twoGaps, 5, 6, {{0, 1}, {3, 4}, {5, 6}}},                // past the end: appended
        {twoGaps, 1.5, 2, {{0, 1}, {1.5, 2}, {3, 4}}},            // in a gap: inserted
        {twoGaps, 1, 3, {{0, 4}}},                                // touching both
        {{{0, 1}, {3, 4}, {6, 7}, {9, 10}}, 0.5, 9.5, {{0, 10}}}, // swallowing several
    };
    for (const Case& c : cases) {
        SetR1 s = Make(c.set);
        s.Unite(RangeR1(c.a, c.b));
        EXPECT_EQ(EndsOf(s), c.result) << c.a << " " << c.b;
    }
    SetR1 s = Make(twoGaps);
    s.Unite(Make({{4, 5}, {-2, -1}, {1.5, 2}}));
    EXPECT_EQ(EndsOf(s), (Ends{{-2, -1}, {0, 1}, {1.5, 2}, {3, 5}}));
    s.Unite(s[2]); // an element of the set itself
    EXPECT_EQ(s.GetSize(), 4);
}

TEST(SetR1, QueriesAndComplement) {
    const SetR1 s = Make(twoGaps);
    bool inside = true;
    EXPECT_TRUE(s.FindPrevRange(2, &inside) == 1 && !inside);
    EXPECT_TRUE(s.FindPrevRange(3.5, &inside) == 1 && inside);
    EXPECT_EQ(s.FindPrevRange(5, &inside), -1);
    EXPECT_TRUE(s.GetFirstPoint(2) == 3 && s.GetFirstPoint(0.5) == 0.5);
    EXPECT_TRUE(s.GetFirstPoint(5) == UNBOUNDED && s.GetFirstPoint(-1.7e308) == 0);
    EXPECT_EQ(SetR1().GetFirstPoint(0), UNBOUNDED);

    SetR1 out = Make({{7, 8}, {9, 9.5}, {11, 12}, {13, 14}}); // replaced
    s.GetComplimentarySet(RangeR1(0.5 * EPS, 4 - 0.5 * EPS), out);
    EXPECT_EQ(EndsOf(out), (Ends{{1, 3}})); // no slivers at the ends
    s.GetComplimentarySet(RangeR1(0.2, 0.8), out);
    EXPECT_TRUE(out.IsEmpty());
    SetR1 t = Make(twoGaps);
    t.GetComplimentarySet(RangeR1(-1, 10), t);
    EXPECT_EQ(EndsOf(t), (Ends{{-1, 0}, {1, 3}, {4, 10}}));
}

TEST(SetR1, EditsAndChecks) {
    SetR1 s = Make({{0, 1}, {1 + 0.5 * EPS, 2}, {2 + 2 * EPS, 3}, {5, 5 + 0.5 * EPS}});
    s.MakeValid();
    EXPECT_EQ(EndsOf(s), (Ends{{0, 2}, {2 + 2 * EPS, 3}}));
    s = Make({{0, 1}, {3, 4}, {5, 6}});
    EXPECT_TRUE(s.Intersect(RangeR1(0.5, 3.5)));
    EXPECT_EQ(EndsOf(s), (Ends{{0.5, 1}, {3, 3.5}}));
    EXPECT_FALSE(s.Intersect(RangeR1(10, 11)));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(Make({{0, 1}, {1.5, 2}}).IsValidEx(0.5));
    EXPECT_FALSE(Make({{0, 1}, {1.4, 2}}).IsValidEx(0.5));
    EXPECT_THROW(s.SetRange(0, 0, 1), CInvalidArgException);

    SetR1 b = Make({{2, 3}, {7, 8}});
    SetR1 c = Make({{2.5, 3}});
    SetR1::SetArray sets;
    Pair2<int, double> out;
    EXPECT_FALSE(SetR1::GetFirstPoint(sets, 0, out) || out.second != INF_BOUND);
    for (SetR1* set : {&s, &b, &c}) {
        sets.Add(set);
    }
    EXPECT_TRUE(SetR1::GetFirstPoint(sets, 2.5, out));
    EXPECT_TRUE(out.first == 1 && out.second == 2.5); // a tie keeps the earlier set
}

TEST(SetR1, ArchiveRecordsCarryOnlyTheFields) {
    SetR1 one = Make({{1, 2}});
    one[0].external = true;
    Bytes expected(2 + 32);
    expected[0] = 1;         // the count
    expected[2 + 14] = 0xF0; // 1.0
    expected[2 + 15] = 0x3F;
    expected[2 + 23] = 0x40; // 2.0
    expected[2 + 24] = 1;
    EXPECT_EQ(plinth::testing::StoredObject(one), expected);

    SetR1 many;
    for (int i = 0; i < 200; ++i) { // more than one trip through the record buffer
        many.AddRange(i / 7.0, i / 3.0);
    }
    many[0].external = true;
    Bytes bytes = plinth::testing::StoredObject(many);
    for (std::size_t k : {0, 3, 7, 25, 31}) { // header word and padding of record 0
        bytes[2 + k] = 0xAB;
    }
    bytes.resize(2 + 32 * 150 + 20); // record 150 cut short
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    SetR1 loaded;
    int cause = -1;
    try {
        loaded.Serialize(ar);
    } catch (const CArchiveException& e) {
        cause = e.m_cause;
    }
    EXPECT_EQ(cause, CArchiveException::endOfFile);
    ASSERT_EQ(loaded.GetSize(), 200);
    EXPECT_TRUE(loaded[0].lo == 0 && loaded[0].hi == 0 && loaded[0].external);
    EXPECT_TRUE(loaded[149].lo == 149 / 7.0 && loaded[149].hi == 149 / 3.0);
    EXPECT_TRUE(loaded[150].lo == UNBOUNDED && loaded[199].hi == -UNBOUNDED);
}

// The bulk forms against uniting one interval at a time, on sets ordered by Unite itself
// and now and then on a set AddRange left unordered.
TEST(SetR1Random, BulkUniteGivesExactlyTheOneByOneResult) {
    EndMaker make(77);
    for (int round = 0; round < 100000; ++round) {
        const std::vector<RangeR1> more = make.Intervals(true);
        SetR1 start = OneByOne(make.Intervals(false));
        if (make.Pick(50) == 0) {
            start.AddRange(make.End(), make.End()); // no longer ordered
        }

        SetR1 expected(start);
        for (const RangeR1& r : more) {
            expected.Unite(r);
        }
        SetR1 bulk(start);
        bulk.UniteAll(more.data(), static_cast<INT_PTR>(more.size()));
        ASSERT_TRUE(Same(bulk, expected, true)) << "UniteAll, round " << round;

        const SetR1 other = OneByOne(make.Intervals(make.Pick(20) == 0));
        SetR1 merged(start);
        merged.Unite(other);
        SetR1 oneByOne(start); // a fresh copy: Copy would keep ends that agree within EPS
        for (INT_PTR i = 0; i < other.GetSize(); ++i) {
            oneByOne.Unite(other[i]);
        }
        ASSERT_TRUE(Same(merged, oneByOne, true)) << "Unite(set), round " << round;
    }
}

TEST(SetR1, BulkUniteKeepsEndsThatOnlyComeWithinEps) {
    SetR1 s;
    const RangeR1 v[] = {{3, 4}, {1 + 0.5 * EPS, 2}, {0, 1}, {2, 2.5}, {-0.0, 0.5}};
    s.UniteAll(v, 5); // [0, 1] and [1 + EPS / 2, 2] stay apart; [2, 2.5] touches and joins
    EXPECT_EQ(EndsOf(s), (Ends{{0, 1}, {1 + 0.5 * EPS, 2.5}, {3, 4}}));
    EXPECT_FALSE(std::signbit(s[0].lo)); // 0 came first

    s.Unite(s); // itself: nothing changes
    EXPECT_EQ(EndsOf(s), (Ends{{0, 1}, {1 + 0.5 * EPS, 2.5}, {3, 4}}));
    s.UniteAll(s.GetData(), s.GetSize()); // its own elements, which move
    EXPECT_EQ(EndsOf(s), (Ends{{0, 1}, {1 + 0.5 * EPS, 2.5}, {3, 4}}));
    s.UniteAll(nullptr, 3);
    EXPECT_EQ(s.GetSize(), 3);
}

TEST(SetR1Spaced, ArrangePushesOutwardFromTheMiddle) {
    const Ends overlapping = {{0, 2}, {1, 3}, {2, 4}};
    auto s = Make<SetR1Spaced>(overlapping);
    s.Arrange();
    EXPECT_EQ(EndsOf(s), (Ends{{-1, 1}, {1, 3}, {3, 5}}));
    s = Make<SetR1Spaced>(overlapping);
    s.Arrange(1);
    EXPECT_EQ(EndsOf(s), (Ends{{-2, 0}, {1, 3}, {4, 6}}));
    EXPECT_TRUE(s.IsValidEx(1) && !s.IsValidEx(1.1));
    s = Make<SetR1Spaced>(overlapping);
    s.Arrange(-EPS);
    EXPECT_EQ(EndsOf(s), overlapping);

    s = Make<SetR1Spaced>({{0, 2}, {1, 3}, {2.5, 3.5}, {3, 5}, {8, 9}});
    s.Arrange(); // the gap is measured before the move: [1, 3] passes on 0.5 + 1
    EXPECT_EQ(EndsOf(s), (Ends{{-1.5, 0.5}, {0.5, 2.5}, {2.5, 3.5}, {3.5, 5.5}, {8, 9}}));
    s = Make<SetR1Spaced>({{-4, -3}, {-2, -1}, {0, 1}, {2, 3}, {2.5, 4}});
    s.Arrange(); // [2, 3] has slack 1 and overlaps [2.5, 4] by 0.5: it moves back by 0.5
    EXPECT_EQ(EndsOf(s), (Ends{{-4, -3}, {-2, -1}, {0, 1}, {1.5, 2.5}, {2.5, 4}}));
    EXPECT_EQ(s.PushSingleRange(5, false, 1), 0);
}

TEST(SetR1, AlgebraAtTouchingEndsAndEndsWithinEps) {
    const double near = 1 + 0.5 * EPS;
    const AlgebraCase cases[] = {
        // Touching: a point in common, nothing taken, and the two join.
        {{{0, 1}}, {{1, 2}}, {{1, 1}}, {{0, 1}}, {{0, 2}}},
        // Within EPS: the lower end as the common point; apart as Unite leaves them.
        {{{0, 1}}, {{near, 2}}, {{1, 1}}, {{0, 1}}, {{0, 1}, {near, 2}}},
        {{{1, 1}}, {{near, 2}}, {{1, 1}}, {}, {{near, 2}}},
        // A point takes nothing; a sliver shorter than EPS is not left behind.
        {{{0, 2}}, {{1, 1}}, {{1, 1}}, {{0, 2}}, {{0, 2}}},
        {{{0, 2}}, {{0.5 * EPS, 1}}, {{0.5 * EPS, 1}}, {{1, 2}}, {{1, 2}}},
        {{{0, 10}},
         {{2, 3}, {3 + 0.5 * EPS, 5}},
         {{2, 3}, {3 + 0.5 * EPS, 5}},
         {{0, 2}, {5, 10}},
         {{0, 2}, {5, 10}}},
        // Ordinary overlaps.
        {{{0, 1}, {3, 4}},
         {{0.5, 3.5}},
         {{0.5, 1}, {3, 3.5}},
         {{0, 0.5}, {3.5, 4}},
         {{0, 0.5}, {1, 3}, {3.5, 4}}},
        {{{0, 1}, {near, 2}}, {{0, 1}, {near, 2}}, {{0, 1}, {near, 2}}, {}, {}},
    };
    for (const AlgebraCase& c : cases) {
        SetR1 both = Make(c.a);
        EXPECT_EQ(both.Intersect(Make(c.b)), !c.both.empty());
        EXPECT_EQ(EndsOf(both), c.both) << "intersection, case " << &c - cases;
        SetR1 aMinusB = Make(c.a);
        EXPECT_EQ(aMinusB.Subtract(Make(c.b)), !c.aMinusB.empty());
        EXPECT_EQ(EndsOf(aMinusB), c.aMinusB) << "subtraction, case " << &c - cases;
        SetR1 either = Make(c.a);
        EXPECT_EQ(either.SymmetricDifference(Make(c.b)), !c.either.empty());
        EXPECT_EQ(EndsOf(either), c.either) << "symmetric difference, case " << &c - cases;
    }

    // With itself.
    SetR1 s = Make({{0, 1}, {near, 2}, {3, 3}});
    s.GetData()[0].external = true;
    EXPECT_TRUE(s.Intersect(s));
    EXPECT_EQ(EndsOf(s), (Ends{{0, 1}, {near, 2}, {3, 3}}));
    EXPECT_FALSE(s[0].external); // results carry no flags
    SetR1 t(s);
    EXPECT_FALSE(t.Subtract(t) || !t.IsEmpty() || s.SymmetricDifference(s) || !s.IsEmpty());
}

// Unite, the complement in a window and the algebra, on sets whose ends collide or come within
// EPS, against membership of points away from every end, a pairwise intersection, and the
// rules every result keeps.
TEST(SetR1Random, UniteComplementAndAlgebraMatchAPointModel) {
    EndMaker make(2024);
    for (int round = 0; round < 4000; ++round) {
        const std::vector<RangeR1> intervalsOfA = make.Intervals(false);
        const SetR1 a = OneByOne(intervalsOfA);
        const SetR1 b = OneByOne(make.Intervals(false));
        SetR1 both(a), aMinusB(a), either(a), gaps;
        both.Intersect(b);
        aMinusB.Subtract(b);
        either.SymmetricDifference(b);
        const double w0 = make.End(), w1 = make.End();
        a.GetComplimentarySet(RangeR1(std::min(w0, w1), std::max(w0, w1)), gaps);
        for (const SetR1* r : std::initializer_list<const SetR1*>{&a, &both, &aMinusB, &either}) {
            ASSERT_TRUE(WellMade(*r, a, b)) << "round " << round;
        }

        // Ends are halves from -1 to 5, give or take EPS: quarters lie well away from them.
        for (double x = -1.25; x < 5.5; x += 0.5) {
            const bool inA = std::any_of(intervalsOfA.begin(), intervalsOfA.end(),
                                         [x](const RangeR1& r) { return r.lo <= x && x <= r.hi; });
            const bool inB = Covers(b, x);
            ASSERT_EQ(Covers(a, x), inA) << "round " << round << " x " << x;
            const bool gap = std::min(w0, w1) < x && x < std::max(w0, w1) && !inA;
            ASSERT_EQ(Covers(gaps, x), gap) << "round " << round << " x " << x;
            ASSERT_EQ(Covers(both, x), inA && inB) << "round " << round << " x " << x;
            ASSERT_EQ(Covers(aMinusB, x), inA && !inB) << "round " << round << " x " << x;
            ASSERT_EQ(Covers(either, x), inA != inB) << "round " << round << " x " << x;
        }

        ASSERT_TRUE(Same(both, PairwiseIntersection(a, b))) << "round " << round;
        SetR1 bothOther(b), eitherOther(b);
        bothOther.Intersect(a);
        eitherOther.SymmetricDifference(a);
        ASSERT_TRUE(Same(both, bothOther) && Same(either, eitherOther)) << "round " << round;
        // What subtraction cuts is never shorter than EPS; what it takes lies in a.
        for (const RangeR1& r : aMinusB) {
            const bool whole = std::any_of(a.begin(), a.end(), [&r](const RangeR1& x) {
                return x.lo == r.lo && x.hi == r.hi;
            });
            ASSERT_TRUE(whole || r.hi - r.lo >= EPS) << "round " << round;
        }

        // Unordered sets, reversed intervals, flags and NaN give some set, and no harm.
        SetR1 odd = OneByOne(make.Intervals(true));
        odd.AddRange(make.End(), make.End());
        odd.Intersect(b);
        odd.Subtract(a);
        odd.SymmetricDifference(a);
    }
}
