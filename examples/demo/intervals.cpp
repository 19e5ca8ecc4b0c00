// Intervals on the real line: intersection, subtraction, distances and segmentation.
#include "sections.h"

#include "plinth/range/range_r1.h"

#include <cstdio>

using plinth::RangeR1;

void DemoIntervals() {
    std::printf("\n-- Intervals --\n");
    RangeR1 a(0, 10);
    a.Intersect(RangeR1(5, 20));
    std::printf("[0, 10] and [5, 20]          = [%g, %g]\n", a.lo, a.hi);

    RangeR1 rest(0, 10);
    RangeR1 hole(3, 5);
    const int pieces = rest.Subtract(hole);
    std::printf("[0, 10] minus [3, 5]         = %d pieces: [%g, %g] and [%g, %g]\n", pieces,
                rest.lo, rest.hi, hole.lo, hole.hi);

    const RangeR1 b(0, 10);
    double nearest = 0;
    const double d = b.GetDist(12, &nearest);
    std::printf("distance from 12 to [0, 10]  = %g (nearest point %g)\n", d, nearest);

    bool exact = false;
    const int segment = RangeR1(0, 4).GetSegm(2.5, 4, &exact);
    std::printf("2.5 in [0, 4] in 4 segments  = segment %d, on a node: %s\n", segment,
                exact ? "yes" : "no");

    RangeR1 inv(2, 4);
    inv.Invert();
    std::printf("reciprocals of [2, 4]        = [%g, %g]\n", inv.lo, inv.hi);
}
