#pragma once

#include "plinth/numeric/constants.h"
#include "plinth/numeric/nik.h"
#include "plinth/platform/export.h"
#include "plinth/platform/object.h"
#include "plinth/range/range_int.h"
#include "plinth/range/range_r1.h"

#include <climits>

namespace plinth {

/// A uniform grid: the interval [lo, hi] divided into n equal segments, whose n + 1 ends are
/// the knots 0 .. n. Locations are tolerant: a value within EPS of a knot is on it.
///
/// A grid needs n >= 1 to mean anything: with n < 1 the step is UNBOUNDED and every knot is lo.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API Grid1D : public CObject {
public:
    /// The invalid (empty) interval and no segments.
    Grid1D() = default;
    /// r's interval, no segments.
    explicit Grid1D(const RangeR1& r) { m_range.Copy(r); }
    /// [lo, hi] in n segments when lo + EPS < hi and n > 0; otherwise as the default grid.
    Grid1D(double lo, double hi, int n);
    Grid1D(const Grid1D&) = default;
    Grid1D& operator=(const Grid1D&) = default;
    ~Grid1D() override;

    const RangeR1& GetRange() const { return m_range; }
    int GetSegmentCount() const { return m_nSegments; }
    /// The interval stays, so the step changes.
    void SetSegmentCount(int n) { m_nSegments = n; }
    /// n + 1, or 0 for an empty interval.
    int GetKnotCount() const { return m_range.IsEmpty() ? 0 : Above(m_nSegments); }
    double GetStep() const {
        return m_nSegments >= 1 ? (m_range.hi - m_range.lo) / m_nSegments : UNBOUNDED;
    }
    /// lo + i step; i is not limited to the grid.
    double GetKnot(int i) const {
        return m_nSegments == 0 ? m_range.lo : m_range.lo + i * GetStep();
    }

    // ---- Where a value lies

    /// The segment k holding x (n when x is within EPS of hi; negative below lo), with
    /// *atKnot telling whether x is knot k.
    int GetSegment(double x, bool* atKnot) const {
        return m_range.GetSegment(x, m_nSegments, atKnot);
    }
    bool IsKnot(double x) const {
        bool atKnot = false;
        return GetSegment(x, &atKnot) >= 0 && atKnot;
    }
    /// The knot nearest to x, a tie going up; -1 below the grid or for a step below EPS.
    int GetNearestKnot(double x) const;
    /// The segments that cover r, the last one at most n - 1.
    void GetCoverSet(const RangeR1& r, RangeInt& out) const;
    /// The first knot that r contains (within EPS), looking at the two knots around r.lo
    /// only; 0 for a step of EPS or less; -1 when neither lies in r.
    int GetFirstKnotIn(const RangeR1& r) const;
    /// The knots with r's ends around them: index 0 is r.lo, 1 .. knot count the knots, and
    /// knot count + 1 is r.hi.
    double GetKnotAll(int i, const RangeR1& r) const;
    /// The index of x in the sequence of GetKnotAll; atKnot tells whether x lies on its entry.
    int FindRangeAll(double x, const RangeR1& r, bool& atKnot) const;
    /// The sub-grid of the knots strictly inside r, with this step. When none lies inside, out
    /// starts at the first knot above r.lo, has no segments and an empty interval.
    void GetInternalKnots(const RangeR1& r, Grid1D& out) const;

    // ---- Changing the grid

    /// m segments of the current step (m > 0, m != n), keeping lo (keepLo) or hi.
    void SetSegmentCountEx(int m, bool keepLo);
    /// A step of (about) h from lo. eUnknown keeps the interval, so the step is length / n.
    /// Otherwise, unless whole steps fit the length already, hi moves to n steps of exactly h:
    /// eFalse rounds n up (the grid grows), eTrue and any other value round it down. Nothing
    /// happens for h <= 0 or h at or above the length.
    void SetStepSize(double h, ENik mode);
    /// Grows the grid by whole steps until it covers x: down from hi, or up from lo.
    void Include(double x);
    /// Includes x, then moves x onto its nearest knot.
    void Snap(double& x);
    /// Moves the grid so that x becomes a knot and returns that knot's index. With extend the
    /// grid starts earlier and gains a segment, so it still covers its old interval; without,
    /// the interval is translated. A value already on a knot changes nothing.
    int Align(double x, bool extend);

private:
    /// k + 1, saturating: indices of values billions of steps away stay defined.
    static int Above(int k) { return k < INT_MAX ? k + 1 : k; }

    RangeR1 m_range;
    int m_nSegments = 0;
};

/// A position on a grid: a segment or knot index, and whether it is a knot.
class PLINTH_API Grid1DLocation : public CObject {
public:
    Grid1DLocation() = default;
    Grid1DLocation(const Grid1DLocation&) = default;
    Grid1DLocation& operator=(const Grid1DLocation&) = default;
    ~Grid1DLocation() override;

    void Copy(const Grid1DLocation& l) { *this = l; }
    bool IsSame(const Grid1DLocation& l) const { return index == l.index && atKnot == l.atKnot; }
    bool operator==(const Grid1DLocation& l) const { return IsSame(l); }
    bool operator!=(const Grid1DLocation& l) const { return !IsSame(l); }

    int index = -1;
    bool atKnot = false;
};

} // namespace plinth
