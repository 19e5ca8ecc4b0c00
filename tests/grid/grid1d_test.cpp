#include "plinth/grid/grid1d.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace plinth;

namespace {

bool Is(const Grid1D& g, double lo, double hi, int n) {
    return g.GetRange().lo == lo && g.GetRange().hi == hi && g.GetSegmentCount() == n;
}

} // namespace

TEST(Grid1D, ConstructionAndLocation) {
    const Grid1D g(0, 10, 5);
    EXPECT_TRUE(g.GetStep() == 2 && g.GetKnotCount() == 6 && g.GetKnot(3) == 6);
    for (const Grid1D& bad : {Grid1D(5, 5, 3), Grid1D(0, EPS, 3), Grid1D(0, 1, 0)}) {
        EXPECT_TRUE(Is(bad, UNBOUNDED, -UNBOUNDED, 0) && bad.GetKnotCount() == 0);
        EXPECT_EQ(bad.GetStep(), UNBOUNDED);
    }
    EXPECT_TRUE(Is(Grid1D(0, 2 * EPS, 1), 0, 2 * EPS, 1) && Grid1D(RangeR1(1, 4)).GetKnot(7) == 1);

    EXPECT_TRUE(g.IsKnot(4) && g.IsKnot(4 + 5e-11) && !g.IsKnot(4 + 2e-10) && !g.IsKnot(5));
    EXPECT_TRUE(g.IsKnot(10) && !g.IsKnot(-2) && !Grid1D().IsKnot(0));
    EXPECT_TRUE(g.GetNearestKnot(5) == 3 && g.GetNearestKnot(4.9) == 2); // half-way goes up
    EXPECT_TRUE(g.GetNearestKnot(-2.5) == -1 && g.GetNearestKnot(-0.5) == 0);

    RangeInt cover;
    g.GetCoverSet(RangeR1(3, 10), cover);
    EXPECT_TRUE(cover.lo == 1 && cover.hi == 4); // hi's segment 5 lowered to the last one
    EXPECT_TRUE(g.GetFirstKnotIn(RangeR1(3, 7)) == 2 && g.GetFirstKnotIn(RangeR1(4.5, 5)) == -1);
    EXPECT_EQ(g.GetFirstKnotIn(RangeR1(4 + 5e-11, 7)), 2);
}

TEST(Grid1D, KnotsWithTheEndsOfARangeAndInternalKnots) {
    const Grid1D g(0, 10, 5);
    const RangeR1 r(-1, 11); // the sequence -1 | 0 2 4 6 8 10 | 11
    EXPECT_TRUE(g.GetKnotAll(0, r) == -1 && g.GetKnotAll(3, r) == 4 && g.GetKnotAll(7, r) == 11);
    const std::tuple<double, int, bool> cases[] = {
        {-1, 0, true}, {-0.5, 0, false}, {3, 2, false}, {4, 3, true},
        {10, 6, true}, {10.5, 6, false}, {11, 7, true}};
    for (const auto& [x, index, onKnot] : cases) {
        bool atKnot = !onKnot;
        EXPECT_TRUE(g.FindRangeAll(x, r, atKnot) == index && atKnot == onKnot) << x;
    }

    const std::tuple<double, double, double, double, int> inside[] = {
        {1, 6, 2, 4, 1}, {2, 6, 4, 4, 0}, {2.5, 3, 4, 3, 0}}; // the last one empty
    for (const auto& [a, b, lo, hi, n] : inside) {
        Grid1D out(g); // the grid asked is also the one written
        out.GetInternalKnots(RangeR1(a, b), out);
        EXPECT_TRUE(Is(out, lo, hi, n)) << a;
    }
}

TEST(Grid1D, ReshapingKeepsTheStep) {
    const std::tuple<double, ENik, double, int> steps[] = {
        {3, eFalse, 12, 4},   {3, eTrue, 9, 3},    {3, eUnknown, 10, 3}, {3, ENik{7}, 9, 3},
        {2.5, eFalse, 10, 4}, {10, eFalse, 10, 5}, {0, eFalse, 10, 5}};
    for (const auto& [h, mode, hi, n] : steps) {
        Grid1D g(0, 10, 5);
        g.SetStepSize(h, mode);
        EXPECT_TRUE(Is(g, 0, hi, n)) << h << " " << mode;
    }
    const std::tuple<double, double, double, int> includes[] = {
        {13, 0, 14, 7}, {-3, -4, 10, 7}, {12, 0, 12, 6}, {10 + 5e-11, 0, 10, 5}};
    for (const auto& [x, lo, hi, n] : includes) {
        Grid1D g(0, 10, 5);
        g.Include(x);
        EXPECT_TRUE(Is(g, lo, hi, n)) << x;
    }

    Grid1D g(0, 10, 5);
    EXPECT_TRUE(g.Align(5, false) == 3 && Is(g, -1, 9, 5));
    EXPECT_TRUE(g.Align(5, true) == 3 && Is(g, -1, 9, 5)); // already a knot
    g = Grid1D(0, 10, 5);
    EXPECT_TRUE(g.Align(5, true) == 3 && Is(g, -1, 11, 6));
    g.SetSegmentCountEx(10, true);
    g.SetSegmentCountEx(5, false);
    EXPECT_TRUE(Is(g, 9, 19, 5));

    double x = -3;
    g = Grid1D(0, 10, 5);
    g.Snap(x);
    EXPECT_TRUE(x == -2 && Is(g, -4, 10, 7));
}
