#pragma once

#include "plinth/numeric/rounding.h"
#include "plinth/platform/export.h"

#include <cmath>

namespace plinth {

/// Tolerant tests and rounding of doubles; stateless, everything is static.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API DoubleVel {
public:
    /// True when x lies in [0, 1] widened by tol on both sides, ends included.
    static bool IsRatio(double x, double tol) { return -tol <= x && x <= 1 + tol; }

    /// zeroResult when |x| < tol; otherwise whether x has the sign asked for (negative when
    /// the flag is set, positive when it is clear).
    static bool IsNegative(double x, bool negative, bool zeroResult, double tol) {
        if (std::fabs(x) < tol) {
            return zeroResult;
        }
        return negative ? x < 0 : x > 0;
    }

    /// The nearest integer, halves going down.
    static int Round(double x) { return zRound(x); }

    /// x rounded to the given number of decimals, halves going down.
    static double Round(double x, unsigned char digits) {
        const double scale = PowerOfTen(digits);
        return detail::roundHalfDown(x * scale) / scale;
    }

private:
    /// 10^n by repeated squaring; exact up to n = 22.
    static double PowerOfTen(unsigned char n) {
        double result = 1.0;
        for (double square = 10.0; n != 0; n >>= 1, square *= square) {
            if ((n & 1) != 0) {
                result *= square;
            }
        }
        return result;
    }
};

} // namespace plinth
