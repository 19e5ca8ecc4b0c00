#include "plinth/numeric/double_vel.h"
#include "plinth/numeric/rounding.h"

#include <gtest/gtest.h>

#include <limits>

using namespace plinth;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const int kIntMax = std::numeric_limits<int>::max();
const int kIntMin = std::numeric_limits<int>::min();
} // namespace

TEST(ZModulod, SignFollowsAAndNeighbouringMultiplesSnapToZero) {
    EXPECT_EQ(zModulod(7, 2), 1);
    EXPECT_EQ(zModulod(-7, 2), -1);
    EXPECT_EQ(zModulod(5, 0), 5);
    EXPECT_EQ(zModulod(0.3, 0.1), 0.0);
    EXPECT_EQ(zModulod(6 - 5e-11, 2), 0.0);
    EXPECT_GT(zModulod(6 + 5e-11, 2), 0.0); // nearness to n itself is not tested
    EXPECT_EQ(zModulod(6.95, 1, 0.1), 0.0);
    EXPECT_EQ(zModulod(6.5, 1, 0.5), 0.5);
    EXPECT_EQ(zModulod(3e10 + 1, 3), 1); // quotient beyond 32 bits
    EXPECT_EQ(zFloor(0.3, 0.1), 0.3);
    EXPECT_NEAR(zCeil(0.3, 0.1), 0.2, 1e-12); // no snapping
}

TEST(ZFactorN, TruncatesTowardZeroSnapsAndSaturates) {
    EXPECT_EQ(zFactorN(0.3, 0.1), 3);
    EXPECT_EQ(zFactorN(7, 2), 3);
    EXPECT_EQ(zFactorN(-7, 2), -3);
    EXPECT_EQ(zFactorN(6 - 5e-11, 2), 3);
    EXPECT_EQ(zFactorN(-6.5, 0), -6);
    EXPECT_EQ(zFactorN(1e20, 1), kIntMax);
    EXPECT_EQ(zFactorN(-1e20, 1), kIntMin);
    EXPECT_EQ(zFactorN(kNaN, 1), 0);
}

TEST(ZCeilN, AnAlmostExactFitCountsAsExact) {
    EXPECT_EQ(zCeilN(7, 2), 4);
    EXPECT_EQ(zCeilN(6, 2), 3);
    EXPECT_EQ(zCeilN(6.00000000001, 2), 3);
    EXPECT_EQ(zCeilN(6 - 5e-11, 2), 3);
}

TEST(ZTo02Pi, MovesIntoOneTurnFromZero) {
    EXPECT_EQ(zTo02Pi(-0.5), TWO_PI - 0.5);
    EXPECT_EQ(zTo02Pi(7), 7 - TWO_PI);
}

TEST(Rounding, HalvesRoundDown) {
    EXPECT_EQ(zRound(2.5), 2);
    EXPECT_EQ(zRound(-2.5), -3);
    EXPECT_EQ(zRound(2.6), 3);
    EXPECT_EQ(zRound(1e20), kIntMax);
    EXPECT_EQ(zRound(kNaN), 0);
    EXPECT_EQ(DoubleVel::Round(1.2345, 2), 1.23);
    EXPECT_EQ(DoubleVel::Round(0.125, 2), 0.12);
    EXPECT_EQ(DoubleVel::Round(1.23456, 3), 1.235);
    EXPECT_EQ(DoubleVel::Round(3e9 + 0.75, 0), 3e9 + 1); // not limited to 32 bits
    EXPECT_EQ(zStickyFloor(2.99999999999), 3);
    EXPECT_EQ(zStickyFloor(2.7), 2);
    EXPECT_EQ(zStickyFloor(-0.3), -1);
    EXPECT_EQ(zStickyFloor(2.5), 2);
}

TEST(DoubleVel, RatioAndSignTests) {
    EXPECT_TRUE(DoubleVel::IsRatio(-1e-6, 1e-6));
    EXPECT_FALSE(DoubleVel::IsRatio(-2e-6, 1e-6));
    EXPECT_FALSE(DoubleVel::IsNegative(-3, false, true, 1e-6));
    EXPECT_TRUE(DoubleVel::IsNegative(3, false, true, 1e-6));
    EXPECT_TRUE(DoubleVel::IsNegative(1e-9, true, true, 1e-6));
    EXPECT_TRUE(DoubleVel::IsNegative(1e-6, false, false, 1e-6)); // |x| == tol is not zero
}
