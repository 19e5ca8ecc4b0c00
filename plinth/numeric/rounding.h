#pragma once

#include "plinth/numeric/constants.h"

#include <cmath>
#include <limits>

namespace plinth {

namespace detail {

/// Truncates toward zero to an int. Out-of-range values saturate and NaN gives 0, where a
/// plain conversion would be undefined.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
inline int truncToInt(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= 2147483648.0) {
        return std::numeric_limits<int>::max();
    }
    if (v <= -2147483649.0) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(v);
}

/// a / b truncated toward zero. Kept as a double: it equals the 32-bit quotient whenever that
/// fits, and stays meaningful when it does not.
inline double truncQuotient(double a, double b) {
    return std::trunc(a / b);
}

/// True when a lies strictly within tol of k steps of b.
inline bool isNearMultiple(double a, double k, double b, double tol) {
    return std::fabs(a - k * b) < tol;
}

/// The nearest integer, halves going down (toward minus infinity).
inline double roundHalfDown(double x) {
    const double f = std::floor(x);
    return x - f > HALF ? f + 1 : f;
}

} // namespace detail

/// Remainder of a / b with the sign of a, snapped to 0 when a is within tol of the next
/// multiple of b on either side. A divisor below EPS returns a unchanged.
inline double zModulod(double a, double b, double tol) {
    if (std::fabs(b) < EPS) {
        return a;
    }
    const double n = detail::truncQuotient(a, b);
    if (detail::isNearMultiple(a, n + 1, b, tol) || detail::isNearMultiple(a, n - 1, b, tol)) {
        return 0.0;
    }
    return a - b * n;
}
inline double zModulod(double a, double b) {
    return zModulod(a, b, EPS);
}

/// The truncated quotient a / b, moved to a neighbouring integer when a is within EPS of that
/// multiple of b. A divisor below EPS gives a truncated.
inline int zFactorN(double a, double b) {
    if (std::fabs(b) < EPS) {
        return detail::truncToInt(a);
    }
    const double n = detail::truncQuotient(a, b);
    if (detail::isNearMultiple(a, n + 1, b, EPS)) {
        return detail::truncToInt(n + 1);
    }
    if (detail::isNearMultiple(a, n - 1, b, EPS)) {
        return detail::truncToInt(n - 1);
    }
    return detail::truncToInt(n);
}

/// The number of b-steps that cover a, an almost exact fit counting as exact. A divisor
/// below EPS gives a truncated.
inline int zCeilN(double a, double b) {
    if (std::fabs(b) < EPS) {
        return detail::truncToInt(a);
    }
    const double n = detail::truncQuotient(a, b);
    if (detail::isNearMultiple(a, n, b, EPS)) {
        return detail::truncToInt(n);
    }
    if (detail::isNearMultiple(a, n - 1, b, EPS)) {
        return detail::truncToInt(n - 1);
    }
    return detail::truncToInt(n + 1);
}

/// a less its tolerant remainder.
inline double zFloor(double a, double b) {
    return a - zModulod(a, b);
}

/// a less its exact remainder, no snapping.
inline double zCeil(double a, double b) {
    return a - std::fmod(a, b);
}

/// The angle x moved into [0, TWO_PI).
inline double zTo02Pi(double x) {
    const double r = std::fmod(x, TWO_PI);
    return r >= 0 ? r : r + TWO_PI;
}

/// The nearest integer, halves going down: 2.5 gives 2, -2.5 gives -3.
inline int zRound(double x) {
    return detail::truncToInt(detail::roundHalfDown(x));
}

/// floor(x), except that a value within EPS below an integer counts as that integer.
inline int zStickyFloor(double x) {
    const double m = detail::roundHalfDown(x);
    if (std::fabs(x - m) < EPS) {
        return detail::truncToInt(m);
    }
    return detail::truncToInt(m < x ? m : m - 1);
}

} // namespace plinth
