#include "plinth/containers/cyclic_walk.h"

namespace plinth {

template <class T>
void* WalkCyclic(const CList<T, T>& list, POSITION& pos, bool forward) {
    if (forward && pos == nullptr) {
        return nullptr;
    }
    void* data = forward ? list.GetNext(pos) : list.GetPrev(pos);
    if (pos == nullptr) {
        pos = forward ? list.GetHeadPosition() : list.GetTailPosition();
    }
    return data;
}

template <class T>
int CountCyclic(const CList<T, T>& list, POSITION from, POSITION to) {
    if (from == nullptr) {
        return 0;
    }
    int n = 1;
    for (POSITION pos = from; pos != to && n < list.GetCount(); ++n) {
        WalkCyclic(list, pos, true);
    }
    return n;
}

template <class T>
bool IsValidPtrList(const CList<T, T>& list) {
    if (list.IsEmpty()) {
        return true;
    }
    const POSITION head = list.GetHeadPosition();
    if (head == nullptr || list.GetAt(head) == nullptr) {
        return false;
    }
    if (list.GetCount() == 1) {
        POSITION next = head;
        list.GetNext(next);
        return next == nullptr && head == list.GetTailPosition();
    }
    return head != list.GetTailPosition();
}

template <class T>
bool IsNeighbourNode(const CList<T, T>& list, POSITION a, POSITION b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    list.GetNext(a);
    return a == b;
}

template <class T>
void RemoveForward(CList<T, T>& list, POSITION from, POSITION to) {
    for (POSITION pos = from; pos != nullptr;) {
        const POSITION node = pos;
        const bool last = node == to;
        list.GetNext(pos);
        list.RemoveAt(node);
        if (last) {
            break;
        }
    }
}

template <class T>
void RemoveCyclicRange(CList<T, T>& list, POSITION from, POSITION to) {
    for (POSITION pos = from; pos != nullptr && !list.IsEmpty();) {
        const POSITION node = pos;
        const bool last = node == to;
        WalkCyclic(list, pos, true);
        list.RemoveAt(node);
        if (last) {
            break;
        }
    }
}

template <class T>
void AppendCyclicRange(CList<T, T>& target, const CList<T, T>& source, POSITION from, POSITION to) {
    // Gathered first: appending to the source itself would move the tail that the walk
    // wraps at.
    CList<T, T> picked;
    POSITION pos = from;
    for (int n = CountCyclic(source, from, to); n > 0; --n) {
        picked.AddTail(static_cast<T>(WalkCyclic(source, pos, true)));
    }
    target.AddTail(&picked);
}

// The two pointer lists.
#define PLINTH_CYCLIC_WALKS(T)                                                                     \
    template void* WalkCyclic(const CList<T, T>&, POSITION&, bool);                                \
    template int CountCyclic(const CList<T, T>&, POSITION, POSITION);                              \
    template bool IsValidPtrList(const CList<T, T>&);                                              \
    template bool IsNeighbourNode(const CList<T, T>&, POSITION, POSITION);                         \
    template void RemoveForward(CList<T, T>&, POSITION, POSITION);                                 \
    template void RemoveCyclicRange(CList<T, T>&, POSITION, POSITION);                             \
    template void AppendCyclicRange(CList<T, T>&, const CList<T, T>&, POSITION, POSITION);
PLINTH_CYCLIC_WALKS(void*)
PLINTH_CYCLIC_WALKS(CObject*)
#undef PLINTH_CYCLIC_WALKS

} // namespace plinth
