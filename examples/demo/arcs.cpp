// Angles and arcs on the circle, across the seam at PI.
#include "sections.h"

#include "plinth/circle/range_s1.h"
#include "plinth/circle/s1.h"

#include <cstdio>

using plinth::RangeS1;
using plinth::S1;

void DemoArcs() {
    std::printf("\n-- Angles and arcs --\n");
    std::printf("S1(-PI)                      = %.15g (the seam is stored as +PI)\n",
                S1(-plinth::PI).GetAngle());
    std::printf("S1(7)                        = %.15g\n", S1(7).GetAngle());
    std::printf("3 to -3, signed difference   = %.6f (the short way, across the seam)\n",
                S1::DiffSigned(-3, 3));

    const RangeS1 arc(3, -3);
    std::printf("arc 3 to -3 holds PI: %s, 0: %s, length %.6f, midpoint %.6f\n",
                arc.In(plinth::PI) ? "yes" : "no", arc.In(0) ? "yes" : "no", arc.GetDiff(),
                arc.GetPoint(0.5));

    RangeS1 a(0, 3);
    RangeS1 b(2.5, 0.5);
    const int pieces = a.Intersect(b);
    std::printf("arc 0..3 and arc 2.5..0.5    = %d pieces: %g..%g and %g..%g\n", pieces, a.lo, a.hi,
                b.lo, b.hi);

    RangeS1 c(0, 3);
    RangeS1 hole(1, 2);
    const int left = c.Subtract(hole);
    std::printf("arc 0..3 minus arc 1..2      = %d pieces: %g..%g and %g..%g\n", left, c.lo, c.hi,
                hole.lo, hole.hi);
}
