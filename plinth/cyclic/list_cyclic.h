#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/types.h"
#include "plinth/range/range_pos.h"

namespace plinth {

/// A pointer list read as a cycle: walks go on from the tail to the head. It owns nothing;
/// removing a node never deletes what its element points to.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API ListCyclicNT : public CPtrList {
public:
    ListCyclicNT()
        : CPtrList(10) {}
    ~ListCyclicNT() override;

    /// The element at pos; pos moves to the next node, from the tail to the head. A null pos
    /// raises CInvalidArgException.
    void* GetNextCyclic(POSITION& pos) const {
        void* element = GetNext(pos);
        if (pos == nullptr) {
            pos = GetHeadPosition();
        }
        return element;
    }

    /// Removes the nodes from `from` up to and including `to`, walking cyclically; a null
    /// `to` means the tail. Returns one less than the number of nodes removed, 0 for a null
    /// `from`. When the walk never meets `to` (it is `from`, or not in the list) every node is
    /// removed.
    int Remove(POSITION from, POSITION to);

    /// p lies in the run from run.first to run.last, walking cyclically; its ends count. False
    /// unless both of the run's positions are set, and for a null p.
    bool InRange(POSITION p, const RangePos& run) const;
};

} // namespace plinth
