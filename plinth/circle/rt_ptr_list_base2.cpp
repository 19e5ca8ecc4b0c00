#include "plinth/circle/rt_ptr_list_base2.h"

#include "plinth/containers/void_ptr_list.h"
#include "plinth/platform/throw.h"

#include <utility>

namespace plinth {

template <class T>
POSITION RtPtrListBase2<T>::AddEx(T* p, bool toHead, bool unique) {
    if (unique && Find(p) != nullptr) {
        return nullptr;
    }
    return Add(p, toHead);
}

template <class T>
void RtPtrListBase2<T>::CopyPtrList(CPtrList& src) {
    if (&src != this) {
        RemoveAll();
        AppendPtrList(src);
    }
}

template <class T>
void RtPtrListBase2<T>::Copy(const RtPtrListBase2& src, bool reverse, POSITION from, POSITION to) {
    const POSITION first = from != nullptr ? from : src.GetHeadPosition();
    const POSITION last = to != nullptr ? to : src.GetTailPosition();
    // src's end as it stands now: when src is this list the walk must not run into the
    // nodes it appends.
    const POSITION srcEnd = src.GetStartPosition(reverse);
    const POSITION stop = reverse ? first : last;
    for (POSITION pos = reverse ? last : first; pos != nullptr;) {
        const POSITION node = pos;
        AddTail(src.Next(pos, !reverse));
        if (node == stop || node == srcEnd) {
            break;
        }
    }
}

template <class T>
void RtPtrListBase2<T>::CopyCyclic(const RtPtrListBase2& src, POSITION from, POSITION to) {
    // Wraps at src's tail as it stands now, which appending to src itself would move.
    const POSITION srcTail = src.GetTailPosition();
    POSITION pos = from;
    for (int n = src.Count(from, to); n > 0; --n) {
        const POSITION node = pos;
        AddTail(src.GetNext(pos));
        if (node == srcTail) {
            pos = src.GetHeadPosition();
        }
    }
}

template <class T>
void RtPtrListBase2<T>::MoveCyclic(RtPtrListBase2& src, POSITION from, POSITION to) {
    if (&src == this) {
        RtPtrListBase2 run;
        run.CopyCyclic(*this, from, to);
        RemoveCyclic(from, to);
        AppendPtrList(run);
        return;
    }
    CopyCyclic(src, from, to);
    src.RemoveCyclic(from, to);
}

template <class T>
void RtPtrListBase2<T>::InsertList(POSITION pos, bool after, const RtPtrListBase2* src) {
    if (src == nullptr) {
        return;
    }
    if (pos == nullptr) {
        AfxThrowInvalidArgException();
    }
    if (src == this) {
        RtPtrListBase2 copy;
        copy.Copy(*this, false, nullptr, nullptr);
        InsertList(pos, after, &copy);
        return;
    }
    POSITION at = pos;
    for (POSITION it = src->GetHeadPosition(); it != nullptr;) {
        T* element = src->GetNext(it);
        if (after) {
            at = InsertAfter(at, element);
        } else {
            InsertBefore(pos, element);
        }
    }
}

template <class T>
POSITION RtPtrListBase2<T>::Remove(T* p) {
    const POSITION pos = Find(p);
    if (pos != nullptr) {
        RemoveAt(pos);
    }
    return pos;
}

template <class T>
void RtPtrListBase2<T>::SetEmpty() noexcept {
    m_pNodeHead = nullptr;
    m_pNodeTail = nullptr;
    m_nCount = 0;
    m_pNodeFree = nullptr;
    m_pBlocks = nullptr;
}

template <class T>
void RtPtrListBase2<T>::Clear() {
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        DeleteElement(GetNext(pos));
    }
    RemoveAll();
}

template <class T>
void RtPtrListBase2<T>::MoveAttributes(RtPtrListBase2& other) {
    if (&other == this) {
        return;
    }
    RemoveAll();
    m_pNodeHead = other.m_pNodeHead;
    m_pNodeTail = other.m_pNodeTail;
    m_nCount = other.m_nCount;
    m_pNodeFree = other.m_pNodeFree;
    m_pBlocks = other.m_pBlocks;
    m_nBlockSize = other.m_nBlockSize;
    other.SetEmpty();
}

template <class T>
void RtPtrListBase2<T>::Extend(RtPtrListBase2* other) {
    if (other == nullptr || other == this || other->IsEmpty()) {
        return;
    }
    other->m_pNodeHead->pPrev = m_pNodeTail;
    (m_pNodeTail != nullptr ? m_pNodeTail->pNext : m_pNodeHead) = other->m_pNodeHead;
    m_pNodeTail = other->m_pNodeTail;
    m_nCount += other->m_nCount;

    // other's blocks (which hold its free nodes too) join the front of this chain.
    CPlex* lastBlock = other->m_pBlocks;
    while (lastBlock->pNext != nullptr) {
        lastBlock = lastBlock->pNext;
    }
    lastBlock->pNext = m_pBlocks;
    m_pBlocks = other->m_pBlocks;
    if (other->m_pNodeFree != nullptr) {
        CLink* lastFree = other->m_pNodeFree;
        while (lastFree->pNext != nullptr) {
            lastFree = lastFree->pNext;
        }
        lastFree->pNext = m_pNodeFree;
        m_pNodeFree = other->m_pNodeFree;
    }
    other->SetEmpty();
}

template <class T>
void RtPtrListBase2<T>::Reverse() noexcept {
    for (CLink* link = m_pNodeHead; link != nullptr;) {
        CLink* next = link->pNext;
        std::swap(link->pNext, link->pPrev);
        link = next;
    }
    std::swap(m_pNodeHead, m_pNodeTail);
}

template <class T>
void RtPtrListBase2<T>::MoveToHead(POSITION first, POSITION last) {
    if (first == nullptr || IsEmpty() || first == GetHeadPosition()) {
        return;
    }
    if (last == nullptr) {
        last = GetTailPosition();
    }
    if (IsRun(first, last)) {
        SpliceAfter(ToLink(first), ToLink(last), nullptr);
    }
}

template <class T>
void RtPtrListBase2<T>::MoveToTail(POSITION first, POSITION last) {
    if (IsEmpty() || last == GetTailPosition()) {
        return;
    }
    CLink* end = ToLink(last);
    if (first == nullptr) {
        first = GetHeadPosition();
    }
    if (IsRun(first, last)) {
        SpliceAfter(ToLink(first), end, m_pNodeTail);
    }
}

template <class T>
void RtPtrListBase2<T>::SpliceAfter(CLink* a, CLink* b, CLink* prev) noexcept {
    (a->pPrev != nullptr ? a->pPrev->pNext : m_pNodeHead) = b->pNext;
    (b->pNext != nullptr ? b->pNext->pPrev : m_pNodeTail) = a->pPrev;
    CLink* next = prev != nullptr ? prev->pNext : m_pNodeHead;
    a->pPrev = prev;
    b->pNext = next;
    (prev != nullptr ? prev->pNext : m_pNodeHead) = a;
    (next != nullptr ? next->pPrev : m_pNodeTail) = b;
}

template <class T>
T* RtPtrListBase2<T>::GetAtIndex(int i) const {
    const POSITION pos = CPtrList::FindIndex(i);
    return pos != nullptr ? GetAt(pos) : nullptr;
}

template <class T>
POSITION RtPtrListBase2<T>::IndexToPosition(int i, POSITION start) const {
    if (i < 0) {
        return nullptr;
    }
    POSITION pos = start != nullptr ? start : GetHeadPosition();
    for (; i > 0 && pos != nullptr; --i) {
        GetNext(pos);
    }
    return pos;
}

template <class T>
int RtPtrListBase2<T>::PositionToIndex(POSITION p) const {
    return glcPosnToIndexNoType(this, p);
}

template <class T>
int RtPtrListBase2<T>::FindIndex(T* p) const {
    unsigned int index = 0;
    FindItem(p, nullptr, &index);
    return static_cast<int>(index);
}

template <class T>
POSITION RtPtrListBase2<T>::FindItem(T* p, POSITION, unsigned int* index) const {
    if (index != nullptr) {
        *index = 0xFFFFFFFFu;
    }
    unsigned int i = 0;
    for (POSITION pos = GetHeadPosition(); pos != nullptr; ++i) {
        const POSITION node = pos;
        if (GetNext(pos) == p) {
            if (index != nullptr) {
                *index = i;
            }
            return node;
        }
    }
    return nullptr;
}

template <class T>
POSITION RtPtrListBase2<T>::FindCyclic(T* p, POSITION start) const {
    POSITION pos = start != nullptr ? start : GetHeadPosition();
    for (INT_PTR n = GetCount(); n > 0; --n) {
        const POSITION node = pos;
        if (GetNextCyclic(pos) == p) {
            return node;
        }
    }
    return nullptr;
}

template <class T>
bool RtPtrListBase2<T>::IsValidPosn(POSITION p) const {
    for (POSITION pos = GetHeadPosition(); p != nullptr && pos != nullptr; GetNext(pos)) {
        if (pos == p) {
            return true;
        }
    }
    return false;
}

template <class T>
bool RtPtrListBase2<T>::IsNeighbourPosns(POSITION p, POSITION q) const {
    return p != nullptr && q != nullptr && ToLink(p)->pNext == ToLink(q);
}

template <class T>
bool RtPtrListBase2<T>::IsBefore(POSITION p, POSITION q) const {
    if (p == nullptr || q == nullptr || p == q) {
        return false;
    }
    do {
        GetNext(p);
    } while (p != nullptr && p != q);
    return p != nullptr;
}

template <class T>
int RtPtrListBase2<T>::GetItemCount(POSITION from, POSITION to) const {
    const POSITION end = to != nullptr ? to : GetTailPosition();
    int n = 0;
    for (POSITION pos = from != nullptr ? from : GetHeadPosition(); pos != nullptr && pos != end;
         GetNext(pos)) {
        ++n;
    }
    return n;
}

template <class T>
int RtPtrListBase2<T>::GetRangeCount(POSITION from, POSITION to) const {
    const POSITION end = to != nullptr ? to : GetTailPosition();
    int n = 0;
    for (POSITION pos = from != nullptr ? from : GetHeadPosition(); pos != nullptr;) {
        ++n;
        if (pos == end) {
            break;
        }
        GetNext(pos);
    }
    return n;
}

template <class T>
bool RtPtrListBase2<T>::FindDuplicates(RangePos& out) const {
    POSITION pair[2] = {nullptr, nullptr};
    if (!RtVoidPtrList::FindDuplicates(this, pair)) {
        return false;
    }
    out.first = pair[0];
    out.last = pair[1];
    return true;
}

template <class T>
bool RtPtrListBase2<T>::CheckDuplicates() const {
    return RtVoidPtrList::CheckDuplicates(this);
}

template <class T>
bool RtPtrListBase2<T>::IsSameContents(const RtPtrListBase2& other) const {
    if (GetCount() != other.GetCount()) {
        return false;
    }
    for (T* p : *this) {
        if (other.Find(p) == nullptr) {
            return false;
        }
    }
    return true;
}

template <class T>
CPlex* RtPtrListBase2<T>::GetFirstBlock() const noexcept {
    CPlex* block = m_pBlocks;
    while (block != nullptr && block->pNext != nullptr) {
        block = block->pNext;
    }
    return block;
}

template <class T>
void RtPtrListBase2<T>::Cut(POSITION from, POSITION to, bool cyclic, bool destroy) {
    POSITION pos = (from != nullptr || cyclic) ? from : GetHeadPosition();
    // The emptiness test ends a cyclic walk whose `to` is not in the list.
    while (pos != nullptr && !IsEmpty()) {
        const POSITION node = pos;
        const bool last = node == to;
        T* element = Next(pos, true, cyclic);
        if (destroy) {
            DeleteElement(element);
        }
        RemoveAt(node);
        if (last) {
            break;
        }
    }
}

template class RtPtrListBase2<RangeS1>;

} // namespace plinth
