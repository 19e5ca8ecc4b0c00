#include "plinth/numeric/rounding.h"
#include "plinth/range/range_r1.h"

#include <climits>

namespace plinth {

namespace {

// The reciprocal of one end for Invert. An end at zero goes to the unbounded side opposite to
// the other end's sign; an infinite end goes to zero.
double Reciprocal(double end, double other) {
    if (std::fabs(end) < EPS) {
        return other >= 0 ? -UNBOUNDED : UNBOUNDED;
    }
    if (end > INF_BOUND || end < -INF_BOUND) {
        return 0;
    }
    return 1 / end;
}

} // namespace

// ---- Reshaping

void RangeR1::Inflate(double k, double c) {
    lo = c - (c - lo) * k;
    hi = (hi - c) * k + c;
}

void RangeR1::Inflate(double k) {
    const double c = GetCenter();
    const double h = (k + 1) * (hi - lo) * 0.5;
    Set(c - h, h + c);
}

void RangeR1::Spread(double len) {
    const double c = Middle();
    lo = c - len * 0.5;
    hi = len * 0.5 + c;
}

void RangeR1::SetLengthKeepCenter(double len) {
    const double c = GetCenter();
    Set(c - 0.5 * len, 0.5 * len + c);
}

bool RangeR1::SetCenter(double c) {
    if (std::fabs(Middle() - c) < EPS) {
        return false;
    }
    const double h = (hi - lo) * 0.5;
    lo = c - h;
    hi = h + c;
    return true;
}

void RangeR1::operator*=(double k) {
    lo = k * lo;
    hi = k * hi;
    if (k < 0 && hi < lo - EPS) {
        Swap();
    }
}

bool RangeR1::MakeSymmetric() {
    const double oldLo = lo;
    const double oldHi = hi;
    const double m = std::max(std::fabs(lo), std::fabs(hi));
    Set(-m, m);
    return std::fabs(oldHi - m) > EPS || std::fabs(m + oldLo) > EPS;
}

void RangeR1::AdjustCentral(const RangeR1& r) {
    const double c = Middle();
    const double d = std::max(std::fabs(r.lo - c), std::fabs(r.hi - c));
    lo = c - d;
    hi = d + c;
}

void RangeR1::AddMargin(const RangeR1& r, double m) {
    if (r.lo - lo < m - EPS) {
        lo = r.lo - m;
    }
    if (hi - r.hi < m - EPS) {
        hi = m + r.hi;
    }
}

void RangeR1::Center(const RangeR1& r) {
    const double d = ((r.hi - r.lo) - (hi - lo)) * 0.5;
    if (d >= EPS) {
        Set(d + r.lo, r.hi - d);
    }
}

void RangeR1::MakeValid(double x) {
    if (std::fabs(x) < EPS) {
        Set(-10, 10);
    } else if (x < 0) {
        Set(1.5 * x, 0);
    } else {
        Set(0, 1.5 * x);
    }
}

// ---- Combining two intervals

bool RangeR1::Unite(const RangeR1& r) {
    bool moved = false;
    if (r.lo < lo) {
        lo = r.lo;
        moved = true;
    }
    if (r.hi > hi) {
        hi = r.hi;
        moved = true;
    }
    return moved;
}

void RangeR1::operator+=(const RangeR1& r) {
    if (IsEmpty()) {
        Copy(r);
        return;
    }
    lo = std::min(lo, r.lo);
    hi = std::max(hi, r.hi);
}

bool RangeR1::Intersect(const RangeR1& r) {
    if (hi + EPS < r.lo || lo - EPS > r.hi) {
        SetEmpty();
        return false;
    }
    if (r.lo >= lo - EPS) {
        if (r.hi < hi - EPS) {
            Copy(r);
        } else {
            lo = r.lo;
        }
    } else if (r.hi <= hi + EPS) {
        hi = r.hi;
    }
    return !IsEmpty();
}

unsigned char RangeR1::Subtract(RangeR1& r) {
    if (IsInsideOf(r)) {
        SetEmpty();
        return 0;
    }
    RangeR1 common(*this);
    if (!common.Intersect(r) || std::fabs(r.hi - r.lo) < EPS) {
        return 1;
    }
    RangeR1 left(*this);
    const bool hasLeft = common.lo > lo;
    if (hasLeft) {
        left.hi = common.lo;
    }
    if (common.hi < hi) {
        if (!hasLeft) {
            Set(common.hi, hi);
            return 1;
        }
        r.Set(common.hi, hi);
        Copy(left);
        return 2;
    }
    if (!hasLeft) {
        return 0;
    }
    Copy(left);
    return 1;
}

bool RangeR1::Invert() {
    if (!IsValid() || IsEmpty()) {
        return false;
    }
    if (std::fabs(lo) < EPS && std::fabs(hi) < EPS) {
        lo = UNBOUNDED;
        hi = UNBOUNDED;
        return true;
    }
    const double p = Reciprocal(lo, hi);
    const double q = Reciprocal(hi, lo);
    lo = std::min(p, q);
    hi = std::max(p, q);
    return true;
}

// ---- Parameters and points

double RangeR1::NodePoint(long long i, long long n) const {
    if (n == 0 || n == -1) {
        return lo;
    }
    return GetPoint(static_cast<double>(i % (n + 1)) / static_cast<double>(n));
}

bool RangeR1::ToUnitRange(double& x) const {
    const double d = hi - lo;
    if (d >= EPS) {
        x = (x - lo) / d;
        return true;
    }
    if (std::fabs(x - lo) < EPS) {
        x = 0;
        return true;
    }
    return false;
}

double RangeR1::ToRange(double a, double b, double x) {
    if (InNoToler(x, a, b)) {
        return x;
    }
    return std::fabs(x - b) <= std::fabs(x - a) ? b : a;
}

double RangeR1::GetBestMatch(double x) const {
    if (In(x, EPS)) {
        return x;
    }
    return std::fabs(x - lo) < std::fabs(x - hi) ? lo : hi;
}

// ---- Distances

double RangeR1::GetDist(const RangeR1& r) const {
    if (!IsEmptyIntersection(r)) {
        return 0;
    }
    return r.hi < lo ? lo - r.hi : r.lo - hi;
}

double RangeR1::GetDist(double x, double* nearest) const {
    if (IsEmpty()) {
        return UNBOUNDED;
    }
    if (IsFull()) {
        if (nearest != nullptr) {
            *nearest = x;
        }
        return 0;
    }
    if (x <= GetCenter()) {
        if (nearest != nullptr) {
            *nearest = x > lo - EPS ? x : lo;
        }
        return lo - x;
    }
    if (nearest != nullptr) {
        *nearest = x < hi + EPS ? x : hi;
    }
    return x - hi;
}

double RangeR1::GetMaxDist(double x, double* farthest) const {
    if (IsEmpty()) {
        return UNBOUNDED;
    }
    if (IsFull()) {
        return 0;
    }
    const bool aboveCenter = GetCenter() < x;
    if (farthest != nullptr) {
        *farthest = aboveCenter ? lo : hi;
    }
    return aboveCenter ? x - lo : hi - x;
}

double RangeR1::GetMaxDist(const RangeR1& r) const {
    if (IsInsideOf(r)) {
        return std::max(r.hi - lo, hi - r.lo);
    }
    return std::max(hi, r.hi) - std::min(lo, r.lo);
}

double RangeR1::GetScale(const RangeR1& r, double x) const {
    const double d1 = x - lo;
    const double d2 = x - r.lo;
    const double d3 = hi - x;
    if (d1 <= EPS || d2 <= EPS || d3 <= EPS) {
        return UNBOUNDED;
    }
    const double below = d1 / d2;
    const double above = d3 / (r.hi - x);
    return above <= below ? above : below;
}

// ---- Ordering and approach tests

ENik RangeR1::IsNearLimit(double x, double tol) const {
    if (x - lo <= tol) {
        return eFalse;
    }
    if (hi - x <= tol) {
        return eTrue;
    }
    return eUnknown;
}

bool RangeR1::IsApproaching(double x, double v) const {
    if (std::fabs(v) < EPS) {
        return false;
    }
    const double c = Middle();
    return (x > c - EPS && v < 0) || (x < c + EPS && v > 0);
}

ENik RangeR1::IsAfter(const RangeR1& r) const {
    if (r >= *this || *this >= r) {
        return eUnknown;
    }
    return r.hi < hi ? eTrue : eFalse;
}

ENik RangeR1::IsAfterClosed(const RangeR1& r) const {
    RangeR1 common(*this);
    common.Intersect(r);
    if (!common.IsEmpty()) {
        if (std::fabs(common.hi - common.lo) >= EPS) {
            return eTrue; // a real overlap
        }
        if (r.hi >= hi && r.IsSingleton()) {
            return eUnknown;
        }
        if (r.hi <= hi && IsSingleton()) {
            return r.IsSingleton() ? eUnknown : eTrue;
        }
    }
    return r.hi < hi ? eTrue : eFalse;
}

// ---- Segmentation

int RangeR1::GetSegm(double x, int n, bool* exact) const {
    if (n == 0) {
        return 0;
    }
    if (exact != nullptr) {
        *exact = false;
    }
    if (std::fabs(x - hi) < EPS) {
        if (exact != nullptr) {
            *exact = true;
        }
        return n;
    }
    const double step = (hi - lo) / n;
    if (step < EPS) {
        if (exact != nullptr) {
            *exact = true;
        }
        return 0;
    }
    const int k = zFactorN(x - lo, step);
    if (exact != nullptr) {
        *exact = std::fabs(x - k * step - lo) < EPS;
    }
    return k;
}

double RangeR1::GetUpper(double x, int n, bool* exact) const {
    bool onNode = false;
    const int k = GetSegm(x, n, &onNode);
    if (exact != nullptr) {
        *exact = onNode;
    }
    return onNode ? x : NodePoint(k + 1LL, n);
}

double RangeR1::GetNext(double x, int n, bool* exact, int* index) const {
    bool onNode = false;
    const int k = GetSegm(x, n, &onNode);
    if (exact != nullptr) {
        *exact = onNode;
    }
    if (index != nullptr) {
        *index = k >= n ? k : k + 1;
    }
    // Off a node this is the upper end of segment k, on a node the next node: both node k + 1.
    return NodePoint(k + 1LL, n);
}

int RangeR1::GetCoverSegmCount(double step) const {
    return detail::truncToInt(std::ceil((hi - lo) / step));
}

void RangeR1::Align(double step, double origin) {
    if (step <= EPS) {
        return;
    }
    if (origin > lo) {
        origin -= zCeilN(origin - lo, step) * step;
    }
    lo = detail::truncToInt(std::floor((lo - origin) / step)) * step + origin;
}

void RangeR1::Setup(double step, int& n) {
    const double len = hi - lo;
    n = std::max(zCeilN(len, step), 1);
    const double total = n * step;
    if (total < len + EPS) {
        n = n < INT_MAX ? n + 1 : n;
        hi = lo + total + step;
    } else {
        hi = lo + total;
    }
}

void RangeR1::Setup(double step, int& n, double* origin) {
    if (origin != nullptr) {
        Align(step, *origin);
    }
    Setup(step, n);
}

double RangeR1::GetArcSingilarSamplingPt(int i, int n, bool atStart) const {
    const double k = atStart ? i : static_cast<double>(n) - i;
    const double c = std::cos(k * 0.5 * PI / n);
    if (atStart) {
        return (1 - c) * hi + c * lo;
    }
    return (1 - c) * lo + c * hi;
}

} // namespace plinth
