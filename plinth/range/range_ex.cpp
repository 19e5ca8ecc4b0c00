#include "plinth/range/range_ex.h"

namespace plinth {

RangeEx::~RangeEx() = default;

void RangeEx::Include(double x) {
    if (In(x, EPS)) {
        return;
    }
    const bool wasEmpty = IsEmpty();
    const double oldLo = lo;
    RangeR1::Include(x);
    if (wasEmpty) {
        closedStart = true;
        closedEnd = true;
    } else if (x < oldLo + EPS) {
        closedStart = true;
    } else {
        closedEnd = true;
    }
}

bool RangeEx::Intersect(const RangeEx& r) {
    RangeR1 common(*this);
    if (!common.Intersect(r)) {
        return false;
    }
    const bool startClosed = In(common.lo, EPS) && r.In(common.lo, EPS);
    const bool endClosed = In(common.hi, EPS) && r.In(common.hi, EPS);
    closedStart = startClosed;
    closedEnd = endClosed;
    RangeR1::Copy(common);
    return !IsEmpty();
}

bool RangeEx::IsEmptyIntersection(const RangeEx& r) const {
    if (RangeR1::IsEmptyIntersection(r)) {
        return true;
    }
    const bool openAtEnd = std::fabs(hi - r.lo) < EPS && !(closedEnd && r.closedStart);
    const bool openAtStart = std::fabs(lo - r.hi) < EPS && !(closedStart && r.closedEnd);
    return openAtEnd || openAtStart;
}

bool RangeEx::Unite(const RangeEx& r) {
    const bool holdsStart = r.In(lo, EPS);
    const bool holdsEnd = r.In(hi, EPS);
    const bool oldStart = closedStart;
    const bool oldEnd = closedEnd;
    if (holdsStart) {
        closedStart = r.InOpen(lo) ? r.closedStart : true;
    }
    if (holdsEnd) {
        closedEnd = r.InOpen(hi) ? r.closedEnd : true;
    }
    if (RangeR1::Unite(r)) {
        return true;
    }
    if (holdsEnd) {
        return closedEnd != oldEnd;
    }
    return holdsStart && closedStart != oldStart;
}

unsigned char RangeEx::Subtract(RangeEx& r, bool* startCut) {
    if (startCut != nullptr) {
        *startCut = false;
    }
    if (IsInsideOf(r)) {
        RangeR1::SetEmpty();
        return 0;
    }
    RangeEx common(*this);
    if (!common.Intersect(r)) {
        return 1;
    }
    RangeEx left(*this);
    unsigned char pieces = 0;
    if (common.lo > lo) {
        left.hi = common.lo;
        left.closedEnd = !r.closedStart;
        pieces = 1;
    } else if (startCut != nullptr) {
        *startCut = true;
    }
    if (common.hi < hi) {
        if (pieces == 1) {
            const bool rClosedEnd = r.closedEnd;
            r.Set(common.hi, hi);
            r.closedStart = !rClosedEnd;
            r.closedEnd = closedEnd;
            Copy(left);
            return 2;
        }
        Set(common.hi, hi);
        closedStart = !r.closedEnd;
        return 1;
    }
    if (pieces == 1) {
        Copy(left);
    } else {
        closedEnd = r.In(hi, EPS);
    }
    return pieces;
}

} // namespace plinth
