#pragma once

#include "plinth/circle/s1.h"
#include "plinth/platform/export.h"
#include "plinth/range/range_r1.h"

#include <cmath>

namespace plinth {

class CArchive;

/// An arc of the circle: lo is its start angle, hi its end angle, and `external` its
/// direction (false: counterclockwise from lo to hi; true: clockwise). The ends are kept in
/// (-PI, PI] by Set and the constructors from doubles.
///
/// The state tells the full circle (ends normally PI and PI) and the empty arc (which keeps
/// whatever ends it had) from an ordinary arc; it, not the ends, decides fullness and
/// emptiness. The arc's own tests hide the real-line ones of the base.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RangeS1 : public RangeR1 {
public:
    enum EState : int { eStateFull = 0, eStateEmpty = 1, eStateArc = 2 };

    EState state;

    // ---- Construction and state

    /// The full circle with both ends 0.
    RangeS1()
        : RangeR1(0, 0)
        , state(eStateFull) {}
    /// Normalised ends, an ordinary arc even when they meet.
    RangeS1(double a, double b)
        : RangeR1(S1::Factorize(a), S1::Factorize(b))
        , state(eStateArc) {}
    /// The angles as they stand, an ordinary arc.
    RangeS1(S1 a, S1 b)
        : RangeR1(a.GetAngle(), b.GetAngle())
        , state(eStateArc) {}
    RangeS1(const RangeS1&) = default;
    RangeS1& operator=(const RangeS1&) = default;

    EClass GetClass() const override;
    /// Normalises the ends; ends from about -PI to PI give the full circle, anything else an
    /// ordinary arc. The direction is kept.
    void Set(double a, double b) override;

    bool IsFull() const { return state == eStateFull; }
    bool IsEmpty() const { return state == eStateEmpty; }
    bool IsEmptyInterval() const { return IsEmpty() || std::fabs(hi - lo) < EPS; }
    /// Both ends PI.
    void SetFull() {
        lo = PI;
        hi = PI;
        state = eStateFull;
    }
    /// The ends stay.
    void SetEmpty() { state = eStateEmpty; }
    /// 0 full, 1 empty, any other byte an ordinary arc.
    static EState ByteToState(unsigned char c) {
        return c <= eStateEmpty ? static_cast<EState>(c) : eStateArc;
    }

    /// Takes r's ends through Set; ends equal on the circle give the full circle.
    void Copy(const RangeR1& r);
    /// Sets the current ends again: renormalises and detects the full circle.
    void Update() { Set(lo, hi); }
    /// Turns both ends by d; the state stays.
    void Translate(double d) {
        lo = S1::Factorize(lo + d);
        hi = S1::Factorize(hi + d);
    }

    // ---- Queries

    /// The start, -PI for the full circle.
    double GetA() const { return IsFull() ? -PI : lo; }
    /// The counterclockwise length from lo to hi, TWO_PI for the full circle.
    double GetDiff() const { return IsFull() ? TWO_PI : S1::diff(hi, lo, true); }
    /// The counterclockwise fraction of the arc from lo to x; 0 for the full circle.
    double GetRatio(double x) const {
        return IsFull() ? 0 : S1::diff(x, lo, true) / S1::diff(hi, lo, true);
    }
    /// Honours the state and the direction.
    bool In(double x) const {
        if (IsFull() || IsEmpty()) {
            return IsFull();
        }
        return S1::InRange(x, lo, hi, !external);
    }
    /// On the counterclockwise arc and at least EPS from both ends; state and direction are
    /// not consulted.
    bool InOpen(double x) const {
        return S1::InRange(x, lo, hi, true) && std::fabs(x - lo) >= EPS && std::fabs(x - hi) >= EPS;
    }
    /// The arc runs across the seam: it holds PI and does not end there. The full circle is
    /// singular, the empty arc is not.
    bool IsSingular() const;
    static bool IsSingular(double a, double b) { return RangeS1(a, b).IsSingular(); }
    /// Valid angles, and a state that fits them: a point arc is ordinary unless it sits on
    /// the seam, distinct ends need an ordinary arc.
    bool IsValid() const { return IsValid(lo, hi, state); }
    static bool IsValid(double a, double b, EState s);
    /// The point at parameter t; across the seam the parameter runs over the lifted ends.
    double GetPoint(double t) const;
    /// A point off the arc: false for the full circle.
    bool GetAnyOutside(double& x) const;
    /// x normalised and clamped onto the arc (the nearer end, a tie going to hi); UNBOUNDED
    /// for the empty arc.
    double ToRangeS1(double x) const;

    /// This arc contains o.
    bool operator>=(const RangeS1& o) const;
    /// This arc lies within o.
    bool IsInsideOf(const RangeS1& o) const;
    /// o is this arc's complement: the ends swapped (states are compared only when full or
    /// empty).
    bool IsComplimentary(const RangeS1& o) const;
    /// Writes the complement into out (its direction untouched); false for the full circle,
    /// whose complement is empty.
    bool GetComplimentary(RangeS1& out) const;
    void SetComplimentary();
    /// Inside, at the start, at the end or outside (never before or after).
    ELocn GetPointLocation(double x, double tol) const;
    /// Where o lies relative to this arc, o's ends first snapped to this arc's within tol.
    ERangeLocn GetRangeLocation(const RangeS1& o, double tol) const;
    bool IsEmptyIntersection(const RangeS1& o) const;

    // ---- Boolean operations: the number of pieces; a second piece is written into o

    /// This arc less o; moved tells whether the start was cut away.
    unsigned char Subtract(RangeS1& o, bool* moved = nullptr);
    unsigned char Intersect(RangeS1& o);

    /// The two ends as doubles, then the state as one byte: 17 bytes. The direction is not
    /// stored.
    void Serialize(CArchive& ar);

private:
    /// An ordinary counterclockwise arc with the ends stored exactly as given.
    static RangeS1 Arc(double a, double b) {
        RangeS1 r;
        r.RangeR1::Set(a, b);
        r.state = eStateArc;
        return r;
    }
};

} // namespace plinth
