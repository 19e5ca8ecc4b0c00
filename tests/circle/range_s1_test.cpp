#include "support/archive_bytes.h"

#include "plinth/circle/range_s1.h"
#include "plinth/numeric/rounding.h"
#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <vector>

using namespace plinth;
using plinth::testing::Bytes;

namespace {

RangeS1 Clockwise(double a, double b) {
    RangeS1 r(a, b);
    r.external = true;
    return r;
}

RangeS1 Empty(double a, double b) {
    RangeS1 r(a, b);
    r.SetEmpty();
    return r;
}

bool Ends(const RangeS1& r, double a, double b) {
    return std::fabs(r.lo - a) < 1e-14 && std::fabs(r.hi - b) < 1e-14;
}

// Both arcs after a.Subtract(o) (or a.Intersect(o)), the number of pieces and the moved flag.
struct Outcome {
    RangeS1 a;
    RangeS1 o;
    bool moved = false; // before pieces: the operation writes it
    int pieces = 0;
    Outcome(RangeS1 x, RangeS1 y, bool subtract)
        : a(x)
        , o(y)
        , pieces(subtract ? a.Subtract(o, &moved) : a.Intersect(o)) {}
    // x lies in one of the pieces.
    bool Covers(double x) const { return (pieces >= 1 && a.In(x)) || (pieces == 2 && o.In(x)); }
};

// The arc model: a start plus a counterclockwise length.
constexpr int samples = 720;
constexpr double margin = 1e-6; // samples this close to an end are not judged

struct ModelArc {
    double start;
    double length;
    bool Holds(double x) const { return zTo02Pi(x - start) <= length; }
};

// Clockwise from lo to hi is counterclockwise from hi to lo.
ModelArc Model(const RangeS1& r) {
    if (r.IsFull()) {
        return {0, TWO_PI};
    }
    return r.external ? ModelArc{r.hi, zTo02Pi(r.lo - r.hi)} : ModelArc{r.lo, zTo02Pi(r.hi - r.lo)};
}

bool NearAnEnd(double x, std::initializer_list<double> ends) {
    return std::any_of(ends.begin(), ends.end(),
                       [x](double e) { return std::min(zTo02Pi(x - e), zTo02Pi(e - x)) < margin; });
}

Bytes Stored(RangeS1 r) {
    return plinth::testing::StoredObject(r);
}

} // namespace

TEST(RangeS1, SetDetectsTheFullCircle) {
    RangeS1 r = Clockwise(1, 2);
    r.Set(-PI, PI);
    EXPECT_TRUE(r.IsFull() && r.lo == PI && r.hi == PI && r.external);
    for (double start : {-PI + 5e-10, -100.0}) { // any start below -PI + 1e-9
        r.Set(start, PI);
        EXPECT_TRUE(r.IsFull()) << start;
    }
    r.Set(-PI + 1.1e-9, PI);
    EXPECT_EQ(r.state, RangeS1::eStateArc);
    r.Set(7, 8);
    EXPECT_TRUE(Ends(r, 7 - TWO_PI, 8 - TWO_PI) && r.state == RangeS1::eStateArc);
    r.Copy(RangeR1(0, 0));
    EXPECT_TRUE(r.IsFull() && r.lo == PI);
    EXPECT_EQ(RangeS1(PI, PI).state, RangeS1::eStateArc); // constructors never detect it
}

TEST(RangeS1, ArcAcrossTheSeam) {
    const RangeS1 r(3, -3);
    EXPECT_TRUE(r.In(PI) && r.In(3.1) && !r.In(0) && r.IsSingular());
    EXPECT_NEAR(r.GetPoint(0.5), PI, 1e-14);
    EXPECT_TRUE(r.In(r.GetPoint(0.25)) && r.In(r.GetPoint(0.75)));
    const RangeS1 cw = Clockwise(3, -3);
    EXPECT_TRUE(cw.In(0) && !cw.In(PI) && !cw.IsSingular());
    EXPECT_TRUE(cw.InOpen(PI)); // InOpen always reads the arc counterclockwise
    const RangeS1 cwSeam = Clockwise(-3, 3);
    EXPECT_TRUE(cwSeam.IsSingular() && cwSeam.In(cwSeam.GetPoint(0.25)));

    const RangeS1 full;
    EXPECT_TRUE(full.IsSingular() && full.GetA() == -PI && full.GetDiff() == TWO_PI);
    const RangeS1 empty = Empty(1, 2);
    EXPECT_TRUE(empty.lo == 1 && !empty.In(1.5) && empty.ToRangeS1(0) == UNBOUNDED);
    double x = 5;
    EXPECT_TRUE(empty.GetAnyOutside(x) && std::fabs(x) < 1e-14);
    EXPECT_FALSE(full.GetAnyOutside(x));
    EXPECT_TRUE(RangeS1(1, 2).GetAnyOutside(x) && !RangeS1(1, 2).In(x));
    EXPECT_TRUE(RangeS1(1, 2).ToRangeS1(0) == 1 && RangeS1(1, 2).ToRangeS1(2.5) == 2);
}

TEST(RangeS1, ValidityAndComplements) {
    RangeS1 r(1, 2);
    r.state = RangeS1::eStateFull; // distinct ends need an ordinary arc
    EXPECT_FALSE(r.IsValid());
    EXPECT_FALSE(RangeS1(PI, PI).IsValid()); // a point arc on the seam
    EXPECT_TRUE(RangeS1(1, 1).IsValid() && RangeS1().IsValid());

    RangeS1 out = Clockwise(1, 2);
    EXPECT_FALSE(RangeS1().GetComplimentary(out));
    EXPECT_TRUE(out.IsEmpty() && out.lo == S1::Factorize(1));
    EXPECT_TRUE(RangeS1(1, 2).GetComplimentary(out) && Ends(out, 2, 1) && out.external);
    RangeS1 point(1, 1);
    point.SetComplimentary(); // swapped ends equal on the circle: the full circle
    EXPECT_TRUE(point.IsFull());
    point.SetComplimentary();
    EXPECT_TRUE(point.IsEmpty());

    const RangeS1 a(-1, 1);
    EXPECT_TRUE(a >= RangeS1(-0.5, 0.5) && !(a >= RangeS1(0.5, -0.5)));
    EXPECT_TRUE(a >= Empty(1, 2) && !(Empty(1, 2) >= a) && RangeS1() >= a);
    EXPECT_TRUE(RangeS1(-0.5, 0.5).IsInsideOf(a) && !RangeS1(0.5, -0.5).IsInsideOf(a));
}

TEST(RangeS1, PointAndRangeLocation) {
    using L = RangeR1::ELocn;
    const RangeS1 r(0, 2);
    EXPECT_TRUE(r.GetPointLocation(-1, 0.1) == L::eLocnOutside &&
                r.GetPointLocation(0.05, 0.1) == L::eLocnAtStart &&
                r.GetPointLocation(1.95, 0.1) == L::eLocnAtEnd);
    const RangeS1 s(3, -3);
    EXPECT_EQ(s.GetPointLocation(PI, 0.01), L::eLocnInside); // the seam is inside
    EXPECT_EQ(s.GetPointLocation(-3, 0.01), L::eLocnAtEnd);
    EXPECT_EQ(s.GetPointLocation(-PI + 0.02, 0.1), L::eLocnInside);
    // An arc that ends within tol after the seam: just after -PI is its end.
    EXPECT_EQ(RangeS1(3, -PI + 0.05).GetPointLocation(-PI + 0.02, 0.1), L::eLocnAtEnd);

    using R = RangeR1::ERangeLocn;
    const std::vector<std::pair<RangeS1, R>> cases = {
        {{0, 2}, R::eRangeSame},          {{0, 1}, R::eRangeContainsAtStart},
        {{0, 0}, R::eRangePointAtStart},  {{1, 2}, R::eRangeContainsAtEnd},
        {{2, 2}, R::eRangePointAtEnd},    {{0.5, 1}, R::eRangeContains},
        {{0, 3}, R::eRangeInsideAtStart}, {{-1, 2}, R::eRangeInsideAtEnd},
        {{-1, 3}, R::eRangeInsideOther},  {{1, 3}, R::eRangeOverlap},
        {{2, 3}, R::eRangeTouch},         {{3, -3}, R::eRangeDisjoint}};
    for (const auto& [o, expected] : cases) {
        EXPECT_EQ(r.GetRangeLocation(o, EPS), expected) << o.lo << " " << o.hi;
    }
    EXPECT_EQ(r.GetRangeLocation(RangeS1(0.005, 1), 0.01), R::eRangeContainsAtStart); // snapped
}

TEST(RangeS1, SubtractAndIntersect) {
    Outcome c(RangeS1(0, 3), RangeS1(1, 2), true);
    EXPECT_TRUE(c.pieces == 2 && Ends(c.a, 0, 1) && Ends(c.o, 2, 3) && !c.moved);
    c = Outcome(RangeS1(0, 3), RangeS1(2, 3.1), true);
    EXPECT_TRUE(c.pieces == 1 && Ends(c.a, 0, 2) && !c.moved);
    c = Outcome(RangeS1(1, 2), RangeS1(0, 3), true);
    EXPECT_TRUE(c.pieces == 0 && c.a.IsEmpty() && c.moved && Ends(c.a, 1, 2));
    // The full circle's ends are equal, so it passes the point test: nothing is taken away.
    c = Outcome(RangeS1(1, 2), RangeS1(), true);
    EXPECT_TRUE(c.pieces == 1 && Ends(c.a, 1, 2) && c.a.state == RangeS1::eStateArc);

    c = Outcome(RangeS1(0, 3), RangeS1(2.5, 0.5), false); // the argument crosses the seam
    EXPECT_TRUE(c.pieces == 2 && Ends(c.a, 0, 0.5) && Ends(c.o, 2.5, 3));
    c = Outcome(RangeS1(), RangeS1(1, 2), false);
    EXPECT_TRUE(c.pieces == 1 && Ends(c.a, 1, 2) && c.a.state == RangeS1::eStateArc);
}

TEST(RangeS1, ArchiveFormIsSeventeenBytes) {
    RangeS1 r = Clockwise(1, 2);
    r.lo = 1.5; // exact ends, as set through the base
    r.hi = -2;
    Bytes bytes = Stored(r);
    EXPECT_EQ(bytes, (Bytes{0, 0, 0, 0, 0, 0, 0xF8, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0xC0, 2}));
    EXPECT_TRUE(Stored(Empty(1, 2))[16] == 1 && Stored(RangeS1())[16] == 0);

    bytes[16] = 7;
    CMemFile file(bytes.data(), 17);
    CArchive ar(&file, CArchive::load);
    RangeS1 loaded = Clockwise(0, 1);
    loaded.Serialize(ar);
    EXPECT_TRUE(loaded.lo == 1.5 && loaded.hi == -2 && loaded.state == RangeS1::eStateArc);
    EXPECT_TRUE(loaded.external); // the direction is not stored

    CMemFile shortFile(bytes.data(), 16);
    CArchive shortAr(&shortFile, CArchive::load);
    RangeS1 kept(0.5, 1);
    EXPECT_THROW(kept.Serialize(shortAr), CArchiveException);
    EXPECT_TRUE(Ends(kept, 0.5, 1) && kept.state == RangeS1::eStateArc);
}

// Membership, intersection and subtraction against a model that samples the circle.
TEST(ArcModel, MembershipIntersectionAndDifference) {
    std::mt19937 gen(20240611);
    std::uniform_real_distribution<double> angle(-3.1, 3.1);
    // A random ordinary arc whose ends are at least 0.01 apart on the circle.
    const auto nextArc = [&](bool clockwise) {
        RangeS1 r;
        do {
            const double start = angle(gen);
            r = RangeS1(start, angle(gen));
        } while (std::min(zTo02Pi(r.lo - r.hi), zTo02Pi(r.hi - r.lo)) < 0.01);
        r.external = clockwise;
        return r;
    };
    for (int i = 0; i < 300; ++i) {
        const RangeS1 turned = nextArc(i % 2 == 1);
        const RangeS1 a = nextArc(false);
        RangeS1 b = nextArc(false);
        if (i % 25 == 0) {
            b.SetFull();
        }
        const Outcome common(a, b, false), rest(a, b, true);
        SCOPED_TRACE(::testing::Message() << a.lo << " " << a.hi << " " << b.lo << " " << b.hi);

        for (int k = 0; k < samples; ++k) {
            const double x = -PI + (k + 0.5) * TWO_PI / samples;
            if (!NearAnEnd(x, {turned.lo, turned.hi})) {
                ASSERT_EQ(turned.In(x), Model(turned).Holds(x)) << turned.lo << " " << turned.hi;
            }
            if (NearAnEnd(x, {a.lo, a.hi, b.lo, b.hi})) {
                continue;
            }
            const bool inA = Model(a).Holds(x);
            const bool inB = Model(b).Holds(x);
            ASSERT_EQ(common.Covers(x), inA && inB) << x;
            // Subtracting the full circle leaves an arc as it is (its ends pass the point test).
            const bool expectRest = b.IsFull() && !a.IsFull() ? inA : inA && !inB;
            ASSERT_EQ(rest.Covers(x), expectRest) << x;
        }
    }
}
