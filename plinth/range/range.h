#pragma once

#include "plinth/circle/range_s1.h"
#include "plinth/platform/export.h"
#include "plinth/range/range_r1.h"

namespace plinth {

class CArchive;
struct IUnknown;

/// What the scalar of a Range is. Every non-zero value reads as an angle.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
enum EScalarType : int { eScalarLinear = 0, eScalarAngle = 1 };

/// An interval of a real value or of an angle, with an explicit state.
///
/// A linear range behaves as RangeR1; its state is informative only and most operations leave
/// it alone. An angular range answers with the circle rules, its state deciding fullness and
/// emptiness; with `degrees` its ends (and the arguments of the angle operations) are in
/// degrees, and the angle tests convert a copy to radians.
///
/// The const degree conversions (ToDeg, ToRad) change the range all the same: never call them
/// on a range that is itself defined const.
class PLINTH_API Range : public RangeR1 {
public:
    RangeS1::EState state;
    bool degrees;
    EScalarType type;

    // ---- Construction, copying and state

    /// The full line (not the invalid interval a default RangeR1 is).
    Range()
        : Range(eScalarLinear) {}
    explicit Range(EScalarType t)
        : RangeR1(-UNBOUNDED, UNBOUNDED)
        , state(RangeS1::eStateFull)
        , degrees(false)
        , type(t) {}
    /// A linear range with the ends as given and the state they imply.
    Range(double a, double b)
        : RangeR1(a, b)
        , state(RangeS1::eStateArc)
        , degrees(false)
        , type(eScalarLinear) {
        UpdateState();
    }
    Range(const Range&) = default;
    Range& operator=(const Range& r) {
        Copy(r);
        return *this;
    }
    /// The ends as RangeR1::Copy takes them; type, state and unit too when r is a Range. An
    /// angle range then becomes ordinary when its ends differ on the circle, full when they
    /// meet at PI.
    void Copy(const RangeR1& r);

    EClass GetClass() const override;
    /// Linear: the ends, nothing else. Angle: both ends normalised (in radians whatever the
    /// unit), the whole turn giving the full range, anything else an ordinary one.
    void Set(double a, double b) override;

    EScalarType GetScalarType() const { return type; }
    /// No conversion and no state update.
    void SetScalarType(EScalarType t) { type = t; }

    /// A range is archived by the multi-range that holds it, never on its own: both do nothing.
    void Serialize(CArchive&) {}
    void AttachOuterUnknown(IUnknown*) {}

    /// Recomputes the state from the ends.
    void UpdateState();
    /// Linear: the full line, the state untouched. Angle: state full, both ends at PI().
    void SetFull();
    /// Linear: the invalid interval, the state untouched. Angle: state empty, both ends at PI().
    void SetEmpty();
    /// The full line or the full angle by type; the state becomes full either way.
    void SetFull(bool);
    bool IsFull() const {
        return type != eScalarLinear ? state == RangeS1::eStateFull : RangeR1::IsFull();
    }
    bool IsEmpty() const {
        return type != eScalarLinear ? state == RangeS1::eStateEmpty : RangeR1::IsEmpty();
    }
    bool IsValid() const;

    /// The seam and the start of the full angle in the range's unit.
    double PI() const { return degrees ? 180 : plinth::PI; }
    double MPI() const { return degrees ? -179.99999998854085 : -3.14159265338979; }

    // ---- Units: the flag records the unit, converting twice does nothing

    /// True when it converted.
    bool ToDegrees();
    bool ToRadians();
    void ToDeg() const { Mutable().ToDegrees(); }
    void ToRad() const { Mutable().ToRadians(); }
    /// Converts x along with the range; x stays when the range already is in degrees.
    void ToDeg(double& x) const;
    /// Converts x along with the range; false (x untouched) when already in radians.
    bool ToRad(double& x) const;

    // ---- Points and comparisons

    /// Angle: the full range holds everything, otherwise x lies on the arc from lo to hi
    /// (clockwise when external).
    bool In(double x) const;
    /// As In, and at least EPS from both ends.
    bool InOpen(double x) const;
    /// Angle: runs counterclockwise from lo to hi, once round from -PI for the full range.
    double GetPoint(double t) const;
    /// Angle: the counterclockwise fraction from lo to x. 0 for a range shorter than EPS. A
    /// range in degrees is converted to radians and back, so its ends round-trip.
    double GetRatio(double x);
    /// Moves the end that x lies beyond (both for an empty range); no circle rules and no
    /// state update. True when an end moved.
    bool Include(double x);

    /// This range contains r.
    bool operator>=(const Range& r) const;
    bool operator<=(const Range& r) const;
    /// Contained and not the same within EPS.
    bool operator<(const Range& r) const {
        return *this <= r && (std::fabs(lo - r.lo) > EPS || std::fabs(hi - r.hi) > EPS);
    }
    /// Angle: keeps this when it holds r, takes r's ends when r holds it, else extends the end
    /// on r's side to r's.
    void operator+=(const Range& r);

    /// Both ends against a number.
    bool operator>=(double x) const { return lo >= x && hi >= x; }
    bool operator<=(double x) const { return lo <= x && hi <= x; }
    bool operator>(double x) const { return lo > x && hi > x; }
    bool operator<(double x) const { return lo < x && hi < x; }
    /// Offsets of the start.
    double operator-(const Range& r) const { return lo - r.lo; }
    double operator-(double x) const { return lo - x; }
    double operator+(double x) const { return lo + x; }

private:
    Range& Mutable() const { return const_cast<Range&>(*this); }
    /// The ends in radians, whatever the unit.
    void RadianEnds(double& a, double& b) const;
    /// x in radians, whatever the unit.
    double Radians(double x) const { return degrees ? x * DEG_TO_RAD : x; }
    /// Scales both ends when the unit changes; false when it already is the wanted one.
    bool Convert(bool toDegrees);
};

} // namespace plinth
