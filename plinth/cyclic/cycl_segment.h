#pragma once

#include "plinth/cyclic/zgroup.h"
#include "plinth/platform/export.h"

namespace plinth {

/// A run of consecutive indices a .. b on a closed loop of n items, wrapping past n - 1;
/// b = -1 marks the empty run. Its membership test is also the end test of a loop over the
/// run, full runs included:
///
///     for (CZGroup x(n, s.GetA()); s.Contains(x); ++x) { ... } // each index of s once
///
/// The ends are stored reduced modulo n with a negative remainder moved up by n, so Set(a, -1)
/// ends the run at n - 1; only SetEmpty and Reset make it empty.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CCyclSegment {
public:
    /// The empty segment from 0 in the group of order 2, or of order n.
    CCyclSegment()
        : CCyclSegment(2) {}
    explicit CCyclSegment(int n)
        : m_nA(0)
        , m_nB(-1)
        , m_nRank(n) {}
    CCyclSegment(const CCyclSegment&) = default;
    CCyclSegment& operator=(const CCyclSegment&) = default;
    virtual ~CCyclSegment();

    int GetA() const { return m_nA; }
    int GetB() const { return m_nB; }
    int GetRank() const { return m_nRank; }

    bool IsEmpty() const { return m_nB < 0; }
    void Reset() {
        m_nA = 0;
        m_nB = -1;
    }
    /// true empties the segment; false turns an empty one into the single index a.
    void SetEmpty(bool empty) {
        if (empty) {
            m_nB = -1;
        } else if (IsEmpty()) {
            m_nB = m_nA;
        }
    }
    void Set(int a, int b) {
        SetA(a);
        SetB(b);
    }
    void SetA(int a) { m_nA = Mod(a); }
    void SetB(int b) { m_nB = Mod(b); }
    /// The values reduced without the negative correction.
    void Set(const CZGroup& a, const CZGroup& b) {
        m_nA = detail::cyclicReduce(m_nRank, static_cast<int>(a));
        m_nB = detail::cyclicReduce(m_nRank, static_cast<int>(b));
    }
    /// Reduces both ends; an empty segment's b becomes rank - 1.
    void Factor() { Set(m_nA, m_nB); }
    bool IsValid() const { return 0 <= m_nA && m_nA < m_nRank && -1 <= m_nB && m_nB < m_nRank; }
    /// Not empty, and a directly follows b.
    bool IsFull() const { return !IsEmpty() && detail::cyclicFollows(m_nRank, m_nB, m_nA); }
    void SetFull() {
        m_nA = 0;
        m_nB = m_nRank - 1;
    }

    /// A full segment holds every index, but answers by x's last step so that a loop ends
    /// after one turn: after ++ it excludes a, after -- it excludes b.
    bool Contains(const CZGroup& x) const {
        if (IsEmpty()) {
            return false;
        }
        if (!IsFull()) {
            return x.InRangeNoOverflow(m_nA, m_nB);
        }
        const int v = x;
        switch (x.GetIncrementState()) {
        case CZGroup::eIncrementUp:
            return v != m_nA;
        case CZGroup::eIncrementDown:
            return v != m_nB;
        default:
            return true;
        }
    }

private:
    /// v modulo rank in [0, rank - 1]; a rank of 0 leaves v as it is.
    int Mod(int v) const {
        const int r = detail::cyclicReduce(m_nRank, v);
        return r < 0 ? r + m_nRank : r;
    }

    int m_nA;
    int m_nB;
    int m_nRank;
};

} // namespace plinth
