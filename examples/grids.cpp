// Grids and interpolation: finding the minimum of a sampled function between its samples.
//
// A Grid1D divides an interval into equal segments whose ends are the knots. Sampling a
// function at the knots finds the smallest sample; the quadratic through that sample and its
// two neighbours (Interpolator) then places the minimum between the knots.
#include "plinth/grid/grid1d.h"
#include "plinth/grid/interpolator.h"
#include "plinth/range/range_r1.h"

#include <cstdio>

using namespace plinth;

namespace {

// A cost with its minimum, 1, at x = 2.3: a parabola, so the quadratic fit is exact.
double Cost(double x) {
    return (x - 2.3) * (x - 2.3) + 1;
}

} // namespace

int main() {
    const Grid1D grid(0, 5, 10);
    std::printf("grid %g..%g: %d knots, step %g\n", grid.GetRange().lo, grid.GetRange().hi,
                grid.GetKnotCount(), grid.GetStep());

    // Where does a value fall? Segment index, and whether it sits on a knot (within EPS).
    bool atKnot = false;
    const int segment = grid.GetSegment(2.5, &atKnot);
    std::printf("2.5 lies in segment %d, on a knot: %s; nearest knot to 2.3: %d\n", segment,
                atKnot ? "yes" : "no", grid.GetNearestKnot(2.3));

    // The smallest sample, away from the ends so that it has two neighbours.
    int best = 1;
    for (int k = 1; k < grid.GetKnotCount() - 1; ++k) {
        if (Cost(grid.GetKnot(k)) < Cost(grid.GetKnot(best))) {
            best = k;
        }
    }
    std::printf("smallest sample at knot %d (x = %g): %g\n", best, grid.GetKnot(best),
                Cost(grid.GetKnot(best)));

    // The quadratic through knots best - 1, best, best + 1 at their real abscissae.
    Interpolator fit(2, false);
    for (int i = 0; i < 3; ++i) {
        fit.x[i] = grid.GetKnot(best - 1 + i);
        fit.y[i] = Cost(fit.x[i]);
    }
    double t = 0;
    if (!fit.GetExtremumParam(t)) {
        return 1;
    }
    std::printf("interpolated minimum: x = %.6f, cost %.6f\n", t, fit.GetQuadric(t));

    // Growing the grid by whole steps so that it reaches 6.2 keeps the step.
    Grid1D wider = grid;
    wider.Include(6.2);
    std::printf("grown to include 6.2: %g..%g in %d segments\n", wider.GetRange().lo,
                wider.GetRange().hi, wider.GetSegmentCount());
    return t > 2.29 && t < 2.31 ? 0 : 1;
}
