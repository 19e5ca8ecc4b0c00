#pragma once

#include "plinth/platform/export.h"
#include "plinth/range/range_r1.h"

#include <cmath>

namespace plinth {

/// An interval whose ends may each be open or closed. A closed end belongs to the interval;
/// an open one is excluded by at least the tolerance of the test. The membership and
/// combination operations here hide the base's closed-interval ones.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RangeEx : public RangeR1 {
public:
    bool closedStart = true;
    bool closedEnd = true;

    /// The invalid interval, both ends closed.
    RangeEx() = default;
    RangeEx(double a, double b, bool startClosed, bool endClosed)
        : RangeR1(a, b)
        , closedStart(startClosed)
        , closedEnd(endClosed) {}
    /// flags[0] for the start, flags[1] for the end; null leaves both closed.
    RangeEx(double a, double b, const bool* flags)
        : RangeR1(a, b)
        , closedStart(flags == nullptr || flags[0])
        , closedEnd(flags == nullptr || flags[1]) {}
    RangeEx(const RangeEx&) = default;
    RangeEx& operator=(const RangeEx& r) {
        Copy(r);
        return *this;
    }
    ~RangeEx() override;

    /// The ends as RangeR1::Copy takes them (kept within EPS), both flags always.
    void Copy(const RangeEx& r) {
        RangeR1::Copy(r);
        closedStart = r.closedStart;
        closedEnd = r.closedEnd;
    }

    /// Empty as a RangeR1, or a point with both ends open.
    bool IsEmpty() const {
        return RangeR1::IsEmpty() || (RangeR1::IsSingleton() && !closedStart && !closedEnd);
    }
    /// A point with both ends closed.
    bool IsSingleton() const { return RangeR1::IsSingleton() && closedStart && closedEnd; }
    /// RangeR1::In, with x at least tol away from each open end.
    bool In(double x, double tol) const {
        return RangeR1::In(x, tol) && (closedStart || std::fabs(lo - x) >= tol) &&
               (closedEnd || std::fabs(hi - x) >= tol);
    }
    /// Grows to hold x, the end that moves becoming closed (both for an empty interval).
    void Include(double x);

    /// This and r; the new ends are closed where both intervals hold them. False (this
    /// unchanged) when they do not meet, else false when the result is empty.
    bool Intersect(const RangeEx& r);
    /// As RangeR1::IsEmptyIntersection, and also when they only touch at an end that is not
    /// closed on both sides.
    bool IsEmptyIntersection(const RangeEx& r) const;
    /// The hull of this and r; an end of this that r holds takes r's flag when it lies inside
    /// r, else becomes closed. True when an end moved, else when the flag of the later end that
    /// r holds changed.
    bool Unite(const RangeEx& r);
    /// This lies in r (r's flag honoured); an empty interval lies in anything.
    bool IsInsideOf(const RangeR1& r) const {
        return IsEmpty() || (r.In(lo, EPS) && r.In(hi, EPS));
    }
    /// r lies in this.
    bool IsIn(const RangeEx& r) const { return r.IsInsideOf(*this); }
    /// This minus r: the number of pieces (0, 1 or 2), the first left in this and a second one
    /// written into r. The cut ends are the complements of r's. startCut tells whether the
    /// start of this interval was cut away.
    unsigned char Subtract(RangeEx& r, bool* startCut = nullptr);
};

} // namespace plinth
