#include "plinth/containers/npair.h"

#include <algorithm>
#include <climits>

namespace plinth {

namespace {

// Wide enough for any two ints.
long long Gap(int a, int b) noexcept {
    const long long d = static_cast<long long>(a) - b;
    return d < 0 ? -d : d;
}

} // namespace

NPair::~NPair() = default;

bool NPair::IsNextTo(const NPair& other) const noexcept {
    return *this != other && Gap(m_nFirst, other.m_nFirst) <= 1 &&
           Gap(m_nSecond, other.m_nSecond) <= 1;
}

int NPair::DistM(const NPair& other) const noexcept {
    const long long d = std::max(Gap(m_nFirst, other.m_nFirst), Gap(m_nSecond, other.m_nSecond));
    return static_cast<int>(std::min<long long>(d, INT_MAX));
}

} // namespace plinth
