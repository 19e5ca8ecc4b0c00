#pragma once

#include "plinth/numeric/constants.h"
#include "plinth/platform/array.h"
#include "plinth/platform/export.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/typed_ptr.h"
#include "plinth/platform/types.h"
#include "plinth/range/range_r1.h"

namespace plinth {

/// A plain pair used as an out-parameter.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
template <class A, class B>
struct Pair2 {
    A first{};
    B second{};
};

/// A set of real intervals held in an interval array.
///
/// Unite, FindPrevRange, GetFirstPoint and GetComplimentarySet read the set as ordered: each
/// interval non-empty, its lo above the previous one's hi, flags clear. Unite keeps that order;
/// AddRange and the element setters do not, and IsValid and IsValidEx test it. The flags are
/// carried along but the set operations do not read them.
///
/// An index outside the set raises CInvalidArgException.
class PLINTH_API SetR1 : public CArray<RangeR1, const RangeR1&> {
public:
    SetR1() = default;
    SetR1(const SetR1& s)
        : CArray() {
        Copy(s);
    }
    SetR1& operator=(const SetR1& s) {
        Copy(s);
        return *this;
    }
    ~SetR1() override;

    /// s's count, then each element assigned with RangeR1::Copy (which keeps an element whose
    /// ends already agree within EPS), from the last down.
    void Copy(const SetR1& s);

    // ---- Elements by index

    /// Element i Set(a, b).
    void SetRange(int i, double a, double b) { ElementAt(i).Set(a, b); }
    /// Element i Set(a, b), then intersected with *clip when clip is given.
    void SetRange2(int i, double a, double b, const RangeR1* clip);
    bool Is(int i, double a, double b) const { return Is2(i, a, b, EPS); }
    bool Is2(int i, double a, double b, double tol) const { return ElementAt(i).Is(a, b, tol); }
    /// The set is the single interval [a, b].
    bool Is(double a, double b) const { return Is2(a, b, EPS); }
    bool Is2(double a, double b, double tol) const { return GetSize() == 1 && Is2(0, a, b, tol); }

    // ---- Adding

    /// Appends [a, b] with no ordering or merging.
    void AddRange(double a, double b) { Add(RangeR1(a, b)); }
    /// Merges r into the ordered set.
    void Unite(const RangeR1& r);
    /// Unites each interval of s in index order: one merge of the two where both are ordered,
    /// with proper ends (lo <= hi) and flags clear.
    void Unite(const SetR1& s);
    /// Unites count intervals in any order (as they are at the call), with exactly the result
    /// of uniting them one by one in their order. Where the set is ordered and the intervals
    /// proper with their flags clear, they are sorted and swept once.
    void UniteAll(const RangeR1* ranges, INT_PTR count);

    // ---- Queries

    /// The first index whose interval holds x within EPS; -1 when none does.
    int FindRange(double x) const;
    /// The first index whose hi is at least x, with *inside = (x >= its lo); -1, and inside
    /// untouched, when every interval ends below x. On an ordered set: the interval holding x,
    /// or the next one after it.
    int FindPrevRange(double x, bool* inside) const;
    bool IsEmpty() const { return GetSize() == 0; }
    /// No interval is empty.
    bool IsValid() const;
    /// Valid, and each interval starts at least gap after the previous one ends (exactly, no
    /// tolerance).
    bool IsValidEx(double gap) const;
    /// The hull of all intervals; the invalid interval (flag kept) for an empty set.
    void GetBounds(RangeR1& out) const;
    /// The first point of the set at or after x: x itself when inside, else the next start.
    /// UNBOUNDED when there is none; x at or below -INF_BOUND gives the first start.
    double GetFirstPoint(double x) const;
    /// The last hi; UNBOUNDED for an empty set.
    double GetLastPoint() const { return IsEmpty() ? UNBOUNDED : m_pData[m_nSize - 1].hi; }
    /// The first interval's hi; UNBOUNDED for an empty set.
    double GetLastPointFirstRange() const { return IsEmpty() ? UNBOUNDED : m_pData[0].hi; }

    using SetArray = CTypedPtrArray<CObArray, SetR1*>;
    /// Over the sets in index order (null entries skipped), the one whose GetFirstPoint(x) is
    /// smallest, the earlier set on a tie: out = (index, point), or (-1, INF_BOUND) when no set
    /// has a point. True when a set was found.
    static bool GetFirstPoint(const SetArray& sets, double x, Pair2<int, double>& out);
    /// The same for the first interval's hi.
    static bool GetLastPointFirstRange(const SetArray& sets, Pair2<int, double>& out);

    // ---- Changing the whole set

    void Expand(double d);
    /// Centres each interval in s's interval of the same index, keeping its length; nothing
    /// when the counts differ.
    void Center(const SetR1& s);
    /// Clips every interval to r, removing those outside it; true when any is left.
    bool Intersect(const RangeR1& r);
    /// Removes the intervals shorter than EPS.
    void RemoveSingletons();
    /// Joins neighbours where one ends within EPS of where the next starts.
    void MergeAdjacent();
    /// RemoveSingletons, then MergeAdjacent.
    void MakeValid();
    /// The gaps of the set within the window, into out (which may be this set): the window
    /// itself when the set does not reach into it.
    void GetComplimentarySet(const RangeR1& within, SetR1& out) const;

    // ---- Algebra with another ordered set (which may be this one)
    //
    // Both sets are read as ordered (others give some set, without harm) and the result is
    // ordered, flags clear; each is one merge of the two. The intervals are closed, and ends within
    // EPS of each other meet, as in RangeR1::Intersect and RangeR1::Subtract; the result is what
    // Unite makes of the pieces, so pieces that touch join and pieces apart by less than EPS stay
    // apart. Result ends are ends of the operands, never moved by the tolerance.
    //
    // Intersect: for every two intervals that meet, the larger start to the smaller end; when
    // they are apart by less than EPS, the point where the lower one ends. So {[0, 1]} and
    // {[1, 2]} give {[1, 1]}, and {[0, 1]} and {[1 + EPS / 2, 2]} give {[1, 1]} too.
    // Subtract: an interval of s takes away what it covers. What is left of an interval is
    // kept when at least EPS long, or when nothing took from it; an interval that lies in one
    // of s give or take EPS is gone, and an interval of s shorter than EPS (a point) takes
    // nothing from the others. So {[0, 2]} minus {[1, 1]} stays {[0, 2]}, {[0, 1]} minus
    // {[1, 2]} is {[0, 1]}, and {[0, 2]} minus {[EPS / 2, 1]} is {[1, 2]}.
    // SymmetricDifference: this minus s united with s minus this; {[0, 1]} and {[1, 2]} give
    // {[0, 2]}.

    /// Keeps what lies in both; true when any is left.
    bool Intersect(const SetR1& s);
    /// Takes s away; true when any is left.
    bool Subtract(const SetR1& s);
    /// Keeps what lies in exactly one of the two; true when any is left.
    bool SymmetricDifference(const SetR1& s);

private:
    /// Ordered, and every interval proper (lo <= hi) with its flag clear: what the sweep takes.
    bool IsSweepable() const;
    /// The first index from `from` on whose hi is at least x, with inside as FindPrevRange.
    INT_PTR FirstEndingFrom(INT_PTR from, double x, bool& inside) const;
    /// The set with the smallest value below INF_BOUND (see GetFirstPoint).
    template <class Value>
    static bool Smallest(const SetArray& sets, Pair2<int, double>& out, Value value);
    /// The elements become count intervals with the pieces' ends, flags clear.
    void Assign(const RangeR1* pieces, INT_PTR count);
};

} // namespace plinth
