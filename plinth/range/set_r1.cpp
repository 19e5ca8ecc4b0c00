#include "plinth/range/set_r1.h"

#include "plinth/platform/memory.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plinth {

SetR1::~SetR1() = default;

void SetR1::Copy(const SetR1& s) {
    SetSize(s.GetSize(), -1);
    for (INT_PTR i = m_nSize; i-- > 0;) {
        m_pData[i].Copy(s.m_pData[i]);
    }
}

void SetR1::SetRange2(int i, double a, double b, const RangeR1* clip) {
    RangeR1& e = ElementAt(i);
    e.Set(a, b);
    if (clip != nullptr) {
        e.Intersect(*clip);
    }
}

INT_PTR SetR1::FirstEndingFrom(INT_PTR from, double x, bool& inside) const {
    for (INT_PTR i = from; i < m_nSize; ++i) {
        if (m_pData[i].hi >= x) {
            inside = x >= m_pData[i].lo;
            return i;
        }
    }
    return -1;
}

void SetR1::Unite(const RangeR1& range) {
    const RangeR1 r(range); // range may be one of the elements that move
    bool inLo = false;
    const INT_PTR i = FirstEndingFrom(0, r.lo, inLo);
    if (i < 0) {
        Add(r);
        return;
    }
    // Every interval before i ends below r.lo, so below r.hi too unless r is reversed.
    bool inHi = false;
    const INT_PTR j = FirstEndingFrom(r.lo <= r.hi ? i : 0, r.hi, inHi);
    RangeR1& e = m_pData[i];
    if (j < 0) {
        e.Unite(r);
        SetSize(i + 1);
    } else if (j == i) {
        if (inLo) {
            return;
        }
        if (inHi) {
            e.lo = r.lo;
        } else {
            InsertAt(i, r);
        }
    } else if (j > i) {
        if (!inLo) {
            e.lo = r.lo;
        }
        e.hi = inHi ? m_pData[j].hi : r.hi;
        // The absorbed intervals: i + 1 .. j when j was merged in, else up to j - 1.
        const INT_PTR absorbed = inHi ? j - i : j - i - 1;
        if (absorbed > 0) {
            RemoveAt(i + 1, absorbed);
        }
    }
}

namespace {

// The union of intervals fed in ascending order of lo, written over out[0 .. Count()) as
// uniting them one by one in their order would leave it: an interval that starts at or
// before the last one's end joins it, and of equal ends (0 and -0) the one united first stays.
class SweptUnion {
public:
    explicit SweptUnion(RangeR1* out) noexcept
        : m_out(out) {}

    void Add(double lo, double hi, INT_PTR order) noexcept {
        if (m_count > 0 && lo <= m_out[m_count - 1].hi) {
            RangeR1& last = m_out[m_count - 1];
            if (hi > last.hi || (hi == last.hi && order < m_hiOrder)) {
                last.hi = hi;
                m_hiOrder = order;
            }
            return;
        }
        RangeR1& next = m_out[m_count++];
        next.lo = lo;
        next.hi = hi;
        next.external = false;
        m_hiOrder = order;
    }
    INT_PTR Count() const noexcept { return m_count; }

private:
    RangeR1* m_out;
    INT_PTR m_count = 0;
    INT_PTR m_hiOrder = 0; // the place in the order of uniting of the last interval's hi
};

} // namespace

void SetR1::Unite(const SetR1& s) {
    if (!IsSweepable() || !s.IsSweepable()) {
        for (INT_PTR i = 0; i < s.GetSize(); ++i) {
            Unite(s.m_pData[i]);
        }
        return;
    }
    if (&s == this) {
        return; // each interval lies within itself
    }
    // Both sorted already: this set's intervals move to the end, and one merge writes the
    // union from the start, never past what it has read; this set's first on equal starts.
    const INT_PTR n = m_nSize;
    const INT_PTR m = s.m_nSize;
    SetSize(n + m);
    for (INT_PTR i = n; i-- > 0;) {
        m_pData[m + i].lo = m_pData[i].lo;
        m_pData[m + i].hi = m_pData[i].hi;
    }
    SweptUnion u(m_pData);
    INT_PTR a = 0;
    INT_PTR b = 0;
    while (a < n || b < m) {
        if (b == m || (a < n && m_pData[m + a].lo <= s.m_pData[b].lo)) {
            u.Add(m_pData[m + a].lo, m_pData[m + a].hi, a);
            ++a;
        } else {
            u.Add(s.m_pData[b].lo, s.m_pData[b].hi, n + b);
            ++b;
        }
    }
    SetSize(u.Count());
}

void SetR1::UniteAll(const RangeR1* ranges, INT_PTR count) {
    if (ranges == nullptr || count <= 0) {
        return;
    }
    const bool proper = std::all_of(ranges, ranges + count, [](const RangeR1& r) {
        return r.lo <= r.hi && !r.external; // also false for NaN ends
    });
    if (!proper || !IsSweepable()) {
        // Copied first: the intervals may be elements of this set, which move.
        const std::vector<RangeR1, AfxAllocator<RangeR1>> copy(ranges, ranges + count);
        for (const RangeR1& r : copy) {
            Unite(r);
        }
        return;
    }
    struct Entry {
        double lo;
        double hi;
        INT_PTR order; // the place in the order of uniting
    };
    std::vector<Entry, AfxAllocator<Entry>> entries;
    entries.reserve(static_cast<std::size_t>(m_nSize + count));
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        entries.push_back({m_pData[i].lo, m_pData[i].hi, i});
    }
    for (INT_PTR i = 0; i < count; ++i) {
        entries.push_back({ranges[i].lo, ranges[i].hi, m_nSize + i});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        return x.lo < y.lo || (x.lo == y.lo && x.order < y.order);
    });
    SetSize(static_cast<INT_PTR>(entries.size()));
    SweptUnion u(m_pData);
    for (const Entry& e : entries) {
        u.Add(e.lo, e.hi, e.order);
    }
    SetSize(u.Count());
}

bool SetR1::IsSweepable() const {
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        const RangeR1& e = m_pData[i];
        if (!(e.lo <= e.hi) || e.external || (i > 0 && !(e.lo > m_pData[i - 1].hi))) {
            return false;
        }
    }
    return true;
}

int SetR1::FindRange(double x) const {
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        if (m_pData[i].In(x, EPS)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int SetR1::FindPrevRange(double x, bool* inside) const {
    bool in = false;
    const INT_PTR i = FirstEndingFrom(0, x, in);
    if (i >= 0 && inside != nullptr) {
        *inside = in;
    }
    return static_cast<int>(i);
}

bool SetR1::IsValid() const {
    return std::none_of(m_pData, m_pData + m_nSize, [](const RangeR1& e) { return e.IsEmpty(); });
}

bool SetR1::IsValidEx(double gap) const {
    if (!IsValid()) {
        return false;
    }
    for (INT_PTR i = 1; i < m_nSize; ++i) {
        if (m_pData[i].lo - gap < m_pData[i - 1].hi) {
            return false;
        }
    }
    return true;
}

void SetR1::GetBounds(RangeR1& out) const {
    out.SetEmpty();
    for (INT_PTR i = m_nSize; i-- > 0;) {
        out.Unite(m_pData[i]);
    }
}

double SetR1::GetFirstPoint(double x) const {
    if (IsEmpty()) {
        return UNBOUNDED;
    }
    if (x <= -INF_BOUND) {
        return m_pData[0].lo;
    }
    bool inside = false;
    const INT_PTR i = FirstEndingFrom(0, x, inside);
    if (i < 0) {
        return UNBOUNDED;
    }
    return inside ? x : m_pData[i].lo;
}

template <class Value>
bool SetR1::Smallest(const SetArray& sets, Pair2<int, double>& out, Value value) {
    out.first = -1;
    out.second = INF_BOUND;
    for (INT_PTR k = 0; k < sets.GetSize(); ++k) {
        const SetR1* s = sets[k];
        if (s == nullptr) {
            continue;
        }
        const double v = value(*s);
        if (v < out.second) {
            out.first = static_cast<int>(k);
            out.second = v;
        }
    }
    return out.first >= 0;
}

bool SetR1::GetFirstPoint(const SetArray& sets, double x, Pair2<int, double>& out) {
    return Smallest(sets, out, [x](const SetR1& s) { return s.GetFirstPoint(x); });
}

bool SetR1::GetLastPointFirstRange(const SetArray& sets, Pair2<int, double>& out) {
    return Smallest(sets, out, [](const SetR1& s) { return s.GetLastPointFirstRange(); });
}

void SetR1::Expand(double d) {
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        m_pData[i].Expand(d);
    }
}

void SetR1::Center(const SetR1& s) {
    if (s.m_nSize != m_nSize) {
        return;
    }
    for (INT_PTR i = m_nSize; i-- > 0;) {
        m_pData[i].Center(s.m_pData[i]);
    }
}

bool SetR1::Intersect(const RangeR1& r) {
    const RangeR1 window(r); // r may be one of the elements that move
    for (INT_PTR i = m_nSize; i-- > 0;) {
        if (!m_pData[i].Intersect(window)) {
            RemoveAt(i);
        }
    }
    return !IsEmpty();
}

void SetR1::RemoveSingletons() {
    for (INT_PTR i = m_nSize; i-- > 0;) {
        if (m_pData[i].IsSingleton()) {
            RemoveAt(i);
        }
    }
}

void SetR1::MergeAdjacent() {
    for (INT_PTR i = m_nSize - 1; i > 0; --i) {
        if (std::fabs(m_pData[i - 1].hi - m_pData[i].lo) < EPS) {
            m_pData[i - 1].hi = m_pData[i].hi;
            RemoveAt(i);
        }
    }
}

void SetR1::MakeValid() {
    RemoveSingletons();
    MergeAdjacent();
}

void SetR1::GetComplimentarySet(const RangeR1& within, SetR1& out) const {
    const RangeR1 window(within); // within may be an element of out
    SetR1 t(*this);
    t.Intersect(window);
    if (t.IsEmpty()) {
        out.SetSize(1);
        out.m_pData[0].Copy(window);
        return;
    }
    const INT_PTR n = t.m_nSize;
    const INT_PTR lead = t.m_pData[0].lo - window.lo > EPS ? 1 : 0;
    const INT_PTR trail = window.hi - t.m_pData[n - 1].hi > EPS ? 1 : 0;
    out.SetSize(n - 1 + lead + trail);
    if (lead != 0) {
        out.m_pData[0].Set(window.lo, t.m_pData[0].lo);
    }
    if (trail != 0) {
        out.m_pData[out.m_nSize - 1].Set(t.m_pData[n - 1].hi, window.hi);
    }
    for (INT_PTR k = 1; k < n; ++k) {
        out.m_pData[k - 1 + lead].Set(t.m_pData[k - 1].hi, t.m_pData[k].lo);
    }
}

// ---- Algebra with another set

void SetR1::Assign(const RangeR1* pieces, INT_PTR count) {
    SetSize(count);
    for (INT_PTR i = 0; i < count; ++i) {
        m_pData[i].lo = pieces[i].lo;
        m_pData[i].hi = pieces[i].hi;
        m_pData[i].external = false;
    }
}

bool SetR1::Intersect(const SetR1& s) {
    // Each step emits at most one piece and passes one interval, so n + m pieces at most;
    // they come in ascending order of start.
    std::vector<RangeR1, AfxAllocator<RangeR1>> pieces(
        static_cast<std::size_t>(m_nSize + s.m_nSize));
    SweptUnion u(pieces.data());
    INT_PTR a = 0;
    INT_PTR b = 0;
    while (a < m_nSize && b < s.m_nSize) {
        const RangeR1& x = m_pData[a];
        const RangeR1& y = s.m_pData[b];
        if (!x.IsEmptyIntersection(y)) {
            const double lo = std::max(x.lo, y.lo);
            const double hi = std::min(x.hi, y.hi);
            u.Add(lo <= hi ? lo : hi, hi, a + b);
        }
        // The one that ends first meets nothing further on but points within EPS of its end,
        // which its piece already holds.
        if (x.hi <= y.hi) {
            ++a;
        } else {
            ++b;
        }
    }
    Assign(pieces.data(), u.Count());
    return !IsEmpty();
}

bool SetR1::Subtract(const SetR1& s) {
    std::vector<RangeR1, AfxAllocator<RangeR1>> left;
    left.reserve(static_cast<std::size_t>(m_nSize + s.m_nSize));
    INT_PTR first = 0; // the first interval of s not ending before the current one
    for (INT_PTR i = 0; i < m_nSize; ++i) {
        double lo = m_pData[i].lo; // what is left runs from lo to hi
        const double hi = m_pData[i].hi;
        while (first < s.m_nSize && s.m_pData[first].hi + EPS < lo) {
            ++first;
        }
        bool cut = false;
        bool gone = false;
        for (INT_PTR k = first; !gone && k < s.m_nSize && s.m_pData[k].lo - EPS <= hi; ++k) {
            const RangeR1& o = s.m_pData[k];
            if (RangeR1(lo, hi).IsInsideOf(o)) {
                gone = true;
            } else if (!o.IsSingleton()) {
                if (std::min(hi, o.lo) - lo >= EPS) {
                    left.emplace_back(lo, std::min(hi, o.lo));
                }
                lo = std::max(lo, o.hi);
                cut = true;
            }
        }
        if (!gone && (!cut || hi - lo >= EPS)) {
            left.emplace_back(lo, hi);
        }
    }
    Assign(left.data(), static_cast<INT_PTR>(left.size()));
    return !IsEmpty();
}

bool SetR1::SymmetricDifference(const SetR1& s) {
    SetR1 other(s);
    other.Subtract(*this);
    Subtract(s);
    Unite(other);
    return !IsEmpty();
}

} // namespace plinth
