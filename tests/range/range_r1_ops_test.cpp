#include "plinth/range/range_r1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <tuple>
#include <utility>

using namespace plinth;

namespace {

RangeR1 Ext(double a, double b) {
    RangeR1 r(a, b);
    r.external = true;
    return r;
}

bool IsInvalid(const RangeR1& r) {
    return r.lo == UNBOUNDED && r.hi == -UNBOUNDED;
}

using Ends = std::pair<double, double>;

Ends EndsOf(const RangeR1& r) {
    return {r.lo, r.hi};
}

// This interval after Intersect(r), and its result.
std::pair<RangeR1, bool> Intersected(RangeR1 a, const RangeR1& r) {
    const bool met = a.Intersect(r);
    return {a, met};
}

} // namespace

TEST(RangeR1Ops, IntersectAndSubtractAtTheToleranceAndWithTheFlag) {
    auto [copy, met] = Intersected(RangeR1(0, 10), Ext(2, 3));
    EXPECT_TRUE(met && copy.Is(2, 3, 0) && copy.external); // r strictly inside: a copy of r
    auto [none, noMeet] = Intersected(Ext(0, 10), RangeR1(11, 12));
    EXPECT_TRUE(!noMeet && IsInvalid(none) && none.external);

    // Touching within exactly EPS still meets; the result is reversed by EPS, not empty.
    auto [touch, touchMet] = Intersected(RangeR1(0, 10), RangeR1(10 + EPS, 12));
    EXPECT_TRUE(touchMet && touch.Is(10 + EPS, 10, 0));
    EXPECT_FALSE(Intersected(RangeR1(0, 10), RangeR1(10 + 2 * EPS, 12)).second);
    EXPECT_TRUE(Intersected(RangeR1(-10, 0), RangeR1(-5, -EPS)).first.Is(-5, 0, 0));
    EXPECT_TRUE(Intersected(RangeR1(0, 10), RangeR1(-EPS, 5)).first.Is(-EPS, 5, 0));
    EXPECT_TRUE(Intersected(RangeR1(0, 10), RangeR1(-2 * EPS, 5)).first.Is(0, 5, 0));

    RangeR1 a = Ext(2, 3);
    RangeR1 r(0, 10);
    EXPECT_EQ(a.Subtract(r), 0);
    EXPECT_TRUE(IsInvalid(a) && a.external);
    a = RangeR1(0, 10);
    r.Set(4, 4 + 5e-11); // shorter than EPS: nothing is cut
    EXPECT_EQ(a.Subtract(r), 1);
    EXPECT_TRUE(a.Is(0, 10, 0));
}

// Away from the tolerance both results depend only on the order of the four ends, and these
// are its six orders: b, then this after Intersect(b), this and b after Subtract(b).
TEST(RangeR1Ops, IntersectAndSubtractInEveryOrderOfTheEnds) {
    const Ends none{UNBOUNDED, -UNBOUNDED};
    const std::tuple<Ends, Ends, Ends, int, Ends, Ends> cases[] = {
        {{0, 10}, {11, 12}, none, 1, {0, 10}, {11, 12}},
        {{0, 10}, {5, 20}, {5, 10}, 1, {0, 5}, {5, 20}},
        {{0, 10}, {3, 5}, {3, 5}, 2, {0, 3}, {5, 10}},
        {{2, 3}, {0, 10}, {2, 3}, 0, none, {0, 10}},
        {{0, 10}, {-5, 3}, {0, 3}, 1, {3, 10}, {-5, 3}},
        {{0, 10}, {-5, -1}, none, 1, {0, 10}, {-5, -1}}};
    for (const auto& [a, b, common, pieces, rest, second] : cases) {
        SCOPED_TRACE(testing::Message() << a.first << " " << a.second << " " << b.first);
        RangeR1 i(a.first, a.second), s = i, r(b.first, b.second);
        EXPECT_EQ(i.Intersect(r), common != none);
        EXPECT_EQ(EndsOf(i), common);
        EXPECT_EQ(int{s.Subtract(r)}, pieces);
        EXPECT_EQ(EndsOf(s), rest);
        EXPECT_EQ(EndsOf(r), second);
    }
}

TEST(RangeR1Ops, IntersectAndSubtractMatchASimpleModel) {
    std::mt19937 gen(20240611);
    std::uniform_int_distribution<int> end(-20, 20);
    for (int iter = 0; iter < 5000; ++iter) {
        int v[4];
        do {
            for (int& x : v) {
                x = end(gen);
            }
        } while (v[0] == v[1] || v[0] == v[2] || v[0] == v[3] || v[1] == v[2] || v[1] == v[3] ||
                 v[2] == v[3]);
        const double alo = std::min(v[0], v[1]), ahi = std::max(v[0], v[1]);
        const double blo = std::min(v[2], v[3]), bhi = std::max(v[2], v[3]);
        SCOPED_TRACE(testing::Message() << alo << " " << ahi << " " << blo << " " << bhi);
        const bool meet = std::max(alo, blo) < std::min(ahi, bhi);

        const auto [i, met] = Intersected(RangeR1(alo, ahi), RangeR1(blo, bhi));
        EXPECT_EQ(met, meet);
        EXPECT_TRUE(meet ? i.Is(std::max(alo, blo), std::min(ahi, bhi), 0) : IsInvalid(i));

        RangeR1 s(alo, ahi);
        RangeR1 r(blo, bhi);
        const int n = s.Subtract(r);
        const bool left = meet && alo < blo;
        const bool right = meet && bhi < ahi;
        if (!meet) {
            EXPECT_TRUE(n == 1 && s.Is(alo, ahi, 0));
        } else if (left && right) {
            EXPECT_TRUE(n == 2 && s.Is(alo, blo, 0) && r.Is(bhi, ahi, 0));
        } else if (left || right) {
            EXPECT_TRUE(n == 1 && (left ? s.Is(alo, blo, 0) : s.Is(bhi, ahi, 0)));
        } else {
            EXPECT_TRUE(n == 0 && IsInvalid(s));
        }
    }
}

TEST(RangeR1Ops, InvertMapsZeroEndsToUnboundedOnes) {
    RangeR1 a = Ext(2, 4);
    EXPECT_TRUE(a.Invert() && a.Is(0.25, 0.5, 0) && a.external);
    a.Set(0, 0);
    EXPECT_TRUE(a.Invert() && a.lo == UNBOUNDED && a.hi == UNBOUNDED);
    a.Set(2, 1.7e308);
    EXPECT_TRUE(a.Invert() && a.Is(0, 0.5, 0));
    a.Set(5e-11, 5); // a zero end goes to the side opposite the other end's sign
    EXPECT_TRUE(a.Invert() && a.lo == -UNBOUNDED && a.hi == 0.2);
    a.Set(2, 1);
    EXPECT_TRUE(!a.Invert() && a.Is(2, 1, 0));
}

TEST(RangeR1Ops, ReshapingAndDistances) {
    RangeR1 a(1, 1 + 5e-11);
    a *= -1;
    EXPECT_TRUE(a.lo == -1 && a.hi < a.lo); // reversed by less than EPS: not swapped
    a.Set(0, 0);
    a.Center(RangeR1(0, 1.5 * EPS)); // not longer by 2 EPS: nothing happens
    EXPECT_TRUE(a.Is(0, 0, 0));
    a.Set(0, 10);
    a.AddMargin(RangeR1(1, 9), 1); // margins of exactly m are kept
    EXPECT_TRUE(a.Is(0, 10, 0));
    RangeR1 empty(2, 1);
    empty += Ext(5, 6);
    EXPECT_TRUE(empty.Is(5, 6, 0) && empty.external);

    EXPECT_EQ(RangeR1(0, 3).GetPoint(4, 3), 0); // 4 mod 4
    EXPECT_EQ(RangeR1(0, 3).GetPoint(5, -1), 0);
    EXPECT_EQ(RangeR1(0, 3).GetPoint(INT_MAX, INT_MAX), 3);
    EXPECT_EQ(RangeR1::ToRange(10, 0, -1), 0);
    EXPECT_EQ(Ext(0, 10).GetBestMatch(5), 10); // the flag is honoured

    double p = 42;
    EXPECT_EQ(RangeR1(0, 10).GetDist(12, &p), 2);
    EXPECT_EQ(p, 10);
    EXPECT_EQ(RangeR1(0, 10).GetDist(5, &p), -5);
    EXPECT_EQ(Ext(UNBOUNDED, UNBOUNDED).GetDist(7, &p), 0);
    EXPECT_EQ(p, 7);
    EXPECT_EQ(RangeR1().GetMaxDist(1, &p), UNBOUNDED);
    EXPECT_EQ(RangeR1(0, 10).GetMaxDist(5, &p), 5); // the centre itself measures to hi
    EXPECT_EQ(p, 10);
    EXPECT_EQ(RangeR1(0, 10).GetDist(RangeR1(10 + EPS, 12)), 0);
    EXPECT_EQ(RangeR1(0, 10).GetScale(RangeR1(4, 9), 5), 1.25);
    EXPECT_EQ(RangeR1(0, 10).GetScale(RangeR1(-1, 6), EPS), UNBOUNDED);
}

TEST(RangeR1Ops, OrderingTests) {
    EXPECT_EQ(RangeR1(0, 10).IsNearLimit(0.5, 0.5), eFalse); // non-strict
    EXPECT_TRUE(RangeR1(0, 10).IsApproaching(5, -1) && RangeR1(0, 10).IsApproaching(5, 1));
    EXPECT_EQ(RangeR1(5, 10).IsAfter(RangeR1(0, 20)), eUnknown);
    EXPECT_EQ(RangeR1(0, 6).IsAfter(RangeR1(5, 10)), eFalse);
    EXPECT_EQ(RangeR1(0, 6).IsAfterClosed(RangeR1(5, 10)), eTrue); // any real overlap
    EXPECT_EQ(RangeR1(0, 5).IsAfterClosed(RangeR1(5, 10)), eFalse);
    EXPECT_EQ(RangeR1(5, 5).IsAfterClosed(RangeR1(0, 5)), eTrue);
    EXPECT_EQ(RangeR1(5, 5).IsAfterClosed(RangeR1(5, 5)), eUnknown);
    EXPECT_EQ(RangeR1(0, 5).IsAfterClosed(RangeR1(5, 5)), eUnknown);
}

TEST(RangeR1Ops, Segmentation) {
    RangeR1 r(0, 4);
    bool e = true;
    int i = -1;
    EXPECT_TRUE(r.GetSegm(2.5, 4, &e) == 2 && !e);
    EXPECT_TRUE(r.GetSegm(3 - 5e-11, 4, &e) == 3 && e); // snapped onto the node
    e = false;
    EXPECT_TRUE(r.GetSegm(2.5, 0, &e) == 0 && !e);                  // n = 0 leaves exact alone
    EXPECT_TRUE(RangeR1(1, 1 + 2e-10).GetSegm(7, 4, &e) == 0 && e); // steps below EPS

    EXPECT_TRUE(r.GetNext(2.5, 4, &e, &i) == 3 && i == 3);
    EXPECT_TRUE(r.GetNext(3, 4, &e, &i) == 4 && i == 4);
    EXPECT_TRUE(r.GetNext(4, 4, &e, &i) == 0 && i == 4); // after the last node comes lo
    EXPECT_TRUE(r.GetUpper(3, 4, &e) == 3 && e);
    EXPECT_TRUE(r.GetUpper(2.5, 4, &e) == 3 && !e);
    EXPECT_EQ(r.GetUpper(2.5, 0, &e), 0);
    RangeR1 seg = Ext(7, 7);
    RangeR1(0, 3).GetSegment(3, 3, seg); // the segment after the last node wraps to lo
    EXPECT_TRUE(seg.Is(3, 0, 0) && seg.external);

    int n = 0;
    r.Set(0, 3);
    r.Setup(1, n);
    EXPECT_TRUE(n == 4 && r.Is(0, 4, 0)); // an exact fit gets one more step
    r.Set(2.2, 5);
    double origin = 7.5; // above lo: moved below it first
    r.Setup(1, n, &origin);
    EXPECT_TRUE(n == 4 && r.Is(1.5, 5.5, 1e-12));
    r.Align(EPS, 0.3);
    EXPECT_NEAR(r.lo, 1.5, 1e-12);

    const RangeR1 u(0, 1);
    EXPECT_NEAR(u.GetArcSingilarSamplingPt(1, 4, true), 0.0761, 1e-4);
    EXPECT_NEAR(u.GetArcSingilarSamplingPt(1, 4, false), 0.3827, 1e-4);
    EXPECT_EQ(u.GetArcSingilarSamplingPt(4, 4, false), 1);
}
