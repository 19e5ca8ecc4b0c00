// Cyclic indices, a uniform grid, an interpolated minimum and a solved equation.
#include "sections.h"

#include "plinth/cyclic/range_zgroup.h"
#include "plinth/grid/grid1d.h"
#include "plinth/grid/interpolator.h"
#include "plinth/numeric/solver.h"

#include <cmath>
#include <cstdio>

using namespace plinth;

namespace {

// x = cos(x), written as f(x) = x - cos(x), which rises and has f'' of f's sign past the root.
double Balance(double x) {
    return x - std::cos(x);
}
double BalanceSlope(double x) {
    return 1 + std::sin(x);
}
double BalanceCurvature(double x) {
    return std::cos(x);
}

} // namespace

void DemoGrids() {
    std::printf("\n-- Cyclic indices, grids and interpolation --\n");
    const RangeZGroup run(8, 6, 1);
    std::printf("run 6..1 of 8 indices:");
    for (int i = 0; i < run.GetCount(); ++i) {
        std::printf(" %d", run.Get(i));
    }
    std::printf("\n");

    Grid1D grid(0, 10, 5);
    std::printf("grid 0..10 in 5: 7.3 lies in segment %d, nearest knot %d\n",
                grid.GetSegment(7.3, nullptr), grid.GetNearestKnot(7.3));
    grid.Include(13);
    std::printf("after including 13: %g..%g in %d segments\n", grid.GetRange().lo,
                grid.GetRange().hi, grid.GetSegmentCount());

    Interpolator search; // samples 2, 0, 1 at t = 0, 1, 2
    search.y[0] = 2;
    search.y[2] = 1;
    double value = 0;
    search.GetInternalMinMax(RangeR1(0, 2), value);
    std::printf("minimum between the samples 2, 0, 1: %.6f\n", value);

    std::printf("x = cos(x) from 1: x = %.9f\n",
                SolveNl(Balance, BalanceSlope, BalanceCurvature, 0, 0, 1));
}
