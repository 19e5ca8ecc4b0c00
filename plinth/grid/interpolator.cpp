#include "plinth/grid/interpolator.h"

#include "plinth/range/range_r1.h"

#include <cmath>

namespace plinth {

double Interpolator::Delta(int k, int i) const {
    if (k < 1 || !Holds(i, static_cast<long long>(i) + k)) {
        return UNBOUNDED;
    }
    // The recursion's table, one level at a time: D[j] is the difference of the current
    // order over the samples i + j onwards.
    double D[kSamples];
    for (int level = 1; level <= k; ++level) {
        for (int j = 0; j <= k - level; ++j) {
            const double h = X(i + j + level) - X(i + j);
            const double rise = level == 1 ? y[i + j + 1] - y[i + j] : D[j + 1] - D[j];
            D[j] = h <= EPS ? UNBOUNDED : rise / h;
        }
    }
    return D[0];
}

double Interpolator::Z(int i) const {
    if (i >= kSamples - 1) {
        return UNBOUNDED;
    }
    double z = 0;
    for (int j = 1; j <= i; ++j) {
        const double h = X(j + 1) - X(j);
        z = h <= EPS ? UNBOUNDED : 2 * d(j) / h - z;
    }
    return z;
}

double Interpolator::aitken(double u, int k) const {
    if (!Holds(0, k)) {
        return UNBOUNDED;
    }
    double P[kSamples];
    for (int j = 0; j <= k; ++j) {
        P[j] = y[j];
    }
    for (int level = 1; level <= k; ++level) {
        for (int i = 0; i <= k - level; ++i) {
            const double w = (u - i) / level;
            P[i] = w * P[i + 1] + (1 - w) * P[i];
        }
    }
    return P[0];
}

bool Interpolator::GetExtremumParam(double& t) const {
    const double curvature = Delta(2, 0);
    if (std::fabs(curvature) < EPS) {
        t = X(0);
        return false;
    }
    t = (X(0) + X(1) - Delta(1, 0) / curvature) * 0.5;
    return true;
}

bool Interpolator::GetExtremumParamAitken(double& t) const {
    const double mm = m();
    if (std::fabs(mm) < EPS) {
        return false;
    }
    t = -0.5 * H() / mm;
    return true;
}

bool Interpolator::GetInternalMinMax(const RangeR1& r, double& value) const {
    double t = 0;
    if (!GetExtremumParamAitken(t) || !r.InOpen(t)) {
        return false;
    }
    const int j = t >= X(0) ? 1 : 0;
    const double h = X(j + 1) - X(j);
    if (h <= EPS) {
        return false;
    }
    value = aitken(j + (t - X(j)) / h, 2);
    return true;
}

} // namespace plinth
