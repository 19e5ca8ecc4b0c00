#pragma once

#include "plinth/numeric/constants.h"
#include "plinth/numeric/nik.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

#include <algorithm>
#include <cmath>

namespace plinth {

class CArchive;

/// An interval on the real line: two doubles and a flag.
///
/// The ends are stored as given and never reordered unless an operation says so; lo > hi is a
/// legal state. With `external` set the interval is the outside (-inf, lo] and [hi, +inf).
/// Unbounded ends hold -UNBOUNDED / +UNBOUNDED; the default interval is the invalid (and empty)
/// [+UNBOUNDED, -UNBOUNDED].
///
/// Operations marked "via Set" assign both ends through the virtual Set, so a subclass's
/// override applies; every other operation stores the fields directly.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RangeR1 {
public:
    /// What GetClass reports.
    enum EClass : int { eClassR1 = 0, eClassRange = 1, eClassS1 = 2 };

    /// Where a point lies relative to an interval. Before and after are the ends with the
    /// outside bit (4) added.
    enum ELocn : int {
        eLocnInside = 1,
        eLocnAtStart = 2,
        eLocnAtEnd = 3,
        eLocnOutside = 5,
        eLocnBefore = 6,
        eLocnAfter = 7
    };

    /// Where another interval lies relative to this one.
    enum ERangeLocn : int {
        eRangeContains = 1,        ///< inside this one, touching neither end
        eRangeContainsAtStart = 2, ///< inside, sharing the start
        eRangeContainsAtEnd = 3,   ///< inside, sharing the end
        eRangePointAtStart = 4,
        eRangePointAtEnd = 5,
        eRangeSame = 7,
        eRangeInsideAtStart = 8, ///< this one lies inside the other, sharing the start
        eRangeInsideAtEnd = 9,   ///< this one lies inside the other, sharing the end
        eRangeInsideOther = 10,  ///< this one lies strictly inside the other
        eRangeOverlap = 11,
        eRangeTouch = 12, ///< the overlap is a single point
        eRangeDisjoint = 14
    };

    double lo;
    double hi;
    bool external;

    // ---- Construction and assignment

    RangeR1()
        : lo(UNBOUNDED)
        , hi(-UNBOUNDED)
        , external(false) {}
    RangeR1(double a, double b)
        : lo(a)
        , hi(b)
        , external(false) {}
    RangeR1(const RangeR1&) = default;

    /// Copies lo, hi and the flag unless all three already agree (ends within EPS); then the
    /// old values stay exactly and false is returned.
    bool operator=(const RangeR1& r) { return Copy(r); }
    bool Copy(const RangeR1& r);

    virtual EClass GetClass() const;
    /// lo = a, hi = b; nothing else.
    virtual void Set(double a, double b) {
        lo = a;
        hi = b;
    }
    virtual ~RangeR1() = default;

    /// Stores the ends; true when either moved by more than EPS.
    bool SetEx(double a, double b);
    void SetUnordered(double a, double b) {
        lo = std::min(a, b);
        hi = std::max(a, b);
    }
    void Get(double& a, double& b) const {
        a = lo;
        b = hi;
    }
    double GetEnd(bool start) const { return start ? lo : hi; }

    /// [0, -1], flag cleared.
    void Reset() {
        lo = 0;
        hi = -1;
        external = false;
    }
    /// The invalid interval, flag cleared.
    void Invalidate() {
        SetEmpty();
        external = false;
    }
    /// The invalid interval, flag kept.
    void SetEmpty() {
        lo = UNBOUNDED;
        hi = -UNBOUNDED;
    }
    /// linear: the full line for the current flag, stored directly. Otherwise the full angle,
    /// via Set.
    void SetFull(bool linear);
    /// [-PI + 1.5 EPS, PI], via Set.
    void SetFullAngle();

    /// A full interval stays full across the change; any other keeps its ends.
    void SetExternal(bool ext);
    bool IsExternal() const { return external; }

    /// Swaps the ends when hi < lo; true when it did.
    bool MakeValid();
    void Swap() { std::swap(lo, hi); }

    /// lo then hi as two doubles; the flag is neither written nor read.
    void Serialize(CArchive& ar);

    // ---- State tests

    /// False when both ends are unlimited on the same side; otherwise lo - EPS <= hi.
    bool IsValid() const;
    bool IsEmpty() const { return hi + EPS < lo; }
    /// Reversed, degenerate or shorter than EPS.
    bool IsEmptyInterval() const { return hi - lo < EPS; }
    bool IsSingleton() const { return std::fabs(hi - lo) < EPS; }
    bool IsSingleton2(double tol) const { return std::fabs(hi - lo) < tol; }
    /// Both ends within tol of x.
    bool IsSingleton(double x, double tol) const {
        return std::fabs(lo - x) <= tol && std::fabs(hi - x) <= tol;
    }
    /// start: lo below -UNLIMITED_BOUND; otherwise hi above +UNLIMITED_BOUND.
    bool IsUnlimited(bool start) const {
        return start ? lo < -UNLIMITED_BOUND : hi > UNLIMITED_BOUND;
    }
    /// The length exceeds about a third of UNLIMITED_BOUND.
    bool IsUnlimited() const { return hi - lo > unlimitedLength; }
    bool IsFull() const;
    bool IsEnd(double x) const { return std::fabs(x - lo) < EPS || std::fabs(x - hi) < EPS; }
    /// The length, 0 for a reversed interval.
    double GetSize() const { return hi - lo >= 0 ? hi - lo : 0; }
    /// The signed length.
    double GetLength() const { return hi - lo; }

    // ---- Point membership (bounds in either order)

    static bool In(double x, double a, double b, double tol) {
        return std::min(a, b) - tol <= x && x <= std::max(a, b) + tol;
    }
    static bool InNoToler(double x, double a, double b) { return In(x, a, b, 0); }
    /// A closed end widens the test by EPS, an open one narrows it by EPS.
    static bool IsIn(double x, double a, double b, bool closedStart, bool closedEnd);
    /// Honours the flag: an external interval holds its ends and everything outside.
    bool In(double x, double tol) const;
    /// Closed at the start, open at the end.
    bool IsInSemiOpen(double x) const { return IsIn(x, lo, hi, true, false); }
    /// Inside, ends included within EPS, but at neither end.
    bool InOpen(double x) const {
        return In(x, lo, hi, EPS) && std::fabs(x - lo) >= EPS && std::fabs(x - hi) >= EPS;
    }

    // ---- Comparison with another interval

    /// The ends match a and b within tol; an infinite a or b must be met by an infinite end.
    bool Is(double a, double b, double tol) const;
    bool IsSame(const RangeR1& r, double tol) const {
        return std::fabs(lo - r.lo) <= tol && std::fabs(hi - r.hi) <= tol;
    }
    /// Ends within EPS (inclusive); the flag is not compared.
    bool operator==(const RangeR1& r) const { return IsSame(r, EPS); }
    bool operator!=(const RangeR1& r) const { return !(*this == r); }
    /// 0 when the starts agree, else 1 when the ends agree, else 3.
    unsigned char FindSameLimit(const RangeR1& r) const;
    /// This lies in r (r's flag honoured); an empty interval lies in anything.
    bool IsInsideOf(const RangeR1& r) const {
        return IsEmpty() || (r.In(lo, EPS) && r.In(hi, EPS));
    }
    /// r lies in this.
    bool IsIn(const RangeR1& r) const { return r.IsInsideOf(*this); }
    /// This contains r, taking both flags into account.
    bool operator>=(const RangeR1& r) const;
    bool operator<=(const RangeR1& r) const { return r >= *this; }
    /// Ends as stored, flag ignored.
    ELocn GetPointLocation(double x, double tol) const;
    /// Moves x onto an end within tol, lo tried first.
    void Snap(double& x, double tol) const;
    /// Snaps both of r's ends; only r changes.
    void Snap(RangeR1& r, double tol) const {
        Snap(r.lo, tol);
        Snap(r.hi, tol);
    }
    /// Ends within EPS count as meeting; flags are ignored.
    bool IsEmptyIntersection(const RangeR1& r) const {
        return IsEmpty() || r.IsEmpty() || hi + EPS < r.lo || lo - EPS > r.hi;
    }

    // ---- Reshaping

    void Translate(double d) {
        lo += d;
        hi += d;
    }
    void Expand(double d) {
        lo -= d;
        hi += d;
    }
    /// Scales by k about the point c.
    void Inflate(double k, double c);
    /// Scales by k about the point at parameter t.
    void Inflate2(double k, double t) { Inflate(k, GetPoint(t)); }
    /// Grows the length by the factor 1 + k about the centre, via Set.
    void Inflate(double k);
    /// Length len about the centre.
    void Spread(double len);
    /// Length len about the centre, via Set.
    void SetLengthKeepCenter(double len);
    void SetLength(double len) { hi = lo + len; }
    /// Moves the centre to c keeping the length; false (nothing moves) when within EPS.
    bool SetCenter(double c);
    /// Moves the start to x keeping the length, via Set.
    void SetMinKeepLength(double x) { Set(x, (hi - lo) + x); }
    /// Moves the end to x keeping the length, via Set.
    void SetMaxKeepLength(double x) { Set(x - (hi - lo), x); }
    /// Scales both ends; a negative k that reverses the interval swaps them back.
    void operator*=(double k);
    void ToDegrees() {
        lo *= RAD_TO_DEG;
        hi *= RAD_TO_DEG;
    }
    void ToRadians() {
        lo *= DEG_TO_RAD;
        hi *= DEG_TO_RAD;
    }
    /// [-m, m] with m the larger end magnitude, via Set; true when an end moved beyond EPS.
    bool MakeSymmetric();
    /// The narrowest interval about this centre that covers r's ends.
    void AdjustCentral(const RangeR1& r);
    /// Widens each end that is not at least m - EPS outside r to exactly m outside it.
    void AddMargin(const RangeR1& r, double m);
    /// Centres this interval in r keeping its length, via Set, when r is longer by 2 EPS.
    void Center(const RangeR1& r);
    void Include(double x) {
        if (x < lo) {
            lo = x;
        }
        if (x > hi) {
            hi = x;
        }
    }
    /// A default interval around x, via Set: [-10, 10] near 0, else from 0 to 1.5 x.
    void MakeValid(double x);

    // ---- Combining two intervals

    /// The hull, no emptiness test; true when an end moved.
    bool Unite(const RangeR1& r);
    /// The hull; an empty interval becomes a copy of r.
    void operator+=(const RangeR1& r);
    /// This and r within EPS; false (and the invalid interval) when they do not meet.
    bool Intersect(const RangeR1& r);
    /// This minus r: the number of pieces (0, 1 or 2). The first piece is left in this, a
    /// second one in r.
    unsigned char Subtract(RangeR1& r);
    /// The interval of reciprocals; an end within EPS of 0 maps to an unbounded end. False
    /// (nothing changes) for an invalid or empty interval.
    bool Invert();

    // ---- Parameters and points (t = 0 at lo, t = 1 at hi)

    static double GetPoint(double t, double a, double b) { return t * b + (1 - t) * a; }
    double GetPoint(double t) const { return GetPoint(t, lo, hi); }
    /// Node i of the n + 1 equally spaced nodes, i taken modulo n + 1; lo when n is 0 or -1.
    double GetPoint(int i, int n) const { return NodePoint(i, n); }
    double GetDiff(double t1, double t2) const { return GetPoint(t1) - GetPoint(t2); }
    /// The parameter of x; 0 when the interval is shorter than EPS.
    static double GetRatio(double x, double a, double b) {
        const double d = b - a;
        return d < EPS ? 0 : (x - a) / d;
    }
    double GetRatio(double x) const { return GetRatio(x, lo, hi); }
    /// Replaces x by its parameter; a point interval maps x within EPS of it to 0. False (x
    /// unchanged) otherwise.
    bool ToUnitRange(double& x) const;
    /// The point of this interval at x's parameter in `from`.
    double Map(double x, const RangeR1& from) const { return GetPoint(from.GetRatio(x)); }
    /// x clamped to the bounds (either order); a tie goes to b.
    static double ToRange(double a, double b, double x);
    double ToRange(double x) const { return ToRange(lo, hi, x); }
    /// x when it belongs to the interval (flag honoured), else the nearer end.
    double GetBestMatch(double x) const;
    /// The distance to the nearer end.
    double GetNearestEnd(double x) const { return std::min(std::fabs(x - lo), std::fabs(x - hi)); }
    double GetCenter() const { return 0.5 * lo + hi * 0.5; }

    // ---- Distances

    /// 0 when the intervals meet, else the gap between them.
    double GetDist(const RangeR1& r) const;
    /// Signed: negative inside, positive outside. UNBOUNDED when empty, 0 when full.
    double GetDist(double x, double* nearest = nullptr) const;
    /// The distance to the farther end. UNBOUNDED when empty, 0 (farthest unset) when full.
    double GetMaxDist(double x, double* farthest = nullptr) const;
    double GetMaxDist(const RangeR1& r) const;
    /// The largest factor by which r scaled about x still fits; UNBOUNDED when x is within EPS
    /// of this start, this end or r's start (or beyond them).
    double GetScale(const RangeR1& r, double x) const;

    // ---- Ordering and approach tests

    /// eFalse near the start, eTrue near the end, eUnknown in between.
    ENik IsNearLimit(double x, double tol) const;
    /// A point at x with velocity v moves towards the centre.
    bool IsApproaching(double x, double v) const;
    /// eUnknown when either contains the other, else whether this one ends later.
    ENik IsAfter(const RangeR1& r) const;
    /// As IsAfter for closed intervals that may touch or overlap.
    ENik IsAfterClosed(const RangeR1& r) const;

    // ---- Segmentation into n equal steps, nodes 0 to n

    /// The segment holding x; exact tells whether x lies on a node. 0 (exact unset) when n is 0.
    int GetSegm(double x, int n, bool* exact = nullptr) const;
    int GetSegment(double x, int n, bool* exact = nullptr) const { return GetSegm(x, n, exact); }
    /// Writes only out's ends: nodes i and i + 1.
    void GetSegment(int i, int n, RangeR1& out) const {
        out.lo = NodePoint(i, n);
        out.hi = NodePoint(i + 1LL, n);
    }
    /// x when it lies on a node, else the upper end of its segment.
    double GetUpper(double x, int n, bool* exact = nullptr) const;
    /// The node after x (lo after the last one); index receives its number, at most n.
    double GetNext(double x, int n, bool* exact = nullptr, int* index = nullptr) const;
    /// The number of whole steps that cover the interval.
    int GetCoverSegmCount(double step) const;
    /// Snaps lo down onto the grid origin + j step; only lo changes.
    void Align(double step, double origin);
    /// Moves hi so that n whole steps cover at least EPS more than the old length.
    void Setup(double step, int& n);
    /// Aligns lo to *origin first when origin is given.
    void Setup(double step, int& n, double* origin);
    /// Cosine-spaced node i of n, crowding near lo when atStart, else near hi.
    double GetArcSingilarSamplingPt(int i, int n, bool atStart) const;

private:
    static constexpr double unlimitedLength = 5.099999999999999e+307;

    /// Stores the full line for the current flag.
    void StoreFullLine();
    /// The centre as (lo + hi) / 2; GetCenter halves each end first, which rounds differently.
    double Middle() const { return (lo + hi) * 0.5; }
    /// GetPoint(int, int) widened so that i + 1 and n + 1 cannot overflow.
    double NodePoint(long long i, long long n) const;
};

template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount);

/// The archive form of interval arrays: one 32-byte record per interval, lo at offset 8, hi at
/// 16 (little-endian doubles) and the flag at 24 (0 or 1). The other bytes are written as zeros
/// and ignored when reading. Loading takes only the three fields into each element; a short
/// read raises CArchiveException(endOfFile) after taking every whole record, the elements
/// after it staying as they were.
template <>
PLINTH_API void SerializeElements<RangeR1>(CArchive& ar, RangeR1* pElements, INT_PTR nCount);

inline bool RangeR1::Copy(const RangeR1& r) {
    if (std::fabs(lo - r.lo) < EPS && std::fabs(hi - r.hi) < EPS && external == r.external) {
        return false;
    }
    lo = r.lo;
    hi = r.hi;
    external = r.external;
    return true;
}

inline bool RangeR1::IsValid() const {
    if (lo < -UNLIMITED_BOUND && hi < -UNLIMITED_BOUND) {
        return false;
    }
    if (lo > UNLIMITED_BOUND && hi > UNLIMITED_BOUND) {
        return false;
    }
    return lo - EPS <= hi;
}

inline bool RangeR1::IsFull() const {
    if (external) {
        return lo > UNLIMITED_BOUND && hi > UNLIMITED_BOUND;
    }
    return lo < -UNLIMITED_BOUND && hi > UNLIMITED_BOUND;
}

inline bool RangeR1::IsIn(double x, double a, double b, bool closedStart, bool closedEnd) {
    const double low = std::min(a, b);
    const double high = std::max(a, b);
    const bool afterStart = closedStart ? x >= low - EPS : x >= low + EPS;
    const bool beforeEnd = closedEnd ? x <= high + EPS : x <= high - EPS;
    return afterStart && beforeEnd;
}

inline bool RangeR1::In(double x, double tol) const {
    const bool inside = In(x, lo, hi, tol);
    if (!external) {
        return inside;
    }
    if (std::fabs(x - lo) < tol || std::fabs(x - hi) < tol) {
        return true;
    }
    return !inside;
}

inline RangeR1::ELocn RangeR1::GetPointLocation(double x, double tol) const {
    if (x < lo - tol) {
        return eLocnBefore;
    }
    if (x < lo + tol) {
        return eLocnAtStart;
    }
    if (x < hi - tol) {
        return eLocnInside;
    }
    if (x < hi + tol) {
        return eLocnAtEnd;
    }
    return eLocnAfter;
}

inline void RangeR1::Snap(double& x, double tol) const {
    if (std::fabs(x - lo) < tol) {
        x = lo;
    } else if (std::fabs(x - hi) < tol) {
        x = hi;
    }
}

} // namespace plinth
