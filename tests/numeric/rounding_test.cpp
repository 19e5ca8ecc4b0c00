#include "plinth/numeric/double_vel.h"
#include "plinth/numeric/rounding.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

using namespace plinth;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const int kMax = std::numeric_limits<int>::max();
const int kMin = std::numeric_limits<int>::min();
} // namespace

TEST(Quotients, TruncateTowardZeroSnapWithinEpsAndSaturate) {
    // a, b, then zModulod, zFactorN and zCeilN. Just below 6 the next multiple snaps; just
    // above it nothing does, as nearness to the truncated quotient itself is not tested.
    const std::tuple<double, double, double, int, int> cases[] = {
        {7, 2, 1, 3, 4},         {-7, 2, -1, -3, -2},          {6, 2, 0, 3, 3},
        {0.3, 0.1, 0, 3, 3},     {6 - 5e-11, 2, 0, 3, 3},      {6.00000000001, 2, 1e-11, 3, 3},
        {-6.5, 0, -6.5, -6, -6}, {3e10 + 1, 3, 1, kMax, kMax}, {-1e20, 1, 0, kMin, kMin}};
    for (const auto& [a, b, remainder, factor, ceil] : cases) {
        EXPECT_NEAR(zModulod(a, b), remainder, 1e-12) << a << " " << b;
        EXPECT_EQ(zFactorN(a, b), factor) << a << " " << b;
        EXPECT_EQ(zCeilN(a, b), ceil) << a << " " << b;
    }
    EXPECT_EQ(zFactorN(kNaN, 1), 0);
    EXPECT_EQ(zModulod(6.95, 1, 0.1), 0.0);
    EXPECT_EQ(zModulod(6.5, 1, 0.5), 0.5); // the given tolerance is strict too
    EXPECT_EQ(zFloor(0.3, 0.1), 0.3);
    EXPECT_NEAR(zCeil(0.3, 0.1), 0.2, 1e-12); // no snapping
    EXPECT_EQ(zTo02Pi(-0.5), TWO_PI - 0.5);
    EXPECT_EQ(zTo02Pi(7), 7 - TWO_PI);
}

TEST(Rounding, HalvesRoundDown) {
    // x, zRound, zStickyFloor
    const std::tuple<double, int, int> cases[] = {
        {2.5, 2, 2},   {-2.5, -3, -3},     {2.6, 3, 2}, {2.99999999999, 3, 3},
        {-0.3, 0, -1}, {1e20, kMax, kMax}, {kNaN, 0, 0}};
    for (const auto& [x, round, sticky] : cases) {
        EXPECT_EQ(zRound(x), round) << x;
        EXPECT_EQ(zStickyFloor(x), sticky) << x;
    }
    EXPECT_EQ(DoubleVel::Round(1.2345, 2), 1.23);
    EXPECT_EQ(DoubleVel::Round(0.125, 2), 0.12);
    EXPECT_EQ(DoubleVel::Round(1.23456, 3), 1.235);
    EXPECT_EQ(DoubleVel::Round(3e9 + 0.75, 0), 3e9 + 1); // not limited to 32 bits
}

TEST(DoubleVel, RatioAndSignTests) {
    EXPECT_TRUE(DoubleVel::IsRatio(-1e-6, 1e-6));
    EXPECT_FALSE(DoubleVel::IsRatio(-2e-6, 1e-6));
    EXPECT_FALSE(DoubleVel::IsNegative(-3, false, true, 1e-6));
    EXPECT_TRUE(DoubleVel::IsNegative(3, false, true, 1e-6));
    EXPECT_TRUE(DoubleVel::IsNegative(1e-9, true, true, 1e-6));
    EXPECT_TRUE(DoubleVel::IsNegative(1e-6, false, false, 1e-6)); // |x| == tol is not zero
}
