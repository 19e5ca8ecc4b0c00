#include "plinth/numeric/solver.h"

#include "plinth/platform/throw.h"

#include <cmath>

namespace plinth {

namespace {

constexpr double kStepTolerance = 1e-6;
constexpr double kMinDerivative = 1e-4;
constexpr int kMaxIterations = 1000;

// Thrown as char* so that catch (char*) and catch (void*) handlers see them; static, so the
// catcher never frees them.
char g_differentSigns[] = "Different signs f and the second derivative";
char g_zeroDerivative[] = " Nearly zero derivative";
char g_noConvergence[] = "No convergence";

} // namespace

double SolveNl(double (*f)(double), double (*df)(double), double (*d2f)(double), double /*a*/,
               double /*b*/, double x0) {
    if (f == nullptr || df == nullptr || d2f == nullptr) {
        AfxThrowInvalidArgException();
    }
    double x = x0;
    for (int k = 0; k < kMaxIterations; ++k) {
        const double value = f(x);
        const double slope = df(x);
        const double curvature = d2f(x);
        if (curvature * value < 0) {
            throw static_cast<char*>(g_differentSigns);
        }
        if (slope < kMinDerivative) {
            throw static_cast<char*>(g_zeroDerivative);
        }
        const double next = x - value / slope;
        if (std::fabs(next - x) < kStepTolerance) {
            return next;
        }
        x = next;
    }
    throw static_cast<char*>(g_noConvergence);
}

} // namespace plinth
