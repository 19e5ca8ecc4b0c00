#include "plinth/containers/cyclic_walk.h"

namespace plinth {

void* WalkCyclic(const CPtrList& list, POSITION& pos, bool forward) {
    if (forward && pos == nullptr) {
        return nullptr;
    }
    void* data = forward ? list.GetNext(pos) : list.GetPrev(pos);
    if (pos == nullptr) {
        pos = forward ? list.GetHeadPosition() : list.GetTailPosition();
    }
    return data;
}

int CountCyclic(const CPtrList& list, POSITION from, POSITION to) {
    if (from == nullptr) {
        return 0;
    }
    int n = 1;
    for (POSITION pos = from; pos != to && n < list.GetCount(); ++n) {
        WalkCyclic(list, pos, true);
    }
    return n;
}

bool IsValidPtrList(const CPtrList& list) {
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

} // namespace plinth
