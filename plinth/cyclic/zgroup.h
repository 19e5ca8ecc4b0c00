#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/throw.h"

namespace plinth {

namespace detail {

/// The truncating remainder of v by n; a rank of 0 leaves v as it is.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
inline int cyclicReduce(int n, long long v) {
    return static_cast<int>(n == 0 ? v : v % n);
}

/// F(n, v): n added once to a negative v, then the truncating remainder.
inline int cyclicWrap(int n, long long v) {
    return cyclicReduce(n, v < 0 ? v + n : v);
}

/// next directly follows prev in the group of order n: never in order 1, any other value in
/// order 2.
inline bool cyclicFollows(int n, long long prev, long long next) {
    if (n == 1) {
        return false;
    }
    if (n == 2) {
        return prev != next;
    }
    return prev == n - 1 ? next == 0 : next == prev + 1;
}

} // namespace detail

/// An element of the cyclic group of integers modulo n: an index into a closed loop of n
/// items. Every arithmetic step wraps, and the element remembers whether its last step was an
/// increment or a decrement, so that a loop over a whole cycle needs a single end test:
///
///     for (CZGroup i(n); i.IsBeforeIncremental(n, 0); ++i) { ... } // visits 0 .. n - 1 once
///
/// Normalisation F(n, v) (the static Factorize) adds n once to a negative v, then takes the
/// truncating remainder: callers keep arguments within one turn (-n - 1 stays negative).
/// The rank must be at least 1; a rank of 0 leaves values unreduced instead of failing.
class PLINTH_API CZGroup {
public:
    /// How the element last moved.
    enum EIncrement : int { eIncrementNone = 0, eIncrementUp = 1, eIncrementDown = 2 };

    /// Value 0 in the group of order 2.
    CZGroup()
        : CZGroup(2) {}
    /// Value 0 in the group of order n.
    explicit CZGroup(int n)
        : m_nValue(0)
        , m_nIncrement(eIncrementNone)
        , m_nRank(n) {}
    CZGroup(int n, int v)
        : m_nValue(Factorize(n, v))
        , m_nIncrement(eIncrementNone)
        , m_nRank(n) {}
    CZGroup(const CZGroup&) = default;
    virtual ~CZGroup();

    void Set(int n, int v) {
        m_nRank = n;
        m_nIncrement = eIncrementNone;
        m_nValue = Factorize(n, v);
    }

    operator int() const { return m_nValue; }
    int GetRank() const { return m_nRank; }
    /// The value is not renormalised.
    void SetRank(int n) { m_nRank = n; }
    int GetIncrementState() const { return m_nIncrement; }
    void Factor() { m_nValue = Factorize(m_nRank, m_nValue); }
    /// A value in [0, rank - 1]; rank 1 also accepts the marker -1 of a blocked step.
    bool IsValid() const {
        return m_nRank > 0 && m_nValue < m_nRank && (m_nValue >= 0 || m_nRank == 1);
    }

    // ---- Assignment and arithmetic. Results have this rank and no step recorded; the
    // operand's rank is ignored. Assignments and steps return a copy, not a reference.

    /// Takes x's value as it is; the rank stays.
    CZGroup operator=(const CZGroup& x) {
        m_nValue = x.m_nValue;
        m_nIncrement = eIncrementNone;
        return *this;
    }
    CZGroup operator=(int v) {
        m_nValue = Factorize(m_nRank, v);
        m_nIncrement = eIncrementNone;
        return *this;
    }

    /// +, * and / reduce the result without the negative correction.
    CZGroup operator+(const CZGroup& x) const {
        return Make(Reduced(static_cast<long long>(m_nValue) + x.m_nValue));
    }
    CZGroup operator*(const CZGroup& x) const {
        return Make(Reduced(static_cast<long long>(m_nValue) * x.m_nValue));
    }
    /// A zero divisor raises CInvalidArgException.
    CZGroup operator/(const CZGroup& x) const {
        if (x.m_nValue == 0) {
            AfxThrowInvalidArgException();
        }
        return Make(Reduced(static_cast<long long>(m_nValue) / x.m_nValue));
    }
    CZGroup operator+(int d) const { return Make(Shifted(d)); }
    CZGroup operator-(const CZGroup& x) const { return *this - x.m_nValue; }
    CZGroup operator-(int d) const { return Make(Shifted(-static_cast<long long>(d))); }

    /// The compound forms keep the recorded step.
    void operator+=(const CZGroup& x) {
        m_nValue = Reduced(static_cast<long long>(m_nValue) + x.m_nValue);
    }
    void operator+=(int d) { m_nValue = Shifted(d); }
    void operator-=(int d) { m_nValue = Shifted(-static_cast<long long>(d)); }
    void operator-=(const CZGroup& x) { *this -= x.m_nValue; }

    /// The prefix forms always step; the postfix forms give the marker -1 (step state kept)
    /// in a group of order below 2. Both return the element after the step.
    CZGroup operator++() {
        m_nValue = Reduced(m_nValue + 1LL);
        m_nIncrement = eIncrementUp;
        return *this;
    }
    CZGroup operator++(int) { return m_nRank < 2 ? Block() : ++*this; }
    CZGroup operator--() {
        m_nValue = Shifted(-1);
        m_nIncrement = eIncrementDown;
        return *this;
    }
    CZGroup operator--(int) { return m_nRank < 2 ? Block() : --*this; }

    // ---- Comparisons and neighbourhood

    /// Values only.
    bool operator==(const CZGroup& x) const { return m_nValue == x.m_nValue; }
    bool operator!=(const CZGroup& x) const { return !(*this == x); }
    /// Against F(rank, v).
    bool operator==(int v) const { return m_nValue == Factorize(m_nRank, v); }
    bool operator!=(int v) const { return !(*this == v); }

    /// This directly follows x: never in rank 1, any other value in rank 2.
    bool IsNextAfter(const CZGroup& x) const {
        return detail::cyclicFollows(m_nRank, x.m_nValue, m_nValue);
    }
    /// Either follows the other, in this rank.
    bool IsNextTo(const CZGroup& x) const {
        return IsNextAfter(x) || detail::cyclicFollows(m_nRank, m_nValue, x.m_nValue);
    }
    /// Not cyclic: lo <= value <= hi and value >= 0.
    bool InRange(const CZGroup& lo, const CZGroup& hi) const {
        return m_nValue >= 0 && lo.m_nValue <= m_nValue && m_nValue <= hi.m_nValue;
    }
    /// The run a .. b, wrapping past rank - 1 when b < a. Each bound is brought into the group
    /// by F; a negative value lies in no run.
    bool InRangeNoOverflow(int a, int b) const {
        if (m_nValue < 0) {
            return false;
        }
        a = Factorize(m_nRank, a);
        b = Factorize(m_nRank, b);
        return a <= b ? a <= m_nValue && m_nValue <= b : m_nValue >= a || m_nValue <= b;
    }
    /// The cyclic segment a .. b of this rank (CCyclSegment) contains this element; a segment
    /// that covers the whole cycle answers as the end test of a loop.
    bool InRange(int a, int b) const;
    /// End test of a loop over the group (see the class comment); the second argument is not
    /// consulted.
    bool IsBeforeIncremental(int end, int) const {
        if (end == m_nRank && m_nValue == 0 && m_nIncrement == eIncrementNone) {
            return true;
        }
        return m_nValue != Factorize(m_nRank, end);
    }

    // ---- The same rules on plain integers; n is the order

    static int Factorize(int n, int v) { return detail::cyclicWrap(n, v); }
    static void Increment(int n, int& i) { i = detail::cyclicWrap(n, i + 1LL); }
    static void Decrement(int n, int& i) { i = detail::cyclicWrap(n, i - 1LL); }
    /// b directly follows a.
    static bool IsNextAfter(int n, int a, int b) {
        return detail::cyclicWrap(n, static_cast<long long>(b) - a) == 1;
    }
    /// Of two neighbours, the one that comes first: a when b follows a, otherwise b.
    static int GetMin(int n, int a, int b) { return IsNextAfter(n, a, b) ? a : b; }
    /// i modulo 3 (an index within a triangle), with the same single correction.
    static unsigned char F(int i) { return static_cast<unsigned char>(detail::cyclicWrap(3, i)); }

private:
    int Reduced(long long v) const { return detail::cyclicReduce(m_nRank, v); }
    /// F(rank, value + d).
    int Shifted(long long d) const { return detail::cyclicWrap(m_nRank, m_nValue + d); }
    CZGroup Make(int v) const {
        CZGroup r(m_nRank);
        r.m_nValue = v;
        return r;
    }
    CZGroup Block() {
        m_nValue = -1;
        return *this;
    }

    int m_nValue;
    int m_nIncrement;
    int m_nRank;
};

} // namespace plinth
