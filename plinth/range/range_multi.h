#pragma once

#include "plinth/circle/range_s1.h"
#include "plinth/platform/export.h"
#include "plinth/range/range.h"

namespace plinth {

class CArchive;

/// The library's simple value array; only the Range instantiation exists.
template <class T>
class CAISimpArr;

/// A value array of Range with an explicit capacity and grow step.
///
/// The block holds `capacity` constructed elements (default Range values, full lines, when
/// new); the first `count` are in use (0 <= count <= capacity) and the others keep whatever
/// value they last had. Elements move and are copied by Range assignment. Indices are not
/// checked: callers pass indices in [0, count) (any non-negative index for SetAtGrow).
///
/// Ownership: the array owns its block (allocated with AfxNewArray<Range>). Copy construction
/// and assignment copy the whole block (all `capacity` elements, the count and the grow step),
/// so two arrays never share storage and each stays usable after the other is gone. Attach and
/// Detach are the way to hand a block over. Operations that take another array or an element
/// accept one of this array's own.
///
/// Merge and IsIncreasing compare elements with Range's own <= and <, which test inclusion
/// (one range lies within the other), not the order of the ends.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
template <>
class PLINTH_API CAISimpArr<Range> {
public:
    Range* data = nullptr;
    int capacity = 0;
    int count = 0;
    int growBy = 3;

    // ---- Storage

    CAISimpArr() noexcept = default;
    CAISimpArr(const CAISimpArr& s);
    CAISimpArr& operator=(const CAISimpArr& s);
    ~CAISimpArr();

    /// A fresh block of n default elements when n exceeds the capacity (the old elements are
    /// lost); the count stays.
    void SetSize(int n);
    /// Grows the block to n elements keeping the old ones; the count stays.
    void SetSizeGrow(int n);
    /// SetSize(n), then room for m elements, and count m.
    void SetSize(int n, int m);
    /// Grows as needed; count n.
    void SetCount(int n);
    /// SetSize(n), except that a block already large enough records capacity n.
    void Create(int n);
    /// A fresh block of `capacity` default elements in place of the old one.
    void Create();
    /// Takes p, a block of n elements from AfxNewArray<Range>(n), as this array's own; the
    /// block held before is freed.
    void Attach(Range* p, int n);
    /// Lets go of the block without freeing it: data, capacity and count become 0.
    void Detach() noexcept;
    /// Frees this array's block; a (the caller's copy) is left alone, i and j are not used.
    void GetSubArray(CAISimpArr a, int i, int j);

    // ---- Access

    Range* GetData() noexcept { return data; }
    Range& operator[](int i) { return data[i]; }
    const Range& operator[](int i) const { return data[i]; }
    Range& Elem(int i) { return data[i]; }
    Range& GetAt(int i) { return data[i]; }
    Range operator()(int i) const { return data[i]; }
    Range& GetLast() { return data[count - 1]; }
    /// The last element too; the argument is not used.
    Range* GetRefAt(int) { return &data[count - 1]; }
    int GetCount() const noexcept { return count; }
    int GetSize() const noexcept { return count; }
    /// The elements in use, as pointers into the block; any change of the block or the count
    /// invalidates them.
    Range* begin() noexcept { return data; }
    Range* end() noexcept { return data + count; }
    const Range* begin() const noexcept { return data; }
    const Range* end() const noexcept { return data + count; }
    bool IsEmpty() const noexcept { return count == 0; }
    /// The first index whose element equals *r within EPS; -1 when none.
    int Find(const Range* r) const;

    // ---- Editing

    /// One element more, returned (it keeps the value the block held there).
    Range* Add();
    void Add(Range r);
    /// Moves elements i .. count - 1 up by one and stores r at i.
    void InsertAt(int i, const Range& r);
    /// Past the capacity, grows to the smallest multiple of growBy (5 when below 1) above i;
    /// count covers i.
    void SetAtGrow(int i, const Range& r);
    /// Removes n elements from i on; nothing for n <= 0.
    void RemoveAt(int i, int n);
    /// count elements of src, in order; a block too small is replaced by one of src's count.
    void Copy(const CAISimpArr& src);
    /// src's elements from `from` on into positions dst, dst + 1, ..., growing first; the
    /// count grows to cover them.
    void Copy(const CAISimpArr& src, int dst, int from);
    /// src[i .. j] into positions 0 .. j - i, reversed when `reverse`; count j - i + 1.
    void CopySubArr(const CAISimpArr& src, int i, int j, bool reverse);

    // ---- Order

    /// No element is strictly included in its predecessor (Range::operator<).
    bool IsIncreasing() const;
    /// The merge of a and b by inclusion (Range::operator<=): an element of b is dropped when
    /// an element of a that goes before it starts within EPS of it. Returns the count.
    int Merge(const CAISimpArr& a, const CAISimpArr& b);

    /// Capacity then count as two little-endian 32-bit integers; the elements are not stored.
    /// Loading makes room for both and keeps the elements' values; a negative value, or one
    /// above 2^20 (the archive holds no elements that could bound it), raises
    /// CArchiveException(badIndex) before anything is allocated and leaves the array as it was.
    void Serialize(CArchive& ar);

protected:
    /// Moves elements from .. end - 1 up by `by`, the top first; the room must be there.
    void ShiftUp(int from, int end, int by);
};

/// A union of Range values, real or angular, in a simple array: adding with merging,
/// intersecting with a range or another multi-range, and the intersection of two arcs.
///
/// Storage, ownership and copies follow CAISimpArr<Range>: a copy owns a block of its own.
/// Intersections keep the pairs that do not meet as invalid intervals in place.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RangeMulti : public CAISimpArr<Range> {
public:
    RangeMulti() = default;
    /// n default elements (full lines).
    explicit RangeMulti(int n);
    RangeMulti(const RangeMulti&) = default;
    RangeMulti& operator=(const RangeMulti&) = default;
    virtual ~RangeMulti() = default;

    // ---- State

    /// One full element (of the element's own type), making room when there is none.
    virtual void SetFull();
    /// One element, set to the full angle through its Set.
    void SetFullAngle();
    void SetEmpty() noexcept { count = 0; }
    /// No element, or only empty ones.
    bool IsEmpty() const;
    /// No element starts more than EPS before its predecessor ends.
    bool IsValid() const;

    // ---- Lookup

    /// From the last element down, the first whose lo < x + EPS; -1 when none.
    int FindFirstOnLeft(double x) const;
    /// The first element that contains x; -1 when none.
    int FindRange(double x) const;

    // ---- Editing

    /// Element i's Set.
    void Set(int i, double a, double b) { data[i].Set(a, b); }
    using CAISimpArr<Range>::SetAtGrow;
    void SetAtGrow(int i, double a, double b) { SetAtGrow(i, Range(a, b)); }
    /// The elements of m, in order.
    void Copy(const RangeMulti& m);
    /// Removes elements i .. j (nothing when j < i).
    void Remove(int i, int j);
    /// Replaces element i by all of m's elements; nothing when m is empty.
    void SetAt(int i, const RangeMulti& m);
    /// Inserts m's elements after element i; nothing when m is empty.
    void InsertAfter(int i, const RangeMulti& m);

    // ---- Union and intersection

    /// Merges r into the elements it meets (ends within EPS meet) or inserts it in order;
    /// nothing for an empty r.
    void Add(const Range& r);
    /// Adds each of m's elements in order.
    void Unite(const RangeMulti& m);
    /// Intersects every element with r; those that do not meet r become invalid intervals
    /// and stay. True when some intersection is not empty.
    bool Intersect(const Range& r);
    /// The pairwise intersections, ordered by this multi-range's elements then m's; empty
    /// when m is empty.
    void Intersect(const RangeMulti& m);
    /// The intersection of two arcs as counterclockwise angular ranges in radians: none, one,
    /// or two when s2 leaves s1 and comes back. When one arc contains the other, the one
    /// element is a copy of the contained arc with its direction. The elements used start
    /// afresh, so a reused multi-range gives what a new one gives.
    void IntersectS1(const RangeS1& s1, const RangeS1& s2);

private:
    /// m's elements in place of `replaced` elements from `at` on; nothing when m is empty.
    void Splice(int at, int replaced, const RangeMulti& m);
};

} // namespace plinth
