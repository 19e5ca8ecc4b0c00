#pragma once

#include "plinth/numeric/constants.h"
#include "plinth/platform/export.h"

namespace plinth {

class RangeR1;

/// Polynomial interpolation through up to 30 samples (x[i], y[i]) that the caller writes
/// directly: Newton divided differences, Neville's scheme on unit-spaced nodes, and the
/// quadratic through the first three samples with its derivative and extremum (to locate a
/// minimum or maximum between three samples of a one-dimensional search).
///
/// With `uniform` the abscissae are 0, 1, 2, ... and x is not read. A quotient whose
/// denominator is at most EPS is UNBOUNDED where a member says so. Indices beyond the 30
/// samples give UNBOUNDED instead of reading past the arrays. Nothing is allocated.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API Interpolator {
public:
    static constexpr int kSamples = 30;

    bool uniform;
    double x[kSamples];
    double y[kSamples];
    int order; ///< requested by the caller; no member reads it

    /// Uniform, order 2. The samples start as zeros for the caller to overwrite.
    Interpolator()
        : Interpolator(2, true) {}
    Interpolator(int requestedOrder, bool unitSpaced)
        : uniform(unitSpaced)
        , x{}
        , y{}
        , order(requestedOrder) {}

    /// The i-th abscissa.
    double X(int i) const {
        if (uniform) {
            return i;
        }
        return Holds(i, i) ? x[i] : UNBOUNDED;
    }
    /// Forward difference of the ordinates, y[i + 1] - y[i].
    double d(int i) const { return Holds(i, i + 1LL) ? y[i + 1] - y[i] : UNBOUNDED; }
    /// The abscissa span X(i + k) - X(i).
    double Del(int k, int i) const { return X(i + k) - X(i); }
    /// The divided difference of order k >= 1 over the samples i .. i + k; UNBOUNDED where
    /// a span of its recursion is at most EPS.
    double Delta(int k, int i) const;
    /// The value at u of the polynomial of degree at most k through (j, y[j]), j = 0 .. k,
    /// whatever `uniform` says. UNBOUNDED for k outside 0 .. 29.
    double aitken(double u, int k) const;

    // ---- The quadratic through the first three samples

    /// Its value at t, in Newton form.
    double GetQuadric(double t) const {
        const double x0 = X(0);
        return y[0] + Delta(1, 0) * (t - x0) + Delta(2, 0) * (t - x0) * (t - X(1));
    }
    /// Where its derivative vanishes; false (t = X(0)) when it is nearly a line.
    bool GetExtremumParam(double& t) const;
    /// The change of chord slope, s12 - s01 (unguarded).
    double m() const { return Chord(1) - Chord(0); }
    /// With m(): the derivative is (2 m() t + H()) / (X(2) - X(0)).
    double H() const { return Chord(0) * (X(1) + X(2)) - Chord(1) * (X(0) + X(1)); }
    double GetDerivativeAitkenOrd2(double t) const { return (H() + 2 * m() * t) / (X(2) - X(0)); }
    /// t = -H() / (2 m()); false (t unchanged) when |m()| < EPS.
    bool GetExtremumParamAitken(double& t) const;
    /// The extreme value, when the extremum lies inside r at least EPS from both ends.
    bool GetInternalMinMax(const RangeR1& r, double& value) const;

private:
    /// Slopes of a piecewise quadratic through the samples starting with slope 0:
    /// Z(i) = 2 d(i) / (X(i + 1) - X(i)) - Z(i - 1), 0 for i < 1.
    double Z(int i) const;

    /// Samples first .. last exist, and first <= last.
    static bool Holds(long long first, long long last) {
        return 0 <= first && first <= last && last < kSamples;
    }
    /// The slope of chord i, unguarded.
    double Chord(int i) const { return (y[i + 1] - y[i]) / (X(i + 1) - X(i)); }
};

} // namespace plinth
