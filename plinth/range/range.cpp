#include "plinth/range/range.h"

#include "plinth/circle/s1.h"

#include <cmath>

namespace plinth {

RangeR1::EClass Range::GetClass() const {
    return eClassRange;
}

void Range::Copy(const RangeR1& r) {
    RangeR1::Copy(r);
    if (r.GetClass() == eClassRange) {
        const Range& from = static_cast<const Range&>(r);
        state = from.state;
        type = from.type;
        degrees = from.degrees;
    }
    if (type == eScalarLinear) {
        return;
    }
    if (!S1::Equal(lo, hi, degrees)) {
        state = RangeS1::eStateArc;
    } else if (std::fabs(r.lo - plinth::PI) < EPS) {
        SetFull();
    }
}

void Range::Set(double a, double b) {
    if (type == eScalarLinear) {
        RangeR1::Set(a, b);
        return;
    }
    const double na = S1::Factorize(a);
    const double nb = S1::Factorize(b);
    if (S1::IsFullTurn(na, nb)) {
        SetFull();
        return;
    }
    RangeR1::Set(na, nb);
    state = RangeS1::eStateArc;
}

void Range::UpdateState() {
    state = RangeS1::eStateArc;
    const bool full = type == eScalarLinear
                          ? lo < -INF_BOUND && hi > INF_BOUND
                          : S1::Equal(lo, MPI(), degrees) && S1::Equal(hi, PI(), degrees);
    if (full) {
        state = RangeS1::eStateFull;
    } else if (hi + EPS < lo) {
        state = RangeS1::eStateEmpty;
    }
}

void Range::SetFull() {
    if (type == eScalarLinear) {
        RangeR1::SetFull(true);
        return;
    }
    state = RangeS1::eStateFull;
    if (type == eScalarAngle) {
        lo = PI();
        hi = PI();
    }
}

void Range::SetEmpty() {
    if (type == eScalarLinear) {
        RangeR1::SetEmpty();
        return;
    }
    state = RangeS1::eStateEmpty;
    if (type == eScalarAngle) {
        lo = PI();
        hi = PI();
    }
}

void Range::SetFull(bool) {
    RangeR1::SetFull(type == eScalarLinear);
    state = RangeS1::eStateFull;
}

bool Range::IsValid() const {
    if (type == eScalarLinear) {
        return RangeR1::IsValid();
    }
    double a = 0;
    double b = 0;
    RadianEnds(a, b);
    return RangeS1::IsValid(a, b, state);
}

// ---- Units

bool Range::Convert(bool toDegrees) {
    if (degrees == toDegrees) {
        return false;
    }
    degrees = toDegrees;
    const double k = toDegrees ? RAD_TO_DEG : DEG_TO_RAD;
    lo *= k;
    hi *= k;
    return true;
}

bool Range::ToDegrees() {
    return Convert(true);
}

bool Range::ToRadians() {
    return Convert(false);
}

void Range::ToDeg(double& x) const {
    if (Mutable().Convert(true)) {
        x *= RAD_TO_DEG;
    }
}

bool Range::ToRad(double& x) const {
    if (!Mutable().Convert(false)) {
        return false;
    }
    x *= DEG_TO_RAD;
    return true;
}

void Range::RadianEnds(double& a, double& b) const {
    a = Radians(lo);
    b = Radians(hi);
}

// ---- Points and comparisons

bool Range::In(double x) const {
    if (type == eScalarLinear) {
        return RangeR1::In(x, EPS);
    }
    if (state == RangeS1::eStateFull) {
        return true;
    }
    double a = 0;
    double b = 0;
    RadianEnds(a, b);
    return S1::InRange(Radians(x), a, b, !external);
}

bool Range::InOpen(double x) const {
    if (type == eScalarLinear) {
        return RangeR1::InOpen(x);
    }
    if (state == RangeS1::eStateFull) {
        return true;
    }
    double a = 0;
    double b = 0;
    RadianEnds(a, b);
    const double xr = Radians(x);
    return S1::InRange(xr, a, b, !external) && std::fabs(xr - a) >= EPS && std::fabs(xr - b) >= EPS;
}

double Range::GetPoint(double t) const {
    if (type == eScalarLinear) {
        return RangeR1::GetPoint(t);
    }
    if (state == RangeS1::eStateFull) {
        // Once round from just after -PI.
        return t < EPS ? S1::LOWER : t * plinth::PI + (1 - t) * -plinth::PI;
    }
    if (std::fabs(hi - lo) < EPS) {
        return lo;
    }
    S1 p(lo);
    p.Translate(t * S1::diff(hi, lo, true));
    return p.GetAngle();
}

double Range::GetRatio(double x) {
    if (std::fabs(hi - lo) < EPS) {
        return 0;
    }
    if (type == eScalarLinear) {
        return RangeR1::GetRatio(x);
    }
    const bool converted = ToRadians();
    const double xr = converted ? x * DEG_TO_RAD : x;
    const double ratio = S1::diff(xr, lo, true) / S1::diff(hi, lo, true);
    if (converted) {
        ToDegrees();
    }
    return ratio;
}

bool Range::Include(double x) {
    const bool wasEmpty = IsEmpty();
    bool moved = false;
    if (x < lo - EPS) {
        lo = x;
        if (wasEmpty) {
            hi = x;
        }
        moved = true;
    }
    if (x > hi + EPS) {
        hi = x;
        if (wasEmpty) {
            lo = x;
        }
        moved = true;
    }
    return moved;
}

bool Range::operator>=(const Range& r) const {
    if (type == eScalarLinear) {
        return RangeR1::operator>=(r);
    }
    if (state == RangeS1::eStateFull) {
        return true;
    }
    if (state == RangeS1::eStateEmpty) {
        return r.IsEmpty();
    }
    if (!In(r.lo) || !In(r.hi)) {
        return false;
    }
    // Both ends on this arc: r still escapes it when it runs round through the complement.
    double a = 0;
    double b = 0;
    RadianEnds(a, b);
    double m = S1::GetSegmentPoint(b, a, 0.5, true);
    if (degrees) {
        S1::ToDegree(m);
    }
    return !r.In(m);
}

bool Range::operator<=(const Range& r) const {
    return type == eScalarLinear ? RangeR1::operator<=(r) : r >= *this;
}

void Range::operator+=(const Range& r) {
    if (type == eScalarLinear) {
        RangeR1::operator+=(r);
    } else if (*this >= r) {
        // Already covered.
    } else if (r >= *this) {
        RangeR1::Copy(r);
    } else if (In(r.lo)) {
        hi = r.hi;
    } else {
        lo = r.lo;
    }
}

} // namespace plinth
