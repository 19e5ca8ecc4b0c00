#include "plinth/cyclic/range_zgroup.h"

namespace plinth {

RangeZGroup::~RangeZGroup() = default;

bool RangeZGroup::In(int i) const {
    if (IsFull()) {
        return true;
    }
    if (IsEmpty()) {
        return false;
    }
    return CZGroup(m_nRank, i).InRange(m_ends[0], m_ends[1]);
}

void RangeZGroup::GetComplimentary(RangeZGroup& out) const {
    const EState state = IsFull() ? eStateEmpty : IsEmpty() ? eStateFull : eStateRun;
    // Read before writing: out may be this range.
    const int start = detail::cyclicWrap(m_nRank, m_ends[1] + 1LL);
    const int end = detail::cyclicWrap(m_nRank, m_ends[0] - 1LL);
    out.m_nRank = m_nRank;
    out.m_ends[0] = start;
    out.m_ends[1] = end;
    out.m_nState = state;
}

void RangeZGroup::MoveEnd(unsigned char which, int d) {
    if (d == 0 || IsFull() || IsEmpty()) {
        return;
    }
    const int count = GetCount();
    const int index = which == 0 ? 0 : 1;
    m_ends[index] = detail::cyclicWrap(m_nRank, static_cast<long long>(m_ends[index]) + d);
    const long long m = d < 0 ? -static_cast<long long>(d) : d;
    // The start moving down or the end moving up grows the run.
    const bool grows = (index == 0) == (d < 0);
    if (grows) {
        if (m >= m_nRank - count) {
            m_nState = eStateFull;
        }
    } else if (m >= count) {
        m_nState = eStateEmpty;
    }
}

} // namespace plinth
