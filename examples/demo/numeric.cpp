// Tolerant scalar rules: every comparison in the library goes through these.
#include "sections.h"

#include "plinth/numeric/nik.h"
#include "plinth/numeric/rounding.h"
#include "plinth/numeric/solver.h"
#include "plinth/numeric/tolerance.h"

#include <cstdio>

using namespace plinth;

namespace {

double Square2(double x) {
    return x * x - 2;
}
double Square2Slope(double x) {
    return 2 * x;
}
double Square2Curvature(double /*x*/) {
    return 2;
}

const char* YesNo(bool b) {
    return b ? "yes" : "no";
}

} // namespace

void DemoNumeric() {
    std::printf("\n-- Tolerant numerics (EPS = %g) --\n", EPS);
    std::printf("1 equals 1 + 5e-11?           %s\n", YesNo(zEqual(1.0, 1.0 + 5e-11)));
    std::printf("1 equals 1 + 1e-10?           %s\n", YesNo(zEqual(1.0, 1.0 + 1e-10)));
    std::printf("1.65e308 equals UNBOUNDED?    %s\n", YesNo(zEqual(1.65e308, UNBOUNDED)));
    std::printf("0.3 / 0.1 in whole steps      = %d (remainder %g)\n", zFactorN(0.3, 0.1),
                zModulod(0.3, 0.1));
    std::printf("round 2.5 and -2.5            = %d and %d\n", zRound(2.5), zRound(-2.5));
    std::printf("sticky floor of 2.99999999999 = %d\n", zStickyFloor(2.99999999999));
    std::printf("sign of 5e-11                 = %s\n", Nik::ToString(zSign(5e-11)).GetString());
    std::printf("root of x^2 - 2 from 2        = %.9f\n",
                SolveNl(Square2, Square2Slope, Square2Curvature, 0, 0, 2));
}
