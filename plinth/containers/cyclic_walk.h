#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/list.h"
#include "plinth/platform/object.h"
#include "plinth/platform/types.h"

namespace plinth {

// Walks and checks shared by the library's pointer lists that read themselves as a cycle:
// forward walks go on from the tail to the head, backward walks from the head to the tail.
// Each one serves both pointer lists: CPtrList and CObList.
// Threads: one object is used by one thread at a time; distinct objects are independent.

/// The data at pos; pos moves one node with wrap-around. Forward, a null pos gives null and
/// stays; backward, a null pos raises CInvalidArgException.
template <class T>
PLINTH_API void* WalkCyclic(const CList<T, T>& list, POSITION& pos, bool forward);

/// The nodes from `from` to `to` inclusive, walking forward with wrap-around; 0 for a null
/// `from`. When `to` is never met the walk stops after one round (the whole count).
template <class T>
PLINTH_API int CountCyclic(const CList<T, T>& list, POSITION from, POSITION to);

/// Empty, or a head with non-null data whose links agree with the count.
template <class T>
PLINTH_API bool IsValidPtrList(const CList<T, T>& list);

/// b is the node right after a (no wrap-around); false when either is null.
template <class T>
PLINTH_API bool IsNeighbourNode(const CList<T, T>& list, POSITION a, POSITION b);

/// Removes from `from` forward up to and including `to`, or to the tail when `to` is not met
/// first; nothing for a null `from`.
template <class T>
PLINTH_API void RemoveForward(CList<T, T>& list, POSITION from, POSITION to);

/// Removes from `from` to `to` inclusive with wrap-around (everything when `to` is not met).
template <class T>
PLINTH_API void RemoveCyclicRange(CList<T, T>& list, POSITION from, POSITION to);

/// Appends the data of source's nodes from `from` to `to` inclusive, with wrap-around in
/// source (which may be the target itself).
template <class T>
PLINTH_API void AppendCyclicRange(CList<T, T>& target, const CList<T, T>& source, POSITION from,
                                  POSITION to);

} // namespace plinth
