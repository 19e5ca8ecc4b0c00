#pragma once

#include "plinth/numeric/constants.h"
#include "plinth/platform/export.h"
#include "plinth/platform/list.h"
#include "plinth/range/range_r1.h"

#include <cmath>
#include <utility>

namespace plinth {

/// An angle in radians, counterclockwise positive, kept in (-PI, PI] with -PI stored as +PI.
///
/// The statics are the circle rules every circle class uses: normalisation, validity,
/// differences, arc membership, interpolation and equality across the +-PI seam. They take
/// and return plain doubles and never allocate.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API S1 {
public:
    /// Validity bounds of the static tests: PI + EPS and -PI + EPS.
    static constexpr double UPPER = 3.14159265368979;
    static constexpr double LOWER = -3.14159265348979;
    /// Two angles both this close to +-PI are equal across the seam.
    static constexpr double SEAM_EPS = 10 * EPS;

    // ---- The angle value

    S1()
        : angle(0) {}
    /// Converts implicitly: any double in radians, normalised.
    S1(double a)
        : angle(a) {
        Factor();
    }
    /// Copies keep the angle as it stands, normalised or not.
    S1(const S1&) = default;
    S1& operator=(const S1&) = default;
    S1& operator=(double a) {
        angle = a;
        Factor();
        return *this;
    }
    virtual ~S1();

    double GetAngle() const { return angle; }
    /// Normalises the angle in place (one pass).
    void Factor() { angle = NormalizeOnce(angle); }
    /// Within PI + EPS of zero on either side.
    bool IsValid() const { return -UPPER <= angle && angle <= UPPER; }

    S1 operator+=(S1 x) {
        *this = angle + x.angle;
        return *this;
    }
    S1 operator-=(S1 x) {
        *this = angle - x.angle;
        return *this;
    }
    S1 operator+(S1 x) const { return S1(angle + x.angle); }
    S1 operator-(S1 x) const { return S1(angle - x.angle); }
    /// Equal within EPS, or both on the seam.
    bool operator==(S1 x) const { return Equal(angle, x.angle, false); }

    /// Turns by d; false (nothing changes) when |d| < EPS.
    bool Translate(double d) {
        if (std::fabs(d) < EPS) {
            return false;
        }
        *this = angle + d;
        return true;
    }
    /// The point at fraction t along the shorter arc to b; a half turn goes counterclockwise.
    S1 GetSegmentPoint(S1 b, double t) const;
    /// Walking counterclockwise from just after this angle, b comes no later than c. A point
    /// equal to this angle counts as the end of the walk.
    bool IsCCWSequence(S1 b, S1 c) const;
    /// Inserts a copy of this angle into a list held in counterclockwise cyclic order, before
    /// an equal element. A list of fewer than two gets it at the tail; an unsorted list in
    /// which no place fits is left unchanged.
    void InsertSorted(CList<S1, S1>& list) const;

    // ---- Circle rules on plain doubles

    /// a += d with one correction by a full turn when the sum leaves [LOWER, UPPER]; returns a.
    static double Increment(double& a, double d) {
        double v = a + d;
        if (v > UPPER) {
            v -= TWO_PI;
        } else if (v < LOWER) {
            v += TWO_PI;
        }
        a = v;
        return v;
    }
    static bool IsValid(double a) { return LOWER <= a && a <= UPPER; }
    /// IsValid, or -PI itself.
    static bool IsValidExt(double a) { return IsValid(a) || std::fabs(a + PI) < EPS; }
    /// Strictly inside (LOWER, UPPER).
    static bool InRange(double a) { return LOWER < a && a < UPPER; }
    /// Normalised ends from within SEAM_EPS after -PI round to within EPS of PI: the whole
    /// circle, as arcs and angle ranges read it.
    static bool IsFullTurn(double a, double b) { return b > 3.14159265348979 && a < SEAM_EPS - PI; }

    /// The angle from b to a, counterclockwise when ccw, else clockwise; within EPS of zero the
    /// raw (small, possibly negative) difference.
    static double diff(double a, double b, bool ccw) {
        const double d = Sweep(a, b);
        if (std::fabs(d) < EPS) {
            return d;
        }
        return ccw ? d : TWO_PI - d;
    }
    /// The angle from b to a the short way, signed.
    static double DiffSigned(double a, double b) {
        const double d = Sweep(a, b);
        return d > UPPER ? d - TWO_PI : d;
    }
    /// The counterclockwise angle from a to b, less a half turn when it reaches UPPER.
    static double dist(double a, double b) {
        const double d = Sweep(b, a);
        return d >= UPPER ? d - PI : d;
    }

    /// Any angle normalised into (-PI, PI]; two passes, as every library result is.
    static double Factorize(double a) { return NormalizeOnce(NormalizeOnce(a)); }
    /// A degree angle normalised into (-180, 180].
    static double FactorizeDeg(double a) { return Factorize(a * DEG_TO_RAD) * RAD_TO_DEG; }
    static double GetOpposite(double a) { return Factorize(a + PI); }
    static void ToDegree(double& a) { a *= RAD_TO_DEG; }
    static void ToRadian(double& a) { a *= DEG_TO_RAD; }
    static void ToRadian(double& a, double& b) {
        ToRadian(a);
        ToRadian(b);
    }

    /// The point at fraction t from a to b, sweeping counterclockwise (ccw) or clockwise;
    /// t outside [0, 1] extrapolates. a itself, unnormalised, when b is within EPS of it.
    static double GetSegmentPoint(double a, double b, double t, bool ccw) {
        if (std::fabs(b - a) < EPS) {
            return a;
        }
        if (ccw && b + EPS < a) {
            b += TWO_PI;
        } else if (!ccw && a + EPS < b) {
            a += TWO_PI;
        }
        return Factorize(a * (1 - t) + b * t);
    }

    /// Within EPS of each other, or both within SEAM_EPS of the seam. A whole turn apart is
    /// not equal. With deg the angles are in degrees (the EPS test is on them as given).
    static bool Equal(double a, double b, bool deg) {
        if (std::fabs(a - b) < EPS) {
            return true;
        }
        if (deg) {
            ToRadian(a, b);
        }
        return OnSeam(a) && OnSeam(b);
    }

    /// x lies on the closed arc from s to e, counterclockwise when ccw. False when any angle
    /// is outside [LOWER, UPPER].
    static bool InRange(double x, double s, double e, bool ccw) {
        if (!IsValid(x) || !IsValid(s) || !IsValid(e)) {
            return false;
        }
        if (!ccw) {
            std::swap(s, e); // a clockwise arc from s to e is the counterclockwise one from e
        }
        if (s > 0 && e < 0) { // across the seam
            return RangeR1::In(x, s, PI, EPS) || RangeR1::In(x, -PI, e, EPS);
        }
        if (s <= e) {
            return RangeR1::In(x, s, e, EPS);
        }
        // Both ends on one side with s after e: the arc is the circle less (e, s).
        if (Equal(x, s, false) || Equal(x, e, false)) {
            return true;
        }
        if (std::fabs(s - PI) < EPS) {
            return RangeR1::In(x, -PI, e, EPS);
        }
        return !RangeR1::In(x, e, s, EPS);
    }
    /// InRange, and more than EPS from both ends (measured counterclockwise from the end).
    static bool InOpenRange(double x, double s, double e, bool ccw) {
        return InRange(x, s, e, ccw) && GapTo(x, s) > EPS && GapTo(x, e) > EPS;
    }

private:
    /// One pass of the normalisation: splits a / PI into whole half turns and a fraction.
    /// Results within EPS of an odd multiple of PI are pinned to PI.
    static double NormalizeOnce(double a) {
        double halfTurns = 0;
        const double r = std::modf(a / PI, &halfTurns) * PI;
        // The parity of the whole half turns, exact at any magnitude.
        if (halfTurns != 2 * std::trunc(halfTurns * 0.5)) {
            if (std::fabs(r) < EPS) {
                return PI;
            }
            return r > 0 ? r - PI : r + PI;
        }
        return std::fabs(r + PI) < EPS ? PI : r;
    }
    /// a - b, lifted by a full turn when b lies more than EPS after a.
    static double Sweep(double a, double b) {
        const double d = a - b;
        return b > a + EPS ? d + TWO_PI : d;
    }
    static bool OnSeam(double a) { return std::fabs(std::fabs(a) - PI) < SEAM_EPS; }
    /// The distance from the end p to x, with x lifted by a full turn when p lies after it.
    static double GapTo(double x, double p) {
        return std::fabs((p > x + EPS ? x + TWO_PI : x) - p);
    }

    double angle;
};

} // namespace plinth
