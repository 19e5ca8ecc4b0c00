#include "plinth/circle/range_s1.h"

#include "plinth/platform/archive.h"

namespace plinth {

RangeS1::EClass RangeS1::GetClass() const {
    return eClassS1;
}

void RangeS1::Set(double a, double b) {
    if (std::fabs(b - PI) < EPS && a + PI < S1::SEAM_EPS) {
        SetFull();
        return;
    }
    const double na = S1::Factorize(a);
    const double nb = S1::Factorize(b);
    if (S1::IsFullTurn(na, nb)) {
        SetFull();
        return;
    }
    RangeR1::Set(na, nb);
    state = eStateArc;
}

void RangeS1::Copy(const RangeR1& r) {
    Set(r.lo, r.hi);
    if (S1::Equal(r.lo, r.hi, false)) {
        SetFull();
    } else {
        state = eStateArc;
    }
}

bool RangeS1::IsSingular() const {
    if (IsFull() || IsEmpty()) {
        return IsFull();
    }
    return S1::InRange(PI, lo, hi, !external) && std::fabs(hi - PI) > EPS;
}

bool RangeS1::IsValid(double a, double b, EState s) {
    if (!S1::IsValid(a) || !S1::IsValid(b)) {
        return false;
    }
    if (S1::Equal(a, b, false)) {
        return !(std::fabs(a - PI) < EPS && s == eStateArc); // a point arc on the seam
    }
    return s == eStateArc;
}

double RangeS1::GetPoint(double t) const {
    if (!IsSingular()) {
        return RangeR1::GetPoint(t);
    }
    // Lift the end after the seam by a full turn so that the parameter runs along the arc:
    // from hi round to lo for a clockwise arc, from lo round to hi otherwise. Both agree at
    // t = 0.5 and, for the full circle, run once round from PI.
    if (external) {
        return S1::Factorize(RangeR1::GetPoint(t, hi, lo + TWO_PI));
    }
    return S1::Factorize(RangeR1::GetPoint(t, lo, hi + TWO_PI));
}

bool RangeS1::GetAnyOutside(double& x) const {
    if (IsFull()) {
        return false;
    }
    if (IsEmpty()) {
        RangeS1 full;
        full.SetFull();
        x = full.GetPoint(0.5);
        return true;
    }
    x = Arc(hi, lo).GetPoint(0.5);
    return true;
}

double RangeS1::ToRangeS1(double x) const {
    const double nx = S1::Factorize(x);
    if (IsEmpty()) {
        return UNBOUNDED;
    }
    if (IsFull() || In(nx)) {
        return nx;
    }
    return S1::diff(nx, hi, true) <= S1::diff(lo, nx, true) ? hi : lo;
}

bool RangeS1::operator>=(const RangeS1& o) const {
    if (IsFull()) {
        return true;
    }
    if (IsEmpty() || o.IsEmpty()) {
        return o.IsEmpty();
    }
    if (!In(o.lo) || !In(o.hi)) {
        return false;
    }
    // Both ends on this arc: o still escapes it when it runs round through the complement.
    return !o.In(S1::GetSegmentPoint(hi, lo, 0.5, !external));
}

bool RangeS1::IsInsideOf(const RangeS1& o) const {
    if (IsEmpty() || o.IsFull()) {
        return true;
    }
    if (!S1::InRange(lo, o.lo, o.hi, !o.external) || !o.In(hi)) {
        return false;
    }
    RangeS1 rest;
    o.GetComplimentary(rest);
    return !In(rest.GetPoint(0.5));
}

bool RangeS1::IsComplimentary(const RangeS1& o) const {
    if (IsFull()) {
        return o.IsEmpty();
    }
    if (IsEmpty()) {
        return o.IsFull();
    }
    return std::fabs(o.lo - hi) <= EPS && std::fabs(o.hi - lo) <= EPS;
}

bool RangeS1::GetComplimentary(RangeS1& out) const {
    if (IsFull()) {
        out.state = eStateEmpty;
        return false;
    }
    if (IsEmpty()) {
        out.SetFull();
        return true;
    }
    out.lo = hi;
    out.hi = lo;
    out.state = eStateArc;
    return true;
}

void RangeS1::SetComplimentary() {
    if (IsFull()) {
        SetEmpty();
    } else if (IsEmpty()) {
        SetFull();
    } else {
        Copy(RangeR1(hi, lo));
    }
}

RangeR1::ELocn RangeS1::GetPointLocation(double x, double tol) const {
    if (IsFull() || IsEmpty()) {
        return IsFull() ? eLocnInside : eLocnOutside;
    }
    if (!IsSingular()) {
        const ELocn r = RangeR1::GetPointLocation(x, tol);
        return r == eLocnBefore || r == eLocnAfter ? eLocnOutside : r;
    }
    // Across the seam: first the part up to PI, where the seam itself is inside ...
    const ELocn r = RangeR1(lo, PI).GetPointLocation(x, tol);
    if (r == eLocnInside || r == eLocnAtStart || r == eLocnAtEnd) {
        return r == eLocnAtEnd ? eLocnInside : r;
    }
    // ... then the part after -PI, which is the arc's end when it is no longer than tol.
    const ELocn r2 = RangeR1(-PI, hi).GetPointLocation(x, tol);
    switch (r2) {
    case eLocnAtStart:
        return hi <= tol - PI ? eLocnAtEnd : eLocnInside;
    case eLocnBefore:
    case eLocnAfter:
        return eLocnOutside;
    default:
        return r2;
    }
}

RangeR1::ERangeLocn RangeS1::GetRangeLocation(const RangeS1& o, double tol) const {
    RangeS1 c(o);
    if (tol > EPS) {
        Snap(c, tol);
    }
    if (c.IsInsideOf(*this)) {
        const bool point = c.IsSingleton2(tol);
        if (c.IsSame(*this, tol)) {
            return eRangeSame;
        }
        if (std::fabs(c.lo - lo) < tol) {
            return point ? eRangePointAtStart : eRangeContainsAtStart;
        }
        if (std::fabs(c.hi - hi) < tol) {
            return point ? eRangePointAtEnd : eRangeContainsAtEnd;
        }
        return eRangeContains;
    }
    if (IsInsideOf(c)) {
        if (std::fabs(c.lo - lo) < EPS) {
            return eRangeInsideAtStart;
        }
        return std::fabs(hi - c.hi) >= EPS ? eRangeInsideOther : eRangeInsideAtEnd;
    }
    RangeS1 common(*this);
    if (common.Intersect(c) == 0) {
        return eRangeDisjoint;
    }
    return common.RangeR1::IsSingleton() ? eRangeTouch : eRangeOverlap;
}

bool RangeS1::IsEmptyIntersection(const RangeS1& o) const {
    RangeS1 a(*this);
    RangeS1 b(o);
    return a.Intersect(b) == 0;
}

unsigned char RangeS1::Subtract(RangeS1& o, bool* moved) {
    bool startMoved = false;
    unsigned char pieces = 1;
    if (IsEmpty()) {
        pieces = 0;
    } else if (IsFull()) {
        if (o.IsFull()) {
            SetEmpty();
            pieces = 0;
        } else if (!o.IsEmpty()) {
            RangeR1::Set(o.hi, o.lo);
            state = eStateArc;
            startMoved = true;
        }
    } else if (o.IsEmpty() || std::fabs(o.hi - o.lo) < EPS) {
        // Nothing to take away: o is empty or a point. The full circle, whose ends are equal
        // too, is passed over by this test as well, so this arc stays.
    } else if (IsInsideOf(o)) {
        SetEmpty();
        startMoved = true;
        pieces = 0;
    } else if (o.IsInsideOf(*this)) {
        if (std::fabs(lo - o.lo) < EPS) {
            if (std::fabs(hi - o.hi) < EPS) {
                SetEmpty();
                pieces = 0;
            } else {
                lo = o.hi;
                startMoved = true;
            }
        } else if (std::fabs(hi - o.hi) >= EPS) { // o strictly inside: two pieces
            const double end = hi;
            hi = S1::Factorize(o.lo);
            o.Set(o.hi, end);
            pieces = 2;
        } else {
            hi = o.lo;
        }
    } else {
        // A partial overlap or none: cut whichever ends o covers.
        if (o.In(lo)) {
            startMoved = std::fabs(lo - o.hi) >= EPS;
            lo = o.hi;
        }
        if (o.In(hi)) {
            hi = o.lo;
        }
    }
    if (moved != nullptr) {
        *moved = startMoved;
    }
    return pieces;
}

unsigned char RangeS1::Intersect(RangeS1& o) {
    if (IsEmpty()) {
        return 0;
    }
    if (o.IsEmpty()) {
        SetEmpty();
        return 0;
    }
    if (o.IsFull()) {
        return 1;
    }
    if (IsFull()) {
        Copy(o);
        return 1;
    }
    const bool startOn = In(o.lo);
    const bool endOn = In(o.hi);
    if (!startOn && !endOn) {
        if (IsInsideOf(o)) {
            return 1;
        }
        SetEmpty();
        return 0;
    }
    if (!startOn) {
        hi = o.hi;
        return 1;
    }
    if (!endOn) {
        lo = o.lo;
        return 1;
    }
    double outside = 0;
    GetAnyOutside(outside);
    if (o.In(outside)) {
        // o leaves this arc and comes back: one piece at each end.
        const double end = hi;
        Set(lo, o.hi);
        o.Set(o.lo, end);
        return 2;
    }
    lo = o.lo;
    hi = o.hi;
    return 1;
}

void RangeS1::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        RangeR1::Serialize(ar);
        ar << static_cast<BYTE>(state);
        return;
    }
    // Read all 17 bytes before storing any, so that a short archive leaves the arc as it was.
    double a = 0;
    double b = 0;
    BYTE s = 0;
    ar >> a >> b >> s;
    lo = a;
    hi = b;
    state = ByteToState(s);
}

} // namespace plinth
