#pragma once

#include "plinth/numeric/constants.h"
#include "plinth/numeric/nik.h"

#include <cmath>

namespace plinth {

/// Tolerant equality. Only b is classified: beyond INF_BOUND it stands for infinity and any
/// a beyond the same bound equals it; otherwise a must lie strictly within EPS of b.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
inline bool zEqual(double a, double b) {
    if (b > INF_BOUND) {
        return a > INF_BOUND;
    }
    if (b < -INF_BOUND) {
        return a < -INF_BOUND;
    }
    return std::fabs(a - b) < EPS;
}

/// eUnknown within EPS of zero, else eTrue for positive and eFalse otherwise (NaN included).
inline ENik zSign(double x) {
    if (std::fabs(x) < EPS) {
        return eUnknown;
    }
    return x > 0 ? eTrue : eFalse;
}

/// Where a value lies relative to the closed interval [lo, hi].
enum ERangeLocn : int {
    eRangeInside = 0,  ///< more than EPS from both ends
    eRangeAtStart = 1, ///< within EPS of lo
    eRangeAtEnd = 2,   ///< every other case within EPS of the interval
    eRangeBefore = 4,  ///< below lo by more than EPS
    eRangeAfter = 5    ///< above hi by more than EPS
};

/// The ends are taken as given, never reordered. The tests run in this order, so a value
/// near both ends of a tiny interval is at the start, and one exactly EPS above lo is at
/// the end.
inline ERangeLocn zGetRangeLocn(double x, double lo, double hi) {
    if (x > lo + EPS && x < hi - EPS) {
        return eRangeInside;
    }
    if (x < lo - EPS) {
        return eRangeBefore;
    }
    if (x > hi + EPS) {
        return eRangeAfter;
    }
    if (std::fabs(x - lo) < EPS) {
        return eRangeAtStart;
    }
    return eRangeAtEnd;
}

/// Moves both ends inwards by d when d is at most the whole length; a d above half the
/// length therefore leaves lo > hi.
inline void zShrinkRange(double& lo, double& hi, double d) {
    if (d <= std::fabs(hi - lo)) {
        lo = lo + d;
        hi = hi - d;
    }
}

} // namespace plinth
