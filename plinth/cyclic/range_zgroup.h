#pragma once

#include "plinth/cyclic/zgroup.h"
#include "plinth/platform/export.h"

#include <utility>

namespace plinth {

/// A run of indices on a closed loop of n items, going upward from its start to its end and
/// wrapping past n - 1, with an explicit state: full (every index), empty, or an ordinary run.
/// The state, not the ends, decides fullness and emptiness; a full or empty run keeps its ends.
/// Ends are selected by number: 0 is the start, any other number the end.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RangeZGroup {
public:
    enum EState : int { eStateFull = 0, eStateEmpty = 1, eStateRun = 2 };

    /// Full, ends 0 and 0, in the group of order 2 or n.
    RangeZGroup()
        : RangeZGroup(2) {}
    explicit RangeZGroup(int n)
        : m_nState(eStateFull)
        , m_ends{0, 0}
        , m_nRank(n) {}
    /// The ordinary run F(n, a) .. F(n, b).
    RangeZGroup(int n, int a, int b)
        : m_nState(eStateRun)
        , m_ends{CZGroup::Factorize(n, a), CZGroup::Factorize(n, b)}
        , m_nRank(n) {}
    RangeZGroup(const RangeZGroup&) = default;
    virtual ~RangeZGroup();

    /// Copies rank, ends and state; the assignment returns a copy.
    void Copy(const RangeZGroup& r) {
        m_nState = r.m_nState;
        m_ends[0] = r.m_ends[0];
        m_ends[1] = r.m_ends[1];
        m_nRank = r.m_nRank;
    }
    RangeZGroup operator=(const RangeZGroup& r) {
        Copy(r);
        return *this;
    }

    /// Same rank and ends; the state is not compared.
    bool operator==(const RangeZGroup& r) const {
        return m_nRank == r.m_nRank && m_ends[0] == r.m_ends[0] && m_ends[1] == r.m_ends[1];
    }
    bool operator!=(const RangeZGroup& r) const { return !(*this == r); }

    void Factor() { Set(m_ends[0], m_ends[1]); }
    bool IsValid() const { return m_nRank > 0 && InGroup(m_ends[0]) && InGroup(m_ends[1]); }
    int GetRank() const { return m_nRank; }
    /// The ends are not renormalised.
    void SetRank(int n) { m_nRank = n; }
    /// An ordinary run in the group of order n; nothing changes unless n > 1.
    void Set(int n, int a, int b) {
        if (n > 1) {
            m_nRank = n;
            Set(a, b);
            m_nState = eStateRun;
        }
    }
    /// New ends in this rank; the state stays.
    void Set(int a, int b) {
        m_ends[0] = CZGroup::Factorize(m_nRank, a);
        m_ends[1] = CZGroup::Factorize(m_nRank, b);
    }

    EState GetState() const { return m_nState; }
    void SetFull() { m_nState = eStateFull; }
    void SetEmpty() { m_nState = eStateEmpty; }
    bool IsFull() const { return m_nState == eStateFull; }
    bool IsEmpty() const { return m_nState == eStateEmpty; }

    int GetCount() const {
        if (IsFull()) {
            return m_nRank;
        }
        if (IsEmpty()) {
            return 0;
        }
        const int span = m_ends[1] - m_ends[0] + 1;
        return m_ends[0] <= m_ends[1] ? span : m_nRank + span;
    }
    /// The i-th index of the run, -1 outside 0 .. count - 1.
    int Get(int i) const {
        if (i < 0 || i >= GetCount()) {
            return -1;
        }
        return IsFull() ? i : CZGroup::Factorize(m_nRank, m_ends[0] + i);
    }
    /// F(rank, i) lies in the run.
    bool In(int i) const;

    /// The indices outside this run: from end + 1 to start - 1, full when this is empty and
    /// empty when this is full.
    void GetComplimentary(RangeZGroup& out) const;
    /// Moves one end by d, each end renormalised. A run that grows over every index becomes
    /// full; one that shrinks past its other end becomes empty. Full and empty runs stay.
    void MoveEnd(unsigned char which, int d);
    /// The run then covers the former complement and both ends.
    void SwapEnds() { std::swap(m_ends[0], m_ends[1]); }
    int GetEnd(unsigned char which) const { return m_ends[which == 0 ? 0 : 1]; }
    void GetEnd(unsigned char which, CZGroup& out) const { out.Set(m_nRank, GetEnd(which)); }

    /// Shift both ends; the state stays.
    void operator+=(int d) { Shift(d); }
    void operator-=(int d) { Shift(-static_cast<long long>(d)); }

private:
    bool InGroup(int v) const { return v < m_nRank && (v >= 0 || m_nRank == 1); }
    void Shift(long long d) {
        for (int& e : m_ends) {
            e = detail::cyclicWrap(m_nRank, e + d);
        }
    }

    EState m_nState;
    int m_ends[2];
    int m_nRank;
};

} // namespace plinth
