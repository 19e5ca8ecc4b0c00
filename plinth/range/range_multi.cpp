#include "plinth/range/range_multi.h"

#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memory.h"
#include "plinth/platform/throw.h"

#include <algorithm>
#include <cmath>

namespace plinth {

namespace {

// The most elements a load makes room for (40 MiB of them).
constexpr int kMaxLoaded = 1 << 20;

// An element as a new multi-range has it, made an angle: the full angle, no flag, radians.
void startAngle(Range& e) {
    e.lo = -UNBOUNDED;
    e.hi = UNBOUNDED;
    e.external = false;
    e.state = RangeS1::eStateFull;
    e.degrees = false;
    e.type = eScalarAngle;
}

} // namespace

// ---- CAISimpArr<Range> storage

CAISimpArr<Range>::CAISimpArr(const CAISimpArr& s)
    : data(s.data == nullptr ? nullptr : AfxNewArray<Range>(static_cast<std::size_t>(s.capacity)))
    , capacity(s.data == nullptr ? 0 : s.capacity)
    , count(s.data == nullptr ? 0 : s.count)
    , growBy(s.growBy) {
    std::copy(s.data, s.data + capacity, data);
}

CAISimpArr<Range>& CAISimpArr<Range>::operator=(const CAISimpArr& s) {
    if (this != &s) {
        CAISimpArr copy(s);
        std::swap(data, copy.data);
        std::swap(capacity, copy.capacity);
        std::swap(count, copy.count);
        growBy = copy.growBy;
    }
    return *this;
}

CAISimpArr<Range>::~CAISimpArr() {
    delete[] data;
}

void CAISimpArr<Range>::SetSize(int n) {
    if (n <= capacity) {
        return;
    }
    Range* block = AfxNewArray<Range>(static_cast<std::size_t>(n));
    delete[] data;
    data = block;
    capacity = n;
}

void CAISimpArr<Range>::SetSizeGrow(int n) {
    if (n <= capacity) {
        return;
    }
    Range* block = AfxNewArray<Range>(static_cast<std::size_t>(n));
    std::copy(data, data + capacity, block);
    delete[] data;
    data = block;
    capacity = n;
}

void CAISimpArr<Range>::SetSize(int n, int m) {
    SetSize(n);
    SetSizeGrow(m);
    count = m;
}

void CAISimpArr<Range>::SetCount(int n) {
    SetSizeGrow(n);
    count = n;
}

void CAISimpArr<Range>::Create(int n) {
    if (n > capacity) {
        SetSize(n);
        return;
    }
    // The block stays; the count keeps within the capacity recorded.
    capacity = n;
    count = std::min(count, n);
}

void CAISimpArr<Range>::Create() {
    Range* block = AfxNewArray<Range>(static_cast<std::size_t>(capacity));
    delete[] data;
    data = block;
}

void CAISimpArr<Range>::Attach(Range* p, int n) {
    if (p != data) {
        delete[] data;
    }
    data = p;
    capacity = n;
    count = n;
}

void CAISimpArr<Range>::Detach() noexcept {
    data = nullptr;
    capacity = 0;
    count = 0;
}

void CAISimpArr<Range>::GetSubArray(CAISimpArr /*a*/, int /*i*/, int /*j*/) {
    delete[] data;
    Detach();
}

int CAISimpArr<Range>::Find(const Range* r) const {
    for (int i = 0; i < count; ++i) {
        if (data[i] == *r) {
            return i;
        }
    }
    return -1;
}

// ---- Editing

Range* CAISimpArr<Range>::Add() {
    SetCount(count + 1);
    return &data[count - 1];
}

void CAISimpArr<Range>::Add(Range r) {
    *Add() = r;
}

void CAISimpArr<Range>::InsertAt(int i, const Range& r) {
    const Range value(r); // r may be an element that the growth moves
    const int end = count;
    SetCount(count + 1);
    ShiftUp(i, end, 1);
    data[i] = value;
}

void CAISimpArr<Range>::SetAtGrow(int i, const Range& r) {
    const Range value(r);
    if (i >= capacity) {
        if (growBy < 1) {
            growBy = 5;
        }
        SetSizeGrow((i / growBy + 1) * growBy);
    }
    data[i] = value;
    count = std::max(count, i + 1);
}

void CAISimpArr<Range>::RemoveAt(int i, int n) {
    if (n <= 0) {
        return;
    }
    std::copy(data + i + n, data + count, data + i);
    count -= n;
}

void CAISimpArr<Range>::Copy(const CAISimpArr& src) {
    if (&src == this) {
        return;
    }
    if (capacity < src.count) {
        Range* block = AfxNewArray<Range>(static_cast<std::size_t>(src.count));
        delete[] data;
        data = block;
        capacity = src.count;
    } else if (data == nullptr) {
        data = AfxNewArray<Range>(static_cast<std::size_t>(capacity));
    }
    std::copy(src.data, src.data + src.count, data);
    count = src.count;
}

void CAISimpArr<Range>::Copy(const CAISimpArr& src, int dst, int from) {
    const int n = src.count - from;
    if (n <= 0) {
        return;
    }
    const int end = dst + n;
    SetSizeGrow(end); // before writing; src's block moves too when src is this array
    const Range* first = src.data + from;
    if (&src == this && from < dst) {
        std::copy_backward(first, first + n, data + end);
    } else {
        std::copy(first, first + n, data + dst);
    }
    count = std::max(count, end);
}

void CAISimpArr<Range>::CopySubArr(const CAISimpArr& src, int i, int j, bool reverse) {
    if (&src == this) {
        const CAISimpArr copy(src);
        CopySubArr(copy, i, j, reverse);
        return;
    }
    SetCount(j - i + 1);
    if (reverse) {
        std::reverse_copy(src.data + i, src.data + j + 1, data);
    } else {
        std::copy(src.data + i, src.data + j + 1, data);
    }
}

void CAISimpArr<Range>::ShiftUp(int from, int end, int by) {
    std::copy_backward(data + from, data + end, data + end + by);
}

// ---- Order

bool CAISimpArr<Range>::IsIncreasing() const {
    for (int k = 1; k < count; ++k) {
        if (data[k] < data[k - 1]) {
            return false;
        }
    }
    return true;
}

int CAISimpArr<Range>::Merge(const CAISimpArr& a, const CAISimpArr& b) {
    if (&a == this || &b == this) {
        const CAISimpArr ca(a);
        const CAISimpArr cb(b);
        return Merge(ca, cb);
    }
    SetCount(a.count + b.count);
    if (a.count == 0 || b.count == 0) {
        Copy(a.count == 0 ? b : a, 0, 0);
        return count;
    }
    int i = 0;
    int j = 0;
    int k = 0;
    while (i < a.count && j < b.count) {
        if (a.data[i] <= b.data[j]) {
            data[k++] = a.data[i];
            if (std::fabs(a.data[i] - b.data[j]) < EPS) {
                --count;
                ++j;
            }
            ++i;
        } else {
            data[k++] = b.data[j++];
        }
    }
    std::copy(a.data + i, a.data + a.count, data + k);
    std::copy(b.data + j, b.data + b.count, data + k + (a.count - i));
    return count;
}

void CAISimpArr<Range>::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << capacity << count;
        return;
    }
    int c = 0;
    int n = 0;
    ar >> c >> n;
    // The archive holds no elements, so nothing bounds a forged claim as the data does for
    // other arrays: a block of more elements than kMaxLoaded is refused before any allocation.
    if (c < 0 || n < 0 || c > kMaxLoaded || n > kMaxLoaded) {
        AfxThrowArchiveException(CArchiveException::badIndex);
    }
    SetSize(c);
    SetCount(n);
}

// ---- RangeMulti

RangeMulti::RangeMulti(int n) {
    SetCount(n);
}

void RangeMulti::SetFull() {
    SetCount(1);
    data[0].SetFull();
}

void RangeMulti::SetFullAngle() {
    SetCount(1);
    data[0].SetFullAngle();
}

bool RangeMulti::IsEmpty() const {
    return std::all_of(data, data + count, [](const Range& e) { return e.IsEmpty(); });
}

bool RangeMulti::IsValid() const {
    for (int k = 1; k < count; ++k) {
        if (data[k].lo + EPS < data[k - 1].hi) {
            return false;
        }
    }
    return true;
}

int RangeMulti::FindFirstOnLeft(double x) const {
    for (int i = count - 1; i >= 0; --i) {
        if (data[i].lo < x + EPS) {
            return i;
        }
    }
    return -1;
}

int RangeMulti::FindRange(double x) const {
    for (int i = 0; i < count; ++i) {
        if (data[i].In(x)) {
            return i;
        }
    }
    return -1;
}

void RangeMulti::Copy(const RangeMulti& m) {
    if (&m == this) {
        return;
    }
    SetCount(m.count);
    for (int i = 0; i < count; ++i) {
        data[i].Copy(m.data[i]);
    }
}

void RangeMulti::Remove(int i, int j) {
    if (j >= i) {
        RemoveAt(i, j - i + 1);
    }
}

void RangeMulti::SetAt(int i, const RangeMulti& m) {
    Splice(i, 1, m);
}

void RangeMulti::InsertAfter(int i, const RangeMulti& m) {
    Splice(i + 1, 0, m);
}

void RangeMulti::Splice(int at, int replaced, const RangeMulti& m) {
    if (&m == this) {
        Splice(at, replaced, RangeMulti(m));
        return;
    }
    if (m.count == 0) {
        return;
    }
    const int end = count;
    const int by = m.count - replaced;
    SetCount(count + by);
    ShiftUp(at + replaced, end, by);
    std::copy(m.data, m.data + m.count, data + at);
}

// ---- Union and intersection

void RangeMulti::Add(const Range& r) {
    if (r.IsEmpty()) {
        return;
    }
    const Range add(r); // r may be one of the elements that move
    const int j = FindFirstOnLeft(add.lo);
    int k = std::max(j, 0);
    while (k < count && data[k].IsEmptyIntersection(add)) {
        ++k;
    }
    if (k == count) {
        InsertAt(j + 1, add);
        return;
    }
    int l = count - 1;
    while (data[l].IsEmptyIntersection(add)) {
        --l;
    }
    data[k].Unite(add);
    if (l > k) {
        data[l].Unite(add);
        data[k].Unite(data[l]);
        RemoveAt(k + 1, l - k);
    }
}

void RangeMulti::Unite(const RangeMulti& m) {
    if (&m == this) {
        Unite(RangeMulti(m));
        return;
    }
    for (int i = 0; i < m.count; ++i) {
        Add(m.data[i]);
    }
}

bool RangeMulti::Intersect(const Range& r) {
    const Range cut(r);
    bool met = false;
    for (int i = 0; i < count; ++i) {
        met = data[i].Intersect(cut) || met;
    }
    return met;
}

void RangeMulti::Intersect(const RangeMulti& m) {
    if (m.count == 0) {
        count = 0;
        return;
    }
    RangeMulti result(count);
    int pos = 0;
    for (int i = 0; i < count; ++i) {
        RangeMulti t(m);
        t.Intersect(data[i]);
        result.SetAt(pos, t);
        pos += m.count;
    }
    Copy(result);
}

void RangeMulti::IntersectS1(const RangeS1& s1, const RangeS1& s2) {
    SetSize(2);
    count = 1;
    startAngle(data[0]);
    if (s1 >= s2) {
        data[0].Copy(s2);
        return;
    }
    if (s2 >= s1) {
        data[0].Copy(s1);
        return;
    }
    // Counterclockwise start and end of each arc.
    const double s = s1.external ? s1.hi : s1.lo;
    const double e = s1.external ? s1.lo : s1.hi;
    const double p = s2.external ? s2.hi : s2.lo;
    const double q = s2.external ? s2.lo : s2.hi;
    const bool hasLo = s1.In(s2.lo);
    const bool hasHi = s1.In(s2.hi);
    if (!hasLo && !hasHi) {
        count = 0;
        return;
    }
    // The piece through s2.lo first. Each piece runs from s2's start to s1's end when that
    // start lies in s1, else from s1's start to s2's end.
    const bool startFirst = hasLo != s2.external;
    if (startFirst) {
        data[0].Set(p, e);
    } else {
        data[0].Set(s, q);
    }
    if (hasLo && hasHi) {
        startAngle(data[1]);
        if (startFirst) {
            data[1].Set(s, q);
        } else {
            data[1].Set(p, e);
        }
        count = 2;
    }
}

} // namespace plinth
