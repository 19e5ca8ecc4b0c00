#pragma once

#include "plinth/circle/range_s1.h"
#include "plinth/circle/rt_ptr_list_base2.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// A set of arcs kept in counterclockwise order around the circle and read as a cycle.
///
/// The set owns its arcs: arcs it drops are deleted, pieces it creates are allocated with new,
/// and an arc given to InsertSorted becomes the set's. Like its list base it leaves the arcs
/// alone when it is destroyed: call Clear first.
///
/// A well-formed set has no empty arc, no two neighbouring arcs (tail and head included) that
/// meet, and each arc ending before the next one starts; the full set is a single full-circle
/// arc.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API SetS1 : public RtPtrListBase2<RangeS1> {
public:
    SetS1() = default;
    ~SetS1() override;

    /// The head arc is the full circle.
    bool IsFull() const { return !IsEmpty() && GetHead()->IsFull(); }
    /// Deletes every arc and holds a single full-circle arc.
    void SetFull();
    /// Takes r in before the first arc whose start follows r's start, walking counterclockwise
    /// from the end of the arc before it; at the tail when no arc qualifies or the set has
    /// fewer than two arcs. A null r raises CInvalidArgException.
    void InsertSorted(RangeS1* r);
    /// Takes o away from every arc: arcs it covers are deleted, arcs it splits become two.
    void Subtract(const RangeS1& o);
    /// Takes away every arc of other; a full other (or this set itself) leaves nothing.
    void Subtract(SetS1& other);
    /// Deletes the arcs shorter than minLength.
    void RemoveSingletons(double minLength);
    /// No arc is empty and no arc meets its predecessor (the head's being the tail). An empty
    /// set is valid. The tolerance is not used.
    bool IsValidEx(double tol) const;
    /// Valid, and each arc starts after its predecessor ends, going counterclockwise. Point arcs
    /// are ordered by where the arcs around them start.
    bool IsSorted() const;
    /// Reserved: returns 0 and writes nothing.
    unsigned char GetNearestRanges(POSITION* const) const { return 0; }

private:
    /// Adds a new copy of arc after node (null: at the tail).
    void InsertCopyAfter(POSITION node, const RangeS1& arc);
    /// Removes the node and deletes its arc.
    void Drop(POSITION node);
};

} // namespace plinth
