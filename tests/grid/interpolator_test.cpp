#include "plinth/grid/interpolator.h"
#include "plinth/range/range_r1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

using namespace plinth;

namespace {

// Uniform unless abscissae are given.
Interpolator Samples(std::initializer_list<double> ys, std::initializer_list<double> xs = {}) {
    Interpolator in(2, xs.size() == 0);
    std::copy(ys.begin(), ys.end(), in.y);
    std::copy(xs.begin(), xs.end(), in.x);
    return in;
}

} // namespace

TEST(Interpolator, QuadraticThroughTheFirstThreeSamples) {
    const Interpolator sq = Samples({0, 1, 4, 9}); // t squared
    EXPECT_TRUE(sq.m() == 2 && sq.H() == 0 && sq.GetDerivativeAitkenOrd2(1.5) == 3);
    EXPECT_TRUE(sq.GetQuadric(3) == 9 && sq.aitken(3, 2) == 9 && sq.Delta(2, 0) == 1);
    EXPECT_TRUE(sq.Del(2, 1) == 2 && sq.aitken(7, 0) == 0);
    double t = 7, u = 7;
    EXPECT_TRUE(sq.GetExtremumParamAitken(t) && t == 0 && sq.GetExtremumParam(u) && u == 0);

    const Interpolator in = Samples({1, 0, 4}, {0, 1, 3});
    EXPECT_TRUE(in.m() == 3 && in.H() == -6 && in.GetQuadric(3) == 4);
    EXPECT_TRUE(in.GetExtremumParamAitken(t) && t == 1 && in.GetExtremumParam(t) && t == 1);

    const Interpolator flat = Samples({5, 5, 5});
    double value = 7;
    EXPECT_TRUE(!flat.GetExtremumParamAitken(t) && t == 1);
    EXPECT_TRUE(!flat.GetInternalMinMax(RangeR1(-10, 10), value) && value == 7);
    EXPECT_TRUE(!flat.GetExtremumParam(t) && t == 0);
}

TEST(Interpolator, DividedDifferencesAndDegenerateSpans) {
    Interpolator cubic = Samples({0, 0.125, 8, 27, 91.125}, {0, 0.5, 2, 3, 4.5});
    EXPECT_NEAR(cubic.Delta(3, 1), 1, 1e-12); // the leading coefficient
    EXPECT_NEAR(cubic.Delta(4, 0), 0, 1e-12);
    EXPECT_EQ(cubic.aitken(1, 1), 0.125); // unit nodes, whatever the stored abscissae

    cubic.x[1] = EPS; // a span of EPS is degenerate, one just above it is not
    const double degenerate = cubic.Delta(1, 0);
    cubic.x[1] = 2 * EPS;
    EXPECT_TRUE(degenerate == UNBOUNDED && cubic.Delta(1, 0) == 0.125 / (2 * EPS));
    EXPECT_TRUE(cubic.Delta(2, 28) == UNBOUNDED && cubic.Delta(0, 0) == UNBOUNDED);
    EXPECT_TRUE(cubic.aitken(0, 30) == UNBOUNDED && cubic.aitken(0, -1) == UNBOUNDED);
    EXPECT_TRUE(cubic.X(30) == UNBOUNDED && cubic.d(29) == UNBOUNDED);
}

TEST(Interpolator, InternalMinMaxOnlyStrictlyInside) {
    const Interpolator in = Samples({1, 0, 1});
    double value = 7;
    EXPECT_TRUE(in.GetInternalMinMax(RangeR1(0, 2), value) && value == 0);
    EXPECT_FALSE(in.GetInternalMinMax(RangeR1(1 + 0.5 * EPS, 2), value)); // on the boundary
    EXPECT_TRUE(in.GetInternalMinMax(RangeR1(1 - 2 * EPS, 2), value));

    const Interpolator skew = Samples({2, 0, 1}); // minimum at 7/6, value -1/24
    EXPECT_TRUE(skew.GetInternalMinMax(RangeR1(0, 2), value));
    EXPECT_NEAR(value, -1.0 / 24, 1e-12);
}
