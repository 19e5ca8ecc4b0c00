#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/list.h"
#include "plinth/platform/object.h"
#include "plinth/platform/types.h"

namespace plinth {

/// Lists of untyped and of object pointers. They own nothing: removing a node never deletes
/// what its element points to. Find compares the pointers.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)

public:
    explicit CPtrList(INT_PTR nBlockSize = 10);
};

/// A list of object pointers.
class PLINTH_API CObList : public CList<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObList)

public:
    explicit CObList(INT_PTR nBlockSize = 10);
};

} // namespace plinth
