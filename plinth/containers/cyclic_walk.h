#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/types.h"

namespace plinth {

// Walks and checks shared by the library's pointer lists that read themselves as a cycle:
// forward walks go on from the tail to the head, backward walks from the head to the tail.
// Threads: one object is used by one thread at a time; distinct objects are independent.

// The data at pos; pos moves one node with wrap-around. Forward, a null pos gives null and
// stays; backward, a null pos raises CInvalidArgException.
PLINTH_API void* WalkCyclic(const CPtrList& list, POSITION& pos, bool forward);

// The nodes from `from` to `to` inclusive, walking forward with wrap-around; 0 for a null
// `from`. When `to` is never met the walk stops after one round (the whole count).
PLINTH_API int CountCyclic(const CPtrList& list, POSITION from, POSITION to);

// Empty, or a head with non-null data whose links agree with the count.
PLINTH_API bool IsValidPtrList(const CPtrList& list);

} // namespace plinth
