#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/iterators.h"
#include "plinth/platform/object.h"
#include "plinth/platform/plex.h"
#include "plinth/platform/throw.h"
#include "plinth/platform/types.h"

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace plinth {

/// The storage shared by the framework's lists: doubly linked nodes allocated in blocks of
/// the block size and recycled through a free list. A position is the address of its node,
/// so it stays valid until that node is removed. The element follows the links in each node;
/// the derived lists construct and destroy it.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CListBase : public CObject {
public:
    CListBase(const CListBase&) = delete;
    CListBase& operator=(const CListBase&) = delete;

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    POSITION GetHeadPosition() const noexcept { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const noexcept { return ToPosition(m_pNodeTail); }

    /// The position nIndex nodes after the head; null outside 0 .. count-1.
    POSITION FindIndex(INT_PTR nIndex) const noexcept;

protected:
    /// The links of a node, without its element.
    struct CLink {
        CLink* pNext;
        CLink* pPrev;
    };

    /// nBlockSize below 1 raises CInvalidArgException.
    explicit CListBase(INT_PTR nBlockSize);
    /// Frees the blocks; a derived list has destroyed its elements before.
    ~CListBase() override;

    /// Storage for one node of cbNode bytes, from the free list (a new block refills it).
    void* AllocNode(std::size_t cbNode) {
        if (m_pNodeFree == nullptr) {
            Refill(cbNode);
        }
        CLink* node = m_pNodeFree;
        m_pNodeFree = node->pNext;
        return node;
    }
    /// Gives storage back to the free list.
    void ReleaseNode(void* node) noexcept {
        m_pNodeFree = ::new (node) CLink{m_pNodeFree, nullptr};
    }
    /// Links a node between two neighbours, either of which may be null (an end).
    void LinkNode(CLink* node, CLink* prev, CLink* next) noexcept {
        node->pPrev = prev;
        node->pNext = next;
        (prev != nullptr ? prev->pNext : m_pNodeHead) = node;
        (next != nullptr ? next->pPrev : m_pNodeTail) = node;
        ++m_nCount;
    }
    /// Takes a node out of the chain; its storage is still the caller's.
    void UnlinkNode(CLink* node) noexcept {
        (node->pPrev != nullptr ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
        (node->pNext != nullptr ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
        --m_nCount;
    }
    /// Forgets every node and frees the blocks, the elements having been destroyed.
    void FreeNodes() noexcept;

    /// The node at a position; a null position raises CInvalidArgException.
    static CLink* ToLink(POSITION pos) {
        if (pos == nullptr) {
            AfxThrowInvalidArgException();
        }
        return reinterpret_cast<CLink*>(pos);
    }
    static POSITION ToPosition(CLink* link) noexcept { return reinterpret_cast<POSITION>(link); }

    CLink* m_pNodeHead = nullptr;
    CLink* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    CLink* m_pNodeFree = nullptr;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;

private:
    /// Puts a new block of nodes of cbNode bytes on the free list.
    void Refill(std::size_t cbNode);
};

/// A list of values: elements are constructed when added and destroyed when removed.
/// Operations that need an element (an empty list's head, a null position) raise
/// CInvalidArgException. A position is not checked for belonging to this list.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CListBase {
public:
    explicit CList(INT_PTR nBlockSize = 10)
        : CListBase(nBlockSize) {}
    ~CList() override { RemoveAll(); }

    TYPE& GetHead() { return NodeAt(GetHeadPosition())->data; }
    const TYPE& GetHead() const { return NodeAt(GetHeadPosition())->data; }
    TYPE& GetTail() { return NodeAt(GetTailPosition())->data; }
    const TYPE& GetTail() const { return NodeAt(GetTailPosition())->data; }

    TYPE RemoveHead() { return Take(NodeAt(GetHeadPosition())); }
    TYPE RemoveTail() { return Take(NodeAt(GetTailPosition())); }

    POSITION AddHead(ARG_TYPE newElement) { return Insert(nullptr, m_pNodeHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return Insert(m_pNodeTail, nullptr, newElement); }

    /// Adds the elements of another list (or of this one) in their order.
    void AddHead(CList* pNewList) {
        CLink* link = Source(pNewList)->m_pNodeTail;
        for (INT_PTR n = pNewList->m_nCount; n > 0; --n, link = link->pPrev) {
            AddHead(static_cast<const CNode*>(link)->data);
        }
    }
    void AddTail(CList* pNewList) {
        CLink* link = Source(pNewList)->m_pNodeHead;
        for (INT_PTR n = pNewList->m_nCount; n > 0; --n, link = link->pNext) {
            AddTail(static_cast<const CNode*>(link)->data);
        }
    }

    void RemoveAll() noexcept {
        if constexpr (!std::is_trivially_destructible_v<TYPE>) {
            for (CLink* link = m_pNodeHead; link != nullptr;) {
                CNode* node = static_cast<CNode*>(link);
                link = link->pNext;
                node->~CNode();
            }
        }
        FreeNodes();
    }

    /// The element at rPosition; rPosition moves to the next (previous) node, null past the end.
    TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, &CLink::pNext)->data; }
    const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, &CLink::pNext)->data; }
    TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, &CLink::pPrev)->data; }
    const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, &CLink::pPrev)->data; }

    TYPE& GetAt(POSITION position) { return NodeAt(position)->data; }
    const TYPE& GetAt(POSITION position) const { return NodeAt(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { NodeAt(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Destroy(NodeAt(position)); }

    /// A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        if (position == nullptr) {
            return AddHead(newElement);
        }
        CLink* link = ToLink(position);
        return Insert(link->pPrev, link, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        if (position == nullptr) {
            return AddTail(newElement);
        }
        CLink* link = ToLink(position);
        return Insert(link, link->pNext, newElement);
    }

    /// Head to tail, by reference (see PositionIterator): an iterator stays valid until its
    /// own node is removed.
    using iterator = PositionIterator<CList>;
    using const_iterator = PositionIterator<const CList>;
    iterator begin() noexcept { return {this, GetHeadPosition()}; }
    iterator end() noexcept { return {this, nullptr}; }
    const_iterator begin() const noexcept { return {this, GetHeadPosition()}; }
    const_iterator end() const noexcept { return {this, nullptr}; }

    /// The first node after startAfter (from the head when null) whose element equals
    /// searchValue; null when there is none.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        CLink* link = startAfter == nullptr ? m_pNodeHead : ToLink(startAfter)->pNext;
        for (; link != nullptr; link = link->pNext) {
            if (static_cast<const CNode*>(link)->data == searchValue) {
                return ToPosition(link);
            }
        }
        return nullptr;
    }

protected:
    /// A node: its links and its element.
    struct CNode : CLink {
        explicit CNode(ARG_TYPE value)
            : CLink{nullptr, nullptr}
            , data(value) {}
        TYPE data;
    };
    static_assert(alignof(CNode) <= alignof(std::max_align_t), "over-aligned list element");

    static CNode* NodeAt(POSITION pos) { return static_cast<CNode*>(ToLink(pos)); }

private:
    static CList* Source(CList* list) {
        if (list == nullptr) {
            AfxThrowInvalidArgException();
        }
        return list;
    }

    static CNode* Step(POSITION& rPosition, CLink* CLink::*link) {
        CNode* node = NodeAt(rPosition);
        rPosition = ToPosition(node->*link);
        return node;
    }

    POSITION Insert(CLink* prev, CLink* next, ARG_TYPE value) {
        void* storage = AllocNode(sizeof(CNode));
        CNode* node;
        try {
            node = ::new (storage) CNode(value);
        } catch (...) {
            ReleaseNode(storage);
            throw;
        }
        LinkNode(node, prev, next);
        return ToPosition(node);
    }

    void Destroy(CNode* node) noexcept {
        UnlinkNode(node);
        node->~CNode();
        ReleaseNode(node);
    }

    TYPE Take(CNode* node) {
        TYPE value(std::move(node->data));
        Destroy(node);
        return value;
    }
};

} // namespace plinth
