// Angles and arcs: what a sensor at the origin sees around it.
//
// Angles are radians in (-PI, PI]; S1 normalises anything else onto that range. An arc runs
// counterclockwise from lo to hi and may cross the seam at PI. A SetS1 holds disjoint arcs in
// counterclockwise order; subtracting the arcs that obstacles cover leaves the visible ones.
#include "plinth/circle/range_s1.h"
#include "plinth/circle/s1.h"
#include "plinth/circle/set_s1.h"

#include <cstdio>

using namespace plinth;

namespace {

double Degrees(double radians) {
    S1::ToDegree(radians);
    return radians;
}

} // namespace

int main() {
    // Headings from a compass drift past a full turn; S1 brings them back.
    std::printf("heading 400 deg  = %g deg\n", S1::FactorizeDeg(400));
    std::printf("from 170 to -170 = %g deg (the short way, across the seam)\n",
                Degrees(S1::DiffSigned(-170 * DEG_TO_RAD, 170 * DEG_TO_RAD)));

    // Obstacles, each as the arc it hides: one straddles the seam at 180 degrees.
    const double hidden[][2] = {{10, 40}, {160, -150}, {90, 100}};
    SetS1 visible;
    visible.SetFull();
    for (const auto& arc : hidden) {
        visible.Subtract(RangeS1(arc[0] * DEG_TO_RAD, arc[1] * DEG_TO_RAD));
    }

    double total = 0;
    std::printf("visible arcs     =");
    for (POSITION pos = visible.GetHeadPosition(); pos != nullptr;) {
        const RangeS1* arc = visible.GetNext(pos);
        std::printf(" %g..%g", Degrees(arc->lo), Degrees(arc->hi));
        total += arc->GetDiff();
    }
    std::printf("\nvisible in total = %g deg of 360\n", Degrees(total));

    // Is 95 degrees in sight? It lies in the arc that the third obstacle hides.
    bool seen = false;
    for (POSITION pos = visible.GetHeadPosition(); pos != nullptr;) {
        const RangeS1* arc = visible.GetNext(pos);
        seen = seen || arc->In(95 * DEG_TO_RAD);
    }
    std::printf("95 deg visible   = %s\n", seen ? "yes" : "no");

    const bool sorted = visible.IsSorted();
    visible.Clear(); // the set deletes its arcs here, not in its destructor
    return sorted && !seen ? 0 : 1;
}
