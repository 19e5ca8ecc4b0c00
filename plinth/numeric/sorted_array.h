#pragma once

#include "plinth/numeric/constants.h"

#include <algorithm>

namespace plinth {

/// Index i of the segment [arr[i - 1], arr[i]) of the ascending array arr[lo..hi] that holds
/// x, each node widened by EPS upwards: a value at or within EPS above a node belongs to the
/// segment that ends at that node. Below arr[0] + EPS gives 0 (arr[0] is tested whatever lo
/// is); beyond the last node gives hi.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
inline int zFindSegment(double x, const double* arr, int lo, int hi) {
    if (x < arr[0] + EPS) {
        return 0;
    }
    if (hi - lo < 2) {
        return hi;
    }
    while (hi - lo > 1) {
        // Widened so that lo + hi cannot overflow; the quotient always fits.
        const int mid = static_cast<int>((static_cast<long long>(lo) + hi) / 2);
        if (arr[mid] + EPS <= x) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return hi;
}

/// Index of the node of arr[lo..hi] nearest to x, an exact tie going to the upper node.
inline int zFindNearest(double x, const double* arr, int lo, int hi) {
    const int i = zFindSegment(x, arr, lo, hi);
    if (i == 0) {
        return 0;
    }
    return x - arr[i - 1] < arr[i] - x ? i - 1 : i;
}

/// Sets the n doubles at p to v; a null p or a count below 1 does nothing.
inline void zMemSet(double* p, int n, double v) {
    if (p != nullptr && n > 0) {
        std::fill_n(p, n, v);
    }
}

} // namespace plinth
