#include "plinth/numeric/constants.h"
#include "plinth/numeric/nik.h"
#include "plinth/numeric/tolerance.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <utility>

using namespace plinth;

TEST(Constants, AngularConstantsAreExactlyDerivedFromTheFifteenDigitPi) {
    volatile double pi = PI;             // keeps the arithmetic at run time
    EXPECT_EQ(PI, 0x1.921fb54442d11p+1); // not the double nearest to pi
    EXPECT_EQ(TWO_PI, 2 * pi);
    EXPECT_EQ(DEG_TO_RAD, pi / 180);
    EXPECT_EQ(RAD_TO_DEG, 180 / pi);
}

TEST(ZEqual, StrictlyWithinEpsAndOnlyBIsClassifiedAsInfinite) {
    EXPECT_TRUE(zEqual(1.0, 1.0 + 5e-11));
    EXPECT_FALSE(zEqual(1.0, 1.0 + 1e-10));
    EXPECT_FALSE(zEqual(0.0, EPS));
    EXPECT_FALSE(zEqual(std::numeric_limits<double>::quiet_NaN(), 1.0));
    EXPECT_TRUE(zEqual(1.65e308, 1.7e308));
    EXPECT_TRUE(zEqual(-1.65e308, -UNBOUNDED));
    EXPECT_FALSE(zEqual(1e300, 1.7e308));
    EXPECT_FALSE(zEqual(1.7e308, 1e300));
    EXPECT_FALSE(zEqual(1.65e308, INF_BOUND)); // INF_BOUND itself is finite as b
    EXPECT_EQ(zSign(5e-11), eUnknown);         // the zero band is open at EPS
    EXPECT_EQ(zSign(-1), eFalse);
    EXPECT_EQ(zSign(2), eTrue);
    EXPECT_EQ(zSign(EPS), eTrue);
}

TEST(ZGetRangeLocn, ClassifiesInTheGivenOrder) {
    EXPECT_EQ(zGetRangeLocn(5, 0, 10), eRangeInside);
    EXPECT_EQ(zGetRangeLocn(0, 0, 10), eRangeAtStart);
    EXPECT_EQ(zGetRangeLocn(10, 0, 10), eRangeAtEnd);
    EXPECT_EQ(zGetRangeLocn(-1, 0, 10), eRangeBefore);
    EXPECT_EQ(zGetRangeLocn(11, 0, 10), eRangeAfter);
    EXPECT_EQ(zGetRangeLocn(EPS, 0, 10), eRangeAtEnd);        // exactly EPS above lo
    EXPECT_EQ(zGetRangeLocn(5e-11, 0, 1e-10), eRangeAtStart); // no inside, near both ends
    EXPECT_EQ(zGetRangeLocn(5, 10, 0), eRangeBefore);         // bounds are not reordered
}

TEST(ZShrinkRange, ComparesWithTheWholeLength) {
    auto shrink = [](double lo, double hi, double d) {
        zShrinkRange(lo, hi, d);
        return std::make_pair(lo, hi);
    };
    EXPECT_EQ(shrink(0, 10, 3), std::make_pair(3.0, 7.0));
    EXPECT_EQ(shrink(0, 10, 11), std::make_pair(0.0, 10.0));
    EXPECT_EQ(shrink(0, 10, 8), std::make_pair(8.0, 2.0));
    EXPECT_EQ(shrink(0, 10, 10), std::make_pair(10.0, 0.0));
}

TEST(Nik, StrayValuesReadAsFalse) {
    const ENik stray = static_cast<ENik>(5);
    EXPECT_EQ(Nik::Not(eUnknown), eUnknown);
    EXPECT_EQ(Nik::Not(eTrue), eFalse);
    EXPECT_EQ(Nik::Not(stray), eTrue);
    EXPECT_EQ(Nik::ToString(eUnknown), "eUnknown");
    EXPECT_EQ(TriStateAlg::ToString(eTrue), "eTrue");
    EXPECT_EQ(Nik::ToString(stray), "eFalse");
    EXPECT_EQ(TriStateAlg::IntToNik(7), eFalse);
    EXPECT_EQ(TriStateAlg::IntToNik(-1), eUnknown);
    EXPECT_EQ(TriStateAlg::IntTo3State(-2), eVel3False);
}

TEST(MatrIsValidVar, AcceptsOnlyTheBytesZeroAndOne) {
    EXPECT_TRUE(matrIsValidVar(false) && matrIsValidVar(true));
    bool corrupt; // written and inspected only as a byte, never read as a bool
    const unsigned char two = 2;
    std::memcpy(&corrupt, &two, 1);
    EXPECT_FALSE(matrIsValidVar(corrupt));
}
