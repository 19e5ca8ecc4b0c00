#include "plinth/circle/s1.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace plinth;

namespace {

// The list after inserting a into a list of the given angles.
std::vector<double> Inserted(const std::vector<double>& start, double a) {
    CList<S1, S1> list;
    for (double x : start) {
        list.AddTail(S1(x));
    }
    S1(a).InsertSorted(list);
    std::vector<double> v;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        v.push_back(list.GetNext(pos).GetAngle());
    }
    return v;
}

} // namespace

TEST(S1, NormalisationPinsTheSeamToPlusPi) {
    EXPECT_NEAR(S1(1.5 * PI).GetAngle(), -0.5 * PI, 1e-15);
    EXPECT_NEAR(S1(-1.5 * PI).GetAngle(), 0.5 * PI, 1e-15);
    for (double seam : {-PI, PI, 3 * PI, PI + 5e-11, -PI + 5e-11}) {
        EXPECT_EQ(S1(seam).GetAngle(), PI) << seam;
    }
    EXPECT_NE(S1(-PI + 2e-10).GetAngle(), PI); // beyond EPS: kept
    EXPECT_EQ(S1::Factorize(PI - 5e-11), PI - 5e-11);
    EXPECT_NEAR(S1::FactorizeDeg(270), -90, 1e-12);
    EXPECT_FALSE(S1(std::numeric_limits<double>::quiet_NaN()).IsValid());

    S1 a(1);
    EXPECT_FALSE(a.Translate(5e-11));
    EXPECT_EQ(a.GetAngle(), S1(1).GetAngle());
    double v = 3;
    EXPECT_EQ(S1::Increment(v, 7), 10 - TWO_PI); // one correction only, still above UPPER
}

TEST(S1, BoundsAreTheExactLiterals) {
    EXPECT_TRUE(S1::IsValid(3.14159265368979) && S1::IsValid(-3.14159265348979));
    EXPECT_FALSE(S1::IsValid(std::nextafter(S1::UPPER, 4.0)));
    EXPECT_FALSE(S1::IsValid(std::nextafter(S1::LOWER, -4.0)));
    EXPECT_TRUE(!S1::IsValid(-PI) && S1::IsValidExt(-PI) && !S1::IsValidExt(-PI - EPS));
    EXPECT_FALSE(S1::InRange(S1::UPPER) || S1::InRange(S1::LOWER)); // strict

    EXPECT_TRUE(S1::Equal(PI, -PI, false) && !S1::Equal(0, TWO_PI, false));
    EXPECT_TRUE(S1::Equal(180, -180, true));
    EXPECT_TRUE(S1::Equal(PI, -(PI - 0.9e-9), false) && !S1::Equal(PI, -(PI - 1.1e-9), false));
    EXPECT_TRUE(S1::Equal(10, 10 + 5e-11, true) && !S1::Equal(10, 10 + 2e-10, true)); // unscaled
}

TEST(S1, DifferencesAndDistances) {
    EXPECT_NEAR(S1::diff(0.1, 0.2, true), TWO_PI - 0.1, 1e-15);
    EXPECT_NEAR(S1::diff(0.1, 0.2, false), 0.1, 1e-15);
    EXPECT_TRUE(S1::diff(2, 2, true) == 0 && S1::diff(2, 2, false) == 0);
    EXPECT_EQ(S1::diff(0, 5e-11, false), -5e-11); // within EPS the raw difference
    EXPECT_NEAR(S1::DiffSigned(-3, 3), TWO_PI - 6, 1e-15);
    EXPECT_NEAR(S1::DiffSigned(3, -3), 6 - TWO_PI, 1e-15);
    EXPECT_NEAR(S1::dist(0, 1.9 * PI), 0.9 * PI, 1e-14);
}

TEST(S1, ArcMembershipAndInterpolation) {
    EXPECT_TRUE(!S1::InRange(0, 3, -3, true) && S1::InRange(PI, 3, -3, true));
    EXPECT_TRUE(S1::InRange(0, 3, -3, false) && !S1::InRange(PI, 3, -3, false));
    EXPECT_TRUE(S1::InRange(3 - EPS, 3, -3, true) && !S1::InRange(3 - 2 * EPS, 3, -3, true));
    EXPECT_FALSE(S1::InRange(0, -PI, 1, true)); // -PI is not a valid argument
    // Both ends on one side, the start after the end: the long way round.
    EXPECT_TRUE(S1::InRange(0, 2, 1, true) && S1::InRange(1, 2, 1, true));
    EXPECT_FALSE(S1::InRange(1.5, 2, 1, true));
    EXPECT_TRUE(S1::InRange(0, PI, 1, true) && !S1::InRange(2, PI, 1, true));
    EXPECT_TRUE(!S1::InOpenRange(3, 3, -3, true) && S1::InOpenRange(PI, 3, -3, true));

    EXPECT_NEAR(S1::GetSegmentPoint(3, -3, 0.5, true), PI, 1e-14);
    EXPECT_NEAR(S1::GetSegmentPoint(3, -3, 0.5, false), 0, 1e-14);
    EXPECT_NEAR(S1::GetSegmentPoint(1, 2, 2, true), 3, 1e-14);             // extrapolates
    EXPECT_EQ(S1::GetSegmentPoint(7, 7 + 5e-11, 0.3, true), 7);            // unnormalised
    EXPECT_NEAR(S1(3).GetSegmentPoint(S1(-3), 0.5).GetAngle(), PI, 1e-14); // the short way
}

TEST(S1, SortedInsertionIntoACycle) {
    EXPECT_TRUE(S1(2).IsCCWSequence(S1(3), S1(-3)) && !S1(2).IsCCWSequence(S1(-3), S1(3)));
    EXPECT_TRUE(S1(2).IsCCWSequence(S1(1), S1(2))); // the start counts as the end
    EXPECT_EQ(Inserted({1}, 0), (std::vector<double>{1, 0}));
    EXPECT_EQ(Inserted({-2, 0, 2}, 1), (std::vector<double>{-2, 0, 1, 2}));
    EXPECT_EQ(Inserted({-2, 0, 2}, -3), (std::vector<double>{-2, 0, 2, -3}));
    const double nearZero = S1(5e-11).GetAngle(); // equal to 0 within EPS: goes before it
    EXPECT_EQ(Inserted({-2, 0, 2}, nearZero), (std::vector<double>{-2, nearZero, 0, 2}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Inserted({nan, nan}, 1).size(), 2U); // no place fits: unchanged
}
