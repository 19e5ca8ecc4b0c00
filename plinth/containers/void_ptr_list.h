#pragma once

#include "plinth/containers/cyclic_walk.h"
#include "plinth/containers/list_interfaces.h"
#include "plinth/frame/nested_interface.h"
#include "plinth/platform/export.h"
#include "plinth/platform/object.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/types.h"

namespace plinth {

/// A list of untyped pointers that walks cyclically (from the tail on to the head and back),
/// removes and copies ranges of nodes, and offers IList and IIterator.
///
/// The list owns no element: on destruction it calls the delete callback, if any, for each
/// element. The interfaces have a count of their own, 0 at first; the Release that brings it
/// back to 0 deletes the list, so a list handed out through its interfaces must be made with
/// new. When the elements are interfaces (stored as IUnknown pointers), IList adds a reference
/// to each one it hands out; the list itself never releases them.
///
/// Reading or moving a null position raises CInvalidArgException, except where a forward
/// cyclic walk says otherwise.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RtVoidPtrList : public CPtrList {
public:
    using DeleteFn = void (*)(void*);

    /// IIterator over the list.
    class PLINTH_API XIterator : public NestedIterator<RtVoidPtrList> {
    public:
        using NestedIterator::NestedIterator;
    };

    /// IList over the list.
    class PLINTH_API XList : public NestedList<RtVoidPtrList> {
    public:
        using NestedList::NestedList;
    };

    explicit RtVoidPtrList(bool interfaces = false, DeleteFn deleteFn = nullptr);
    ~RtVoidPtrList() override;

    void SetInterfaces(bool interfaces) noexcept { m_bInterfaces = interfaces; }

    /// The interfaces' count.
    ULONG AddRef() noexcept { return ++m_nRef; }
    ULONG Release();
    /// DISP_E_PARAMNOTOPTIONAL for a null ppv; IList and IIterator; nothing else, not even
    /// IUnknown.
    HRESULT QueryInterface(REFIID iid, void** ppv);

    /// The data at pos, as the framework's object pointer.
    virtual CObject* GetAtVirt(POSITION pos) const;

    /// What the nested interfaces walk and hand out: this list and its elements.
    const CPtrList* IteratedList() const noexcept { return this; }
    bool HandsOutInterfaces() const noexcept { return m_bInterfaces; }

    /// The head position, or the tail position.
    POSITION GetStartPosition(bool head) const noexcept {
        return head ? GetHeadPosition() : GetTailPosition();
    }
    /// The data at pos; pos moves to the next (or previous) node, null past the end.
    void* Next(POSITION& pos, bool forward) const { return forward ? GetNext(pos) : GetPrev(pos); }
    void* Next(POSITION& pos, bool forward, bool cyclic) const {
        return cyclic ? WalkCyclic(*this, pos, forward) : Next(pos, forward);
    }
    /// The data at pos; pos moves to the next node, from the tail to the head. A null pos gives
    /// null and stays.
    const void* GetNextCyclic(POSITION& pos) const { return WalkCyclic(*this, pos, true); }
    const void* GetNextCyclic(POSITION& pos, bool forward) const {
        return WalkCyclic(*this, pos, forward);
    }
    /// The data at pos; pos moves to the previous node, from the head to the tail.
    void* GetPrevCyclic(POSITION& pos) const { return WalkCyclic(*this, pos, false); }

    /// b is the node right after a (no wrap-around); false when either is null.
    bool IsNeighbourPosns(POSITION a, POSITION b) const { return IsNeighbourNode(*this, a, b); }
    /// Empty, or a head with non-null data whose links agree with the count.
    bool IsValidList() const { return IsValidPtrList(*this); }

    /// The nodes from `from` to `to` inclusive, walking forward with wrap-around; 0 for a null
    /// `from`. When `to` is never met the walk stops after one round (the whole count).
    int Count(POSITION from, POSITION to) const { return CountCyclic(*this, from, to); }
    /// Removes from `from` forward up to and including `to`, or to the tail when `to` is not
    /// met first.
    void Remove(POSITION from, POSITION to) { RemoveForward(*this, from, to); }
    /// Removes from `from` to `to` inclusive with wrap-around (everything when `to` is not met).
    void RemoveCyclic(POSITION from, POSITION to) { RemoveCyclicRange(*this, from, to); }
    /// Appends the data of source's nodes from `from` to `to` inclusive, with wrap-around in
    /// source (which may be this list).
    void CopyCyclic(const RtVoidPtrList& source, POSITION from, POSITION to) {
        AppendCyclicRange(*this, source, from, to);
    }

    /// The first two nodes with equal data, the earlier one first, into pair (which may be
    /// null); false when all data differ or the list is null.
    static bool FindDuplicates(const CPtrList* list, POSITION* pair);
    /// No two nodes hold equal data.
    static bool CheckDuplicates(const CPtrList* list) { return !FindDuplicates(list, nullptr); }

private:
    XIterator m_xIterator{this};
    XList m_xList{this};
    ULONG m_nRef = 0;
    DeleteFn m_pfnDelete;
    bool m_bInterfaces;
};

/// The index of pos counted from the head of list; -1 when pos is not one of its nodes.
PLINTH_API int glcPosnToIndexNoType(const CPtrList* list, POSITION pos);

} // namespace plinth
