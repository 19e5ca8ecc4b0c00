#pragma once

#include "plinth/numeric/constants.h"

#include <cmath>

namespace plinth {

/// Scales the 3-vector v to unit length. A vector shorter than EPS is left unchanged and
/// false is returned; one of exactly EPS is still normalised.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
inline bool rtNormalize(double* v) {
    const double len = std::sqrt(((0.0 + v[0] * v[0]) + v[1] * v[1]) + v[2] * v[2]);
    if (len < EPS) {
        return false;
    }
    v[0] /= len;
    v[1] /= len;
    v[2] /= len;
    return true;
}

/// Copies each component of src that differs from dst's by more than EPS; closer components
/// keep their old value. True when anything was copied.
inline bool rtCopy3d(double* dst, const double* src) {
    bool copied = false;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(dst[i] - src[i]) > EPS) {
            dst[i] = src[i];
            copied = true;
        }
    }
    return copied;
}

} // namespace plinth
