// Arc membership, intersection and subtraction checked against a model that samples the
// circle: an arc is its start plus a counterclockwise length.
#include "plinth/circle/range_s1.h"
#include "plinth/numeric/rounding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>

using namespace plinth;

namespace {

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

} // namespace

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
        RangeS1 common(a);
        RangeS1 second(b);
        const int nCommon = common.Intersect(second);
        RangeS1 rest(a);
        RangeS1 restSecond(b);
        const int nRest = rest.Subtract(restSecond);

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
            const bool inCommon = (nCommon >= 1 && common.In(x)) || (nCommon == 2 && second.In(x));
            const bool inRest = (nRest >= 1 && rest.In(x)) || (nRest == 2 && restSecond.In(x));
            ASSERT_EQ(inCommon, inA && inB) << a.lo << " " << a.hi << " " << b.lo << " " << x;
            // Subtracting the full circle leaves an arc as it is (its ends pass the point test).
            const bool expectRest = b.IsFull() && !a.IsFull() ? inA : inA && !inB;
            ASSERT_EQ(inRest, expectRest) << a.lo << " " << a.hi << " " << b.lo << " " << x;
        }
    }
}
