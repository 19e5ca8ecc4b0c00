#pragma once

#include "plinth/circle/range_s1.h"
#include "plinth/containers/cyclic_walk.h"
#include "plinth/platform/export.h"
#include "plinth/platform/plex.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/types.h"
#include "plinth/range/range_pos.h"

namespace plinth {

/// A list of T pointers with positional, cyclic and ownership-aware operations.
///
/// The list stores pointers and owns nothing by itself. Only Delete, DeleteElement, DeleteAll
/// and Clear delete elements (through their virtual destructor); Remove, RemoveCyclic,
/// MoveCyclic, SetEmpty and the moves never do, and neither does destroying the list, so an
/// owner calls Clear or DeleteAll first.
///
/// A position is a node handle and stays valid until its own node is removed. Cyclic walks go
/// on from the tail to the head (backward, from the head to the tail). A null position where a
/// node is required raises CInvalidArgException. Ranges "from .. to" include both ends.
///
/// The member definitions are compiled into the library for T = RangeS1.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
template <class T>
class RtPtrListBase2 : public CPtrList {
public:
    RtPtrListBase2()
        : CPtrList(10) {}

    /// Deletes p; null is ignored.
    virtual void DeleteElement(T* p) { delete p; }
    virtual T* GetAtVirt(POSITION p) { return GetAt(p); }

    // ---- Adding

    /// Adds at the head or the tail; returns the new node's position.
    POSITION Add(T* p, bool toHead) { return toHead ? AddHead(p) : AddTail(p); }
    /// As Add, but adds nothing and returns null when unique is set and p is already listed.
    POSITION AddEx(T* p, bool toHead, bool unique);
    /// Appends every pointer of src (which may be this list).
    void AppendPtrList(CPtrList& src) { AddTail(&src); }
    /// Removes all nodes (elements not deleted), then appends src's pointers.
    void CopyPtrList(CPtrList& src);
    /// Appends src's elements from `from` (null: src's head) to `to` (null: src's tail),
    /// stopping at src's end; with reverse, walking back from `to` to `from`.
    void Copy(const RtPtrListBase2& src, bool reverse, POSITION from, POSITION to);
    /// Appends src's elements from `from` to `to`, wrapping from src's tail to its head (one
    /// round at most); a null `from` appends nothing.
    void CopyCyclic(const RtPtrListBase2& src, POSITION from, POSITION to);
    /// CopyCyclic, then src.RemoveCyclic. Within one list the run moves to the tail.
    void MoveCyclic(RtPtrListBase2& src, POSITION from, POSITION to);
    /// Inserts src's elements in their order right after pos (after set) or right before it;
    /// src is unchanged. A null src inserts nothing.
    void InsertList(POSITION pos, bool after, const RtPtrListBase2* src);

    // ---- Removing nodes; elements are not deleted

    /// From `from` to `to` with wrap-around; everything when `to` is not met. Null from: none.
    void RemoveCyclic(POSITION from, POSITION to) { Cut(from, to, true, false); }
    /// From `from` (null: the head) to `to`, or to the tail when `to` is not met.
    void Remove(POSITION from, POSITION to) { Cut(from, to, false, false); }
    /// Removes the first node holding p; returns its former position, or null.
    POSITION Remove(T* p);
    /// Forgets every node and storage block without freeing anything: for a list whose
    /// storage now belongs to another one.
    void SetEmpty() noexcept;

    // ---- Deleting elements with their nodes

    /// As Remove (cyclic: as RemoveCyclic), each element deleted before its node goes.
    void Delete(POSITION from, POSITION to, bool cyclic) { Cut(from, to, cyclic, true); }
    void DeleteAll() { Delete(GetHeadPosition(), nullptr, false); }
    /// Deletes every element, then frees all nodes.
    void Clear();

    // ---- Moving nodes; positions stay valid

    /// Frees this list's nodes (elements not deleted) and takes over other's nodes, count,
    /// free list, blocks and block size; other becomes empty.
    void MoveAttributes(RtPtrListBase2& other);
    /// Links other's nodes after this list's tail and takes over its storage; other becomes
    /// empty. A null or empty other changes nothing.
    void Extend(RtPtrListBase2* other);
    void Reverse() noexcept;
    /// Moves the run first .. last (null: the tail) to the head. Nothing when first is null or
    /// the head, or when last does not follow first.
    void MoveToHead(POSITION first, POSITION last);
    /// Moves the run first (null: the head) .. last to the tail. Nothing when the list is
    /// empty, last is the tail, or last does not follow first.
    void MoveToTail(POSITION first, POSITION last);

    // ---- Reading; the list must not be empty where an element is required

    T* GetHead() const { return static_cast<T*>(CPtrList::GetHead()); }
    T* GetTail() const { return static_cast<T*>(CPtrList::GetTail()); }
    /// The tail (or head) element; null for an empty list.
    T* GetEnd(bool tail) const { return IsEmpty() ? nullptr : tail ? GetTail() : GetHead(); }
    /// The head position when the flag is set, else the tail position.
    POSITION GetStartPosition(bool head) const {
        return head ? GetHeadPosition() : GetTailPosition();
    }
    POSITION GetEndPosition(bool head) const { return GetStartPosition(head); }
    T* GetAt(POSITION p) const { return static_cast<T*>(CPtrList::GetAt(p)); }
    /// The element at index i; null outside the list.
    T* GetAtIndex(int i) const;

    /// The element at pos; pos moves to the next (previous) node, null past the end.
    T* GetNext(POSITION& pos) const { return static_cast<T*>(CPtrList::GetNext(pos)); }
    T* GetPrev(POSITION& pos) const { return static_cast<T*>(CPtrList::GetPrev(pos)); }
    T* Next(POSITION& pos, bool forward) const { return forward ? GetNext(pos) : GetPrev(pos); }
    T* Next(POSITION& pos, bool forward, bool cyclic) const {
        return cyclic ? GetNextCyclic(pos, forward) : Next(pos, forward);
    }
    /// The element at pos; pos moves on with wrap-around. A null pos gives null and stays.
    T* GetNextCyclic(POSITION& pos) const { return GetNextCyclic(pos, true); }
    /// The element at pos; pos moves back with wrap-around.
    T* GetPrevCyclic(POSITION& pos) const { return GetNextCyclic(pos, false); }
    T* GetNextCyclic(POSITION& pos, bool forward) const {
        return static_cast<T*>(WalkCyclic(*this, pos, forward));
    }

    /// Head to tail, each element as T* (see PositionIterator); no wrap-around.
    using const_iterator = PositionIterator<const RtPtrListBase2>;
    using iterator = const_iterator;
    const_iterator begin() const noexcept { return {this, GetHeadPosition()}; }
    const_iterator end() const noexcept { return {this, nullptr}; }

    // ---- Positions and indexes

    /// i nodes forward from start (null: the head); null past the end or for a negative i.
    POSITION IndexToPosition(int i, POSITION start) const;
    /// The index of p from the head; -1 when p is not a node of this list.
    int PositionToIndex(POSITION p) const;
    /// The index of the first node holding p; -1 when there is none.
    int FindIndex(T* p) const;
    int GetIndex(T* p) const { return FindIndex(p); }
    /// The first node holding p, searched from the head (the position argument is not used);
    /// *index receives its index, 0xFFFFFFFF when there is none.
    POSITION FindItem(T* p, POSITION, unsigned int* index) const;
    /// The node holding p, walking once around from start (null: the head).
    POSITION FindCyclic(T* p, POSITION start) const;

    // ---- Tests

    /// p is one of this list's nodes.
    bool IsValidPosn(POSITION p) const;
    /// Empty, or a head with a non-null element whose links agree with the count.
    bool IsValidList() const { return IsValidPtrList(*this); }
    /// Both set and q right after p (no wrap-around).
    bool IsNeighbourPosns(POSITION p, POSITION q) const;
    /// p differs from q and q lies forward of p (no wrap-around).
    bool IsBefore(POSITION p, POSITION q) const;

    // ---- Counting

    /// The nodes from `from` to `to` with wrap-around; 0 for a null from, the count when `to`
    /// is not met.
    int Count(POSITION from, POSITION to) const { return CountCyclic(*this, from, to); }
    /// From `from` (null: head) up to but not including `to` (null: tail), or to the end.
    int GetItemCount(POSITION from, POSITION to) const;
    /// From `from` (null: head) through `to` (null: tail), or to the end.
    int GetRangeCount(POSITION from, POSITION to) const;

    // ---- Contents

    /// The first two nodes holding one pointer, the earlier in out.first; false when none.
    bool FindDuplicates(RangePos& out) const;
    bool CheckDuplicates() const;
    /// Equal counts, and every element of this list is in other.
    bool IsSameContents(const RtPtrListBase2& other) const;
    /// The earliest storage block (the end of the block chain); null before the first node.
    CPlex* GetFirstBlock() const noexcept;

private:
    /// Removes from `from` to `to` (see Remove and RemoveCyclic), deleting the elements when
    /// destroy is set.
    void Cut(POSITION from, POSITION to, bool cyclic, bool destroy);
    /// Takes the run a .. b out of the chain and links it back in after prev (null: at the
    /// head); prev must not be in the run.
    void SpliceAfter(CLink* a, CLink* b, CLink* prev) noexcept;
    /// a = b, or b lies forward of a.
    bool IsRun(POSITION a, POSITION b) const { return a == b || IsBefore(a, b); }
};

extern template class PLINTH_API RtPtrListBase2<RangeS1>;

} // namespace plinth
