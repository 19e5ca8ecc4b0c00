#include "plinth/grid/grid1d.h"

#include "plinth/numeric/rounding.h"

#include <algorithm>

namespace plinth {

Grid1D::Grid1D(double lo, double hi, int n) {
    if (lo + EPS < hi && n > 0) {
        m_range.Set(lo, hi);
        m_nSegments = n;
    }
}

Grid1D::~Grid1D() = default;

int Grid1D::GetNearestKnot(double x) const {
    bool atKnot = false;
    const int k = GetSegment(x, &atKnot);
    if (k < 0) {
        return -1;
    }
    const double step = GetStep();
    if (m_nSegments >= 1 && step < EPS) {
        return -1;
    }
    return x - GetKnot(k) >= 0.5 * step ? Above(k) : k;
}

void Grid1D::GetCoverSet(const RangeR1& r, RangeInt& out) const {
    const int first = GetSegment(r.lo, nullptr);
    const int last = GetSegment(r.hi, nullptr);
    out.lo = first;
    out.hi = last >= m_nSegments ? m_nSegments - 1 : last;
}

int Grid1D::GetFirstKnotIn(const RangeR1& r) const {
    const double step = GetStep();
    if (m_nSegments > 0 && step <= EPS) {
        return 0;
    }
    const int k = detail::truncToInt((r.lo - m_range.lo) / step);
    if (r.In(GetKnot(k), EPS)) {
        return k;
    }
    if (r.In(GetKnot(k) + step, EPS)) {
        return Above(k);
    }
    return -1;
}

double Grid1D::GetKnotAll(int i, const RangeR1& r) const {
    if (i == 0) {
        return r.lo;
    }
    if (i == Above(GetKnotCount())) {
        return r.hi;
    }
    return GetKnot(i - 1);
}

int Grid1D::FindRangeAll(double x, const RangeR1& r, bool& atKnot) const {
    const int count = GetKnotCount();
    if (x < m_range.lo) {
        atKnot = r.IsEnd(x);
        return 0;
    }
    const double last = GetKnot(count - 1);
    if (x > last - EPS) {
        if (x > r.hi - EPS) {
            atKnot = true;
            return Above(count);
        }
        atKnot = x < last + EPS;
        return count;
    }
    atKnot = false;
    return Above(GetSegment(x, &atKnot));
}

void Grid1D::GetInternalKnots(const RangeR1& r, Grid1D& out) const {
    // Everything is computed before out is written: out may be this grid, r its interval.
    const int first = Above(GetSegment(r.lo, nullptr));
    const double lo = GetKnot(first);
    double hi = lo - 1.0;
    int n = 0;
    if (r.hi >= lo) {
        bool atKnot = false;
        int last = GetSegment(r.hi, &atKnot);
        if (atKnot) {
            --last;
        }
        n = std::max(last - first, 0);
        hi = GetKnot(last);
    }
    out.m_range.lo = lo;
    out.m_range.hi = hi;
    out.m_nSegments = n;
}

void Grid1D::SetSegmentCountEx(int m, bool keepLo) {
    if (m <= 0 || m == m_nSegments) {
        return;
    }
    const double step = GetStep();
    m_nSegments = m;
    if (keepLo) {
        m_range.hi = m_range.lo + step * m;
    } else {
        m_range.lo = m_range.hi - step * m;
    }
}

void Grid1D::SetStepSize(double h, ENik mode) {
    const double length = m_range.GetLength();
    if (h <= 0 || h >= length) {
        return;
    }
    double n = std::trunc(length / h);
    if (mode != eUnknown && n * h <= length - EPS) {
        if (mode == eFalse) {
            n += 1;
        }
        m_range.SetLength(h * n);
    }
    m_nSegments = detail::truncToInt(n);
}

void Grid1D::Include(double x) {
    if (m_range.In(x, EPS)) {
        return;
    }
    const double step = GetStep();
    if (x <= m_range.hi) {
        const int m = zCeilN(m_range.hi - x, step);
        if (m > 0 && m != m_nSegments) {
            m_nSegments = m;
            m_range.lo = m_range.hi - step * m;
        }
        return;
    }
    m_range.Include(x);
    const double length = m_range.GetLength();
    if (step < length) {
        double n = std::trunc(length / step);
        if (n * step <= length - EPS) {
            n += 1;
            m_range.SetLength(step * n);
        }
        m_nSegments = detail::truncToInt(n);
    }
}

void Grid1D::Snap(double& x) {
    Include(x);
    const int k = GetNearestKnot(x);
    if (k >= 0) {
        x = GetKnot(k);
    }
}

int Grid1D::Align(double x, bool extend) {
    bool atKnot = false;
    const int k = GetSegment(x, &atKnot);
    if (atKnot) {
        return k;
    }
    const int next = Above(k);
    const double d = GetKnot(next) - x;
    if (extend) {
        const double step = GetStep();
        m_range.lo -= d;
        m_nSegments = Above(m_nSegments);
        m_range.hi = m_range.lo + m_nSegments * step;
    } else {
        m_range.Translate(-d);
    }
    return next;
}

Grid1DLocation::~Grid1DLocation() = default;

} // namespace plinth
