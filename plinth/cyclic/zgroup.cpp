#include "plinth/cyclic/zgroup.h"

#include "plinth/cyclic/cycl_segment.h"

namespace plinth {

CZGroup::~CZGroup() = default;

bool CZGroup::InRange(int a, int b) const {
    CCyclSegment segment(m_nRank);
    segment.Set(a, b);
    return segment.Contains(*this);
}

} // namespace plinth
