#include "plinth/range/range.h"

#include <gtest/gtest.h>

using namespace plinth;

namespace {

Range Angle(double a, double b) {
    Range r(eScalarAngle);
    r.Set(a, b);
    return r;
}

Range Degrees(double a, double b) {
    Range r = Angle(0, 1);
    r.degrees = true;
    r.lo = a;
    r.hi = b;
    return r;
}

} // namespace

TEST(Range, LinearStateIsInformative) {
    EXPECT_TRUE(Range().IsFull() && Range().In(1e300) && Range().state == RangeS1::eStateFull);
    EXPECT_TRUE(Range(0, 1).state == RangeS1::eStateArc &&
                Range(1, 0).state == RangeS1::eStateEmpty);
    Range r(0, 1);
    r.Set(5, 1); // Set, SetEmpty and SetFull() leave a linear state alone
    EXPECT_TRUE(r.state == RangeS1::eStateArc && r.IsEmpty());
    r.SetFull();
    EXPECT_TRUE(r.IsFull() && r.state == RangeS1::eStateArc);
    r.SetFull(true);
    EXPECT_EQ(r.state, RangeS1::eStateFull);
    r.SetEmpty();
    EXPECT_TRUE(r.Include(5) && r.Is(5, 5, 0) && !r.Include(5 + 5e-11));
}

TEST(Range, AngleStateIsDecisive) {
    Range r = Angle(-PI + 5e-10, PI);
    EXPECT_TRUE(r.state == RangeS1::eStateFull && r.lo == PI && r.hi == PI);
    r.Set(7, 8);
    EXPECT_TRUE(r.Is(S1::Factorize(7), S1::Factorize(8), 0) && r.state == RangeS1::eStateArc);
    r.SetFull(false);
    EXPECT_TRUE(r.IsFull() && r.lo == PI);
    r.SetEmpty();
    EXPECT_TRUE(r.IsEmpty() && r.lo == PI);

    Range any = Angle(0.5, 1);
    any.state = RangeS1::eStateFull; // the state, not the ends, decides
    EXPECT_TRUE(any.IsFull() && any.In(3) && !any.IsValid());

    Range deg = Degrees(-179.99999998854085, 180);
    deg.UpdateState();
    EXPECT_TRUE(deg.IsFull() && deg.MPI() == -179.99999998854085);
    deg.SetEmpty();
    EXPECT_TRUE(deg.lo == 180 && deg.hi == 180);
    EXPECT_EQ(Range().MPI(), -3.14159265338979);

    Range other(static_cast<EScalarType>(7)); // any non-zero type is an angle, but only
    other.Set(0.5, 1);                        // type 1 moves the ends
    other.SetEmpty();
    EXPECT_TRUE(other.IsEmpty() && other.lo == S1::Factorize(0.5));

    Range a = Angle(1, 2);
    a.Copy(RangeR1(PI, PI)); // a plain interval: ends only; equal at PI gives the full range
    EXPECT_TRUE(a.type == eScalarAngle && a.IsFull());
    a.Copy(RangeR1(1, 1)); // equal elsewhere: the state stays
    EXPECT_TRUE(a.IsFull() && a.lo == 1);
    const RangeR1& base = Degrees(30, 60);
    Range c(0, 1);
    c.Copy(base); // a Range behind a base reference brings its type, state and unit
    EXPECT_TRUE(c.degrees && c.type == eScalarAngle && c.state == RangeS1::eStateArc);
}

TEST(Range, DegreeConversionInPlaceOrOnACopy) {
    Range r = Angle(0.5, 1);
    EXPECT_TRUE(r.ToDegrees() && !r.ToDegrees()); // twice converts once
    double x = 1;
    EXPECT_TRUE(r.ToRad(x) && !r.degrees && x == DEG_TO_RAD);
    EXPECT_TRUE(!r.ToRad(x) && x == DEG_TO_RAD);
    const Range& view = r;
    view.ToDeg(); // const, and converts all the same
    EXPECT_TRUE(r.degrees);
    view.ToDeg(x);
    EXPECT_EQ(x, DEG_TO_RAD); // already in degrees: x untouched

    // Membership converts a copy; the ratio converts in place and back, so 30 round-trips.
    Range d = Degrees(30, 60);
    EXPECT_TRUE(d.In(45) && !d.In(90) && d.InOpen(45) && !d.InOpen(30) && d.lo == 30);
    EXPECT_NEAR(d.GetRatio(45), 0.5, 1e-12);
    EXPECT_TRUE(d.degrees && d.lo == 30 * DEG_TO_RAD * RAD_TO_DEG && d.lo != 30);
}

TEST(Range, AnglePointsAndContainment) {
    const Range s = Angle(3, -3);
    EXPECT_TRUE(s.In(PI) && !s.In(0));
    EXPECT_NEAR(s.GetPoint(0.5), PI, 1e-14);
    Range cw = s;
    cw.external = true;
    EXPECT_TRUE(cw.In(0) && !cw.In(PI));
    const Range full(eScalarAngle);
    EXPECT_TRUE(full.GetPoint(0) == S1::LOWER && full.GetPoint(1) == PI);

    const Range wide = Angle(-1, 1);
    EXPECT_TRUE(wide >= Angle(-0.5, 0.5) && !(wide >= Angle(0.5, -0.5)));
    EXPECT_TRUE(Angle(-0.5, 0.5) < wide && !(wide < wide) && full >= wide);
    Range u = wide;
    u += Angle(0.5, 2);
    EXPECT_TRUE(u.Is(S1::Factorize(-1), S1::Factorize(2), 0));
    u += Angle(-2, -0.8);
    EXPECT_EQ(u.lo, S1::Factorize(-2));
}
