#include "support/archive_bytes.h"

#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"
#include "plinth/range/set_r1.h"
#include "plinth/range/set_r1_spaced.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numeric>
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

// Ends lie on the grid k / 4, from 0 to about 60; samples lie at odd multiples of 1 / 16 from
// just below 0, so that no sample is an end and tolerances play no part.
constexpr int gridPoints = 160;
constexpr int samples = 8 * 60;

double Sample(int s) {
    return (s + 0.5) / 8 - 1;
}

const Ends twoGaps = {{0, 1}, {3, 4}};

// A set, the two ends of an interval, and the expected result.
struct Case {
    Ends set;
    double a, b;
    Ends result;
};

} // namespace

TEST(SetR1, UniteMergesIntoTheOrderedSet) {
    const Case cases[] = {
        {{}, 1, 2, {{1, 2}}},
        {twoGaps, 5, 6, {{0, 1}, {3, 4}, {5, 6}}},     // past the end: appended
        {twoGaps, 1.5, 2, {{0, 1}, {1.5, 2}, {3, 4}}}, // in a gap: inserted
        {twoGaps, 2, 10, {{0, 1}, {2, 10}}},           // reaching past the last
        {twoGaps, 0.5, 3.5, {{0, 4}}},
        {twoGaps, -1, 0.5, {{-1, 1}, {3, 4}}},
        {twoGaps, 1, 3, {{0, 4}}}, // touching both
        {{{3, 4}, {6, 7}, {12, 13}}, 1, 10, {{1, 10}, {12, 13}}},
        {{{0, 1}, {3, 4}, {6, 7}, {9, 10}}, 0.5, 9.5, {{0, 10}}},
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

    const Case cases[] = {
        {twoGaps, -1, 10, {{-1, 0}, {1, 3}, {4, 10}}},
        {twoGaps, 1.5, 10, {{1.5, 3}, {4, 10}}},
        {twoGaps, 0.5 * EPS, 4 - 0.5 * EPS, {{1, 3}}}, // no slivers at the ends
        {{}, -1, 10, {{-1, 10}}},
        {{{0, 1}, {2, 3}, {4, 5}}, 1.5, 10, {{1.5, 2}, {3, 4}, {5, 10}}},
        {twoGaps, 0.2, 0.8, {}},
    };
    for (const Case& c : cases) {
        SetR1 out = Make({{7, 8}, {9, 9.5}, {11, 12}, {13, 14}}); // replaced
        Make(c.set).GetComplimentarySet(RangeR1(c.a, c.b), out);
        EXPECT_EQ(EndsOf(out), c.result) << c.a << " " << c.b;
    }
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

// Unite and GetComplimentarySet against a model that marks sample points.
TEST(SetR1Random, UniteAndComplementMatchAPointModel) {
    std::mt19937 random(20240611u);
    const auto gridValue = [&random] { return static_cast<int>(random() % gridPoints) / 4.0; };

    for (int round = 0; round < 200; ++round) {
        SetR1 set;
        std::array<bool, samples> covered{};
        const int n = 1 + static_cast<int>(random() % 24);
        for (int k = 0; k < n; ++k) {
            const double a = gridValue();
            const double b = a + static_cast<int>(random() % 24) / 4.0; // sometimes a point
            set.Unite(RangeR1(a, b));
            for (int s = 0; s < samples; ++s) {
                covered[s] = covered[s] || (a <= Sample(s) && Sample(s) <= b);
            }
        }
        ASSERT_TRUE(set.IsValid());
        for (INT_PTR i = 1; i < set.GetSize(); ++i) {
            ASSERT_GT(set[i].lo, set[i - 1].hi) << "round " << round;
        }

        const double w0 = gridValue();
        const double w1 = w0 + static_cast<int>(random() % 80) / 4.0;
        SetR1 gaps;
        set.GetComplimentarySet(RangeR1(w0, w1), gaps);
        for (int s = 0; s < samples; ++s) {
            const double x = Sample(s);
            ASSERT_EQ(set.FindRange(x) >= 0, covered[s]) << "round " << round << " x " << x;
            const bool gap = w0 < x && x < w1 && !covered[s];
            ASSERT_EQ(gaps.FindRange(x) >= 0, gap) << "round " << round << " x " << x;
        }
    }
}

namespace {

// The same elements, bit for bit (0 and -0 differ), flags included.
bool SameBits(const SetR1& x, const SetR1& y) {
    if (x.GetSize() != y.GetSize()) {
        return false;
    }
    for (INT_PTR i = 0; i < x.GetSize(); ++i) {
        if (std::memcmp(&x[i].lo, &y[i].lo, sizeof(double)) != 0 ||
            std::memcmp(&x[i].hi, &y[i].hi, sizeof(double)) != 0 ||
            x[i].external != y[i].external) {
            return false;
        }
    }
    return true;
}

// Ends that collide often: a coarse grid, nudged now and then by less than EPS either way,
// with 0 and -0; rarely something the sweep must leave to the one-by-one path.
class EndMaker {
public:
    explicit EndMaker(unsigned seed)
        : m_random(seed) {}

    unsigned Pick(unsigned n) { return m_random() % n; }

    double End() {
        double x = static_cast<int>(Pick(13)) / 2.0 - 1; // -1 to 5 in halves
        switch (Pick(8)) {
        case 0:
            x += 0.5 * EPS;
            break;
        case 1:
            x -= 0.7 * EPS;
            break;
        case 2:
            x = Pick(2) == 0 ? 0.0 : -0.0;
            break;
        default:
            break;
        }
        return x;
    }

    RangeR1 Interval(bool rarelyOdd) {
        const double a = End();
        const double b = End();
        RangeR1 r(std::min(a, b), std::max(a, b));
        if (rarelyOdd && Pick(40) == 0) {
            switch (Pick(3)) {
            case 0:
                std::swap(r.lo, r.hi); // reversed
                break;
            case 1:
                r.external = true;
                break;
            default:
                r.hi = std::nan("");
                break;
            }
        }
        return r;
    }

    std::vector<RangeR1> Intervals(bool rarelyOdd) {
        std::vector<RangeR1> v(Pick(12));
        for (RangeR1& r : v) {
            r = RangeR1(); // operator= would keep a default element that already agrees
            const RangeR1 made = Interval(rarelyOdd);
            r.lo = made.lo;
            r.hi = made.hi;
            r.external = made.external;
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

} // namespace

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
        ASSERT_TRUE(SameBits(bulk, expected)) << "UniteAll, round " << round;

        const SetR1 other = OneByOne(make.Intervals(make.Pick(20) == 0));
        SetR1 merged(start);
        merged.Unite(other);
        SetR1 oneByOne(start); // a fresh copy: Copy would keep ends that agree within EPS
        for (INT_PTR i = 0; i < other.GetSize(); ++i) {
            oneByOne.Unite(other[i]);
        }
        ASSERT_TRUE(SameBits(merged, oneByOne)) << "Unite(set), round " << round;
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

TEST(SetR1, IterationWalksTheIntervalsInIndexOrder) {
    const SetR1 empty;
    EXPECT_EQ(empty.begin(), empty.end());

    SetR1 s = Make({{0, 1}, {3, 4}, {6, 8}});
    const auto byLo = [](const RangeR1& x, const RangeR1& y) { return x.lo < y.lo; };
    EXPECT_TRUE(std::is_sorted(s.begin(), s.end(), byLo));
    EXPECT_EQ(std::accumulate(s.begin(), s.end(), 0.0,
                              [](double sum, const RangeR1& r) { return sum + r.GetSize(); }),
              4.0);
    const auto at =
        std::find_if(s.begin(), s.end(), [](const RangeR1& r) { return r.In(3.5, EPS); });
    EXPECT_EQ(at - s.begin(), s.FindRange(3.5));
    for (RangeR1& r : s) {
        r.Translate(1);
    }
    EXPECT_EQ(EndsOf(s), (Ends{{1, 2}, {4, 5}, {7, 9}}));
}

// Each operation on two sets, and what it gives.
struct AlgebraCase {
    Ends a, b;
    Ends both, aMinusB, either;
};

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
        {{{0, 1}, {2, 3}, {4, 5}},
         {{-1, 6}},
         {{0, 1}, {2, 3}, {4, 5}},
         {},
         {{-1, 0}, {1, 2}, {3, 4}, {5, 6}}},
        {{}, {{0, 1}}, {}, {}, {{0, 1}}},
        {{{0, 1}}, {}, {}, {{0, 1}}, {{0, 1}}},
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
    EXPECT_FALSE(t.Subtract(t));
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_FALSE(s.SymmetricDifference(s));
    EXPECT_TRUE(s.IsEmpty());
}

namespace {

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

// The same ends, 0 and -0 alike.
bool SameEnds(const SetR1& x, const SetR1& y) {
    return std::equal(
        x.begin(), x.end(), y.begin(), y.end(),
        [](const RangeR1& p, const RangeR1& q) { return p.lo == q.lo && p.hi == q.hi; });
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

} // namespace

// Sets whose ends collide or come within EPS, against membership of points away from every
// end, a pairwise intersection, and the rules every result keeps.
TEST(SetR1Random, AlgebraMatchesAPointModelAndKeepsTheSetOrdered) {
    EndMaker make(2024);
    for (int round = 0; round < 4000; ++round) {
        const SetR1 a = OneByOne(make.Intervals(false));
        const SetR1 b = OneByOne(make.Intervals(false));
        SetR1 both(a);
        both.Intersect(b);
        SetR1 aMinusB(a);
        aMinusB.Subtract(b);
        SetR1 either(a);
        either.SymmetricDifference(b);
        ASSERT_TRUE(WellMade(both, a, b)) << "round " << round;
        ASSERT_TRUE(WellMade(aMinusB, a, b)) << "round " << round;
        ASSERT_TRUE(WellMade(either, a, b)) << "round " << round;

        // Ends are halves from -1 to 5, give or take EPS: quarters lie well away from them.
        for (double x = -1.25; x < 5.5; x += 0.5) {
            const bool inA = Covers(a, x);
            const bool inB = Covers(b, x);
            ASSERT_EQ(Covers(both, x), inA && inB) << "round " << round << " x " << x;
            ASSERT_EQ(Covers(aMinusB, x), inA && !inB) << "round " << round << " x " << x;
            ASSERT_EQ(Covers(either, x), inA != inB) << "round " << round << " x " << x;
        }

        ASSERT_TRUE(SameEnds(both, PairwiseIntersection(a, b))) << "round " << round;
        SetR1 bothOther(b);
        bothOther.Intersect(a);
        ASSERT_TRUE(SameEnds(both, bothOther)) << "round " << round;
        SetR1 eitherOther(b);
        eitherOther.SymmetricDifference(a);
        ASSERT_TRUE(SameEnds(either, eitherOther)) << "round " << round;
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
