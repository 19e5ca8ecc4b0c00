#pragma once

#include <algorithm>

namespace plinth {

/// The closed range of integers lo..hi; empty when hi < lo. A plain value.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class RangeInt {
public:
    int lo;
    int hi;

    /// The empty [0, -1].
    RangeInt()
        : lo(0)
        , hi(-1) {}
    RangeInt(int a, int b)
        : lo(a)
        , hi(b) {}
    RangeInt(const RangeInt&) = default;
    RangeInt& operator=(const RangeInt&) = default;
    void Copy(const RangeInt& r) { *this = r; }

    void Reset() { *this = RangeInt(); }
    bool IsEmpty() const { return hi < lo; }
    bool IsSingleton() const { return lo == hi; }
    int GetCount() const { return hi - lo + 1; }

    /// lo for 0, hi for any other index.
    int& operator[](int i) { return i == 0 ? lo : hi; }
    int operator[](int i) const { return i == 0 ? lo : hi; }

    bool IsIn(int i) const { return lo <= i && i <= hi; }
    bool Is(int a, int b) const { return lo == a && hi == b; }
    bool operator==(const RangeInt& r) const { return Is(r.lo, r.hi); }
    bool operator!=(const RangeInt& r) const { return !(*this == r); }

    /// x clamped to [a, b].
    static int ToRange(int x, int a, int b) {
        if (x < a) {
            return a;
        }
        return x <= b ? x : b;
    }

    /// The common part; false (and the empty [0, -1]) when the ranges do not meet.
    bool Intersect(const RangeInt& r) {
        if (hi < r.lo || r.hi < lo) {
            Reset();
            return false;
        }
        lo = std::max(lo, r.lo);
        hi = std::min(hi, r.hi);
        return lo <= hi;
    }
};

} // namespace plinth
