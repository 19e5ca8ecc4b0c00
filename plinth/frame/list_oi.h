#pragma once

#include "plinth/containers/list_interfaces.h"
#include "plinth/frame/nested_interface.h"
#include "plinth/frame/ref_obj.h"
#include "plinth/platform/export.h"
#include "plinth/platform/object.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/types.h"
#include "plinth/platform/unknown.h"

namespace plinth {

/// IList and IIterator over an object list, which the adapter either wraps (the caller's) or
/// made itself and owns. An optional accessor turns a position into the element handed out.
///
/// Counting: the CRefObj count, but 0 after every constructor, copies included; the Release
/// that brings it back to 0 deletes the adapter unless it is marked by value, so one made on
/// the stack or as a member calls SetByVal() before handing out interfaces. The adapter
/// itself answers IList and IIterator only (its nested objects also answer IUnknown); any
/// other identifier goes to the attached owner, on which the adapter holds one reference,
/// given back by the destructor; without an owner, E_NOINTERFACE.
///
/// The list owns no element; when the elements are interfaces, IList adds a reference to each
/// one it hands out and the adapter never releases them. Without a list, positions are null,
/// walks give null and leave the position alone, counts are 0, changes do nothing and the
/// interfaces give E_UNEXPECTED. With one, reading or moving a null position raises
/// CInvalidArgException, except where a forward cyclic walk says otherwise.
///
/// Copying keeps every count: the copy starts at count 0 and takes a reference of its own on
/// the owner; a copy of an adapter that owns its list gets a list of its own holding the same
/// elements, so each adapter frees only its list and neither points at memory the other
/// frees. A copy of a wrapping adapter wraps the same list.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API ListOI : public CRefObj {
public:
    using GetAtFn = void* (*)(void* list, POSITION pos);

    /// IIterator over the wrapped list.
    class PLINTH_API XIterator : public NestedIterator<ListOI> {
    public:
        using NestedIterator::NestedIterator;
    };

    /// IList over the wrapped list.
    class PLINTH_API XList : public NestedList<ListOI> {
    public:
        using NestedList::NestedList;
    };

    // ---- Construction

    /// No list, no accessor, no owner.
    ListOI() noexcept;
    explicit ListOI(bool interfaces) noexcept;
    /// With ownList, a list of the adapter's own (block size 10).
    ListOI(bool interfaces, bool ownList);
    /// Wraps the caller's list, handing out getAt(list, pos) when getAt is set.
    ListOI(CObList* list, GetAtFn getAt, bool interfaces) noexcept;
    ListOI(const ListOI& other);
    ~ListOI() override;

    /// Count 0 and every field cleared, freeing nothing (an owned list and the owner's
    /// reference become the caller's affair); the by-value flag stays.
    void Construct() noexcept;
    /// Takes a reference on owner (when not null) and sends unknown queries there. A previous
    /// owner keeps the reference taken on it: its holder gives it back.
    void AttachOwner(IUnknown* owner);
    /// Appends data to the list.
    void AddTail(void* data);

    // ---- Interfaces

    /// DISP_E_PARAMNOTOPTIONAL for a null ppv; IList, IIterator; else the owner's answer.
    HRESULT QueryInterface(REFIID iid, void** ppv) override;
    /// The accessor's element at pos, or else the list's data there (null without a list).
    virtual CObject* GetAtVirt(POSITION pos) const;

    /// What the nested interfaces walk and hand out.
    const CObList* IteratedList() const noexcept { return m_pList; }
    bool HandsOutInterfaces() const noexcept { return m_bInterfaces; }
    CObList* GetList() const noexcept { return m_pList; }
    bool OwnsList() const noexcept { return m_bOwnList; }

    // ---- Walks (as RtVoidPtrList's)

    /// The head position, or the tail position.
    POSITION GetStartPosition(bool head) const noexcept;
    /// Empty, or a head with non-null data whose links agree with the count.
    bool IsValidList() const;
    /// The data at pos; pos moves to the next (or previous) node, null past the end.
    void* Next(POSITION& pos, bool forward) const;
    void* Next(POSITION& pos, bool forward, bool cyclic) const;
    /// The data at pos; pos moves to the next node, from the tail to the head. A null pos gives
    /// null and stays.
    const void* GetNextCyclic(POSITION& pos) const { return Walk(pos, true); }
    const void* GetNextCyclic(POSITION& pos, bool forward) const { return Walk(pos, forward); }
    /// The data at pos; pos moves to the previous node, from the head to the tail.
    void* GetPrevCyclic(POSITION& pos) const { return Walk(pos, false); }
    /// b is the node right after a (no wrap-around); false when either is null.
    bool IsNeighbourPosns(POSITION a, POSITION b) const;

    // ---- Ranges of nodes (as RtVoidPtrList's)

    /// The nodes from `from` to `to` inclusive, walking forward with wrap-around.
    int Count(POSITION from, POSITION to) const;
    /// Removes from `from` forward up to and including `to`, or to the tail.
    void Remove(POSITION from, POSITION to);
    /// Removes from `from` to `to` inclusive with wrap-around.
    void RemoveCyclic(POSITION from, POSITION to);
    /// Appends the data of source's nodes from `from` to `to` inclusive, with wrap-around in
    /// source (which may be this adapter).
    void CopyCyclic(const ListOI& source, POSITION from, POSITION to);

private:
    void* Walk(POSITION& pos, bool forward) const;

    XIterator m_xIterator{this};
    XList m_xList{this};
    GetAtFn m_pfnGetAt = nullptr;
    CObList* m_pList = nullptr;
    bool m_bInterfaces = false;
    bool m_bOwnList = false;
    IUnknown* m_pOwner = nullptr;
};

} // namespace plinth
