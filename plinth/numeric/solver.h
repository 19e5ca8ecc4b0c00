#pragma once

#include "plinth/platform/export.h"

namespace plinth {

/// Newton's iteration for f(x) = 0 from x0, given f and its first and second derivatives.
/// Each iterate must have f and f'' of the same sign (or a zero product) and f' >= 1e-4;
/// the iterate is returned once a step is shorter than 1e-6. A violated condition, or no
/// convergence within 1000 iterations, throws a char* pointing to static message text:
///   "Different signs f and the second derivative"
///   " Nearly zero derivative"
///   "No convergence"
/// Exceptions from the callbacks pass through; a null callback raises CInvalidArgException.
/// a and b are accepted and not used.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
PLINTH_API double SolveNl(double (*f)(double), double (*df)(double), double (*d2f)(double),
                          double a, double b, double x0);

} // namespace plinth
