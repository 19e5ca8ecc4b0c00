#pragma once

#include "plinth/platform/array.h"
#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"
#include "plinth/platform/object.h"
#include "plinth/platform/types.h"

namespace plinth {

/// The framework's ready-made arrays. The pointer arrays own nothing: removing or
/// overwriting an element never deletes what it points to. New pointer elements are null.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)

public:
    CPtrArray() noexcept = default;
};

/// An array of object pointers.
class PLINTH_API CObArray : public CArray<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObArray)

public:
    CObArray() noexcept = default;
};

/// An array of strings, stored by value.
class PLINTH_API CStringArray : public CArray<CString, const CString&> {
    DECLARE_DYNAMIC(CStringArray)

public:
    CStringArray() noexcept = default;
};

} // namespace plinth
