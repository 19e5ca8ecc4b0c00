#include "plinth/cyclic/list_cyclic.h"

namespace plinth {

ListCyclicNT::~ListCyclicNT() = default;

int ListCyclicNT::Remove(POSITION from, POSITION to) {
    if (from == nullptr) {
        return 0;
    }
    if (to == nullptr) {
        to = GetTailPosition();
    }
    int count = 0;
    for (POSITION current = from;;) {
        POSITION next = current;
        GetNextCyclic(next);
        RemoveAt(current);
        ++count;
        if (next == current) {
            return count - 1; // that was the last node
        }
        if (next == to) {
            RemoveAt(to);
            return count;
        }
        current = next;
    }
}

bool ListCyclicNT::InRange(POSITION p, const RangePos& run) const {
    if (!run.IsValidEx() || p == nullptr) {
        return false;
    }
    if (p == run.first || p == run.last) {
        return true;
    }
    for (POSITION q = p;;) {
        GetNextCyclic(q);
        if (q == run.last) {
            return true;
        }
        if (q == run.first || q == p) {
            return false;
        }
    }
}

} // namespace plinth
