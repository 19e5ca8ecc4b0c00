#include "plinth/range/set_r1_spaced.h"

#include "plinth/numeric/constants.h"

#include <algorithm>
#include <cmath>

namespace plinth {

SetR1Spaced::~SetR1Spaced() = default;

double SetR1Spaced::PushSingleRange(int i, bool backward, double p) {
    if (i >= m_nSize) {
        return 0;
    }
    RangeR1& e = ElementAt(i);
    const double push = p >= 0 ? p : 0;
    const double shift = backward ? -push : push;
    const bool outermost = backward ? i <= 0 : i >= m_nSize - 1;
    if (outermost) {
        e.Translate(shift);
        return p;
    }
    const double gap = backward ? e.lo - m_pData[i - 1].hi : m_pData[i + 1].lo - e.hi;
    if (gap < 0 && p < 0) {
        // Back toward the middle by the smaller of the overlap and the slack.
        const double t = std::max(gap, p);
        e.Translate(backward ? -t : t);
    } else {
        e.Translate(shift);
    }
    return p - gap;
}

double SetR1Spaced::PushRange(int i, bool backward, double p) {
    const int n = static_cast<int>(m_nSize);
    if (n < 2 || i >= n) {
        return 0;
    }
    const int c = GetCenter();
    if (backward) {
        const int first = std::min(i > c ? c + 1 : 0, n - 1);
        for (int k = i; k >= first; --k) {
            p = PushSingleRange(k, true, p);
        }
    } else {
        const int last = std::max(i >= c ? n - 1 : c - 1, 0);
        for (int k = i; k <= last; ++k) {
            p = PushSingleRange(k, false, p);
        }
    }
    return p;
}

void SetR1Spaced::Arrange() {
    const int n = static_cast<int>(m_nSize);
    if (n < 2) {
        return;
    }
    const int c = GetCenter();
    if (c < n - 1) {
        PushRange(c + 1, false, m_pData[c].hi - m_pData[c + 1].lo);
    }
    if (c > 0) {
        PushRange(c - 1, true, m_pData[c - 1].hi - m_pData[c].lo);
    }
}

void SetR1Spaced::Arrange(double gap) {
    if (gap <= -EPS) {
        return;
    }
    if (std::fabs(gap) < EPS) {
        Arrange();
        return;
    }
    SetR1Spaced widened(*this);
    widened.Expand(gap * 0.5);
    widened.Arrange();
    Center(widened);
}

bool SetR1Spaced::IsValidEx(double gap) const {
    if (!IsValid()) {
        return false;
    }
    for (INT_PTR i = 0; i + 1 < m_nSize; ++i) {
        if (m_pData[i].hi + gap - m_pData[i + 1].lo > EPS) {
            return false;
        }
    }
    return true;
}

} // namespace plinth
