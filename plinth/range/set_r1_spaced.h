#pragma once

#include "plinth/platform/export.h"
#include "plinth/range/set_r1.h"

namespace plinth {

/// An interval set that can be laid out: Arrange pushes overlapping intervals apart, outward
/// from the middle one, which stays in place; every interval keeps its length.
///
/// A push p moves an interval away from the middle by p when p > 0; a negative p is slack, the
/// room an interval may move back toward the middle to close an overlap with its outer
/// neighbour.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API SetR1Spaced : public SetR1 {
public:
    SetR1Spaced() = default;
    SetR1Spaced(const SetR1Spaced& s) = default;
    SetR1Spaced& operator=(const SetR1Spaced& s) = default;
    ~SetR1Spaced() override;

    /// The middle index (count - 1) / 2, rounded down; 0 for an empty set.
    int GetCenter() const { return m_nSize > 1 ? static_cast<int>((m_nSize - 1) / 2) : 0; }
    /// Moves interval i by the push p, upward or (backward) downward, and returns the push left
    /// for its outer neighbour: p less the gap to it, measured before the move. 0 when i is past
    /// the end.
    double PushSingleRange(int i, bool backward, double p);
    /// Passes a push from interval i outward through its side of the set; returns what is left.
    /// 0 for fewer than two intervals or i past the end.
    double PushRange(int i, bool backward, double p);
    /// Removes the overlaps, the middle interval staying where it is.
    void Arrange();
    /// Arranges so that consecutive intervals end up at least gap apart, each centred where its
    /// copy widened by the gap was arranged. Nothing for gap <= -EPS; Arrange() for |gap| < EPS.
    void Arrange(double gap);
    /// Valid, and consecutive intervals at least gap - EPS apart.
    bool IsValidEx(double gap) const;
};

} // namespace plinth
