#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// Raise the framework's exceptions (declared in exceptions.h). Kept apart from the classes
/// so that low-level headers can throw without pulling in the string class.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
[[noreturn]] PLINTH_API void AfxThrowMemoryException();
[[noreturn]] PLINTH_API void AfxThrowInvalidArgException();
[[noreturn]] PLINTH_API void AfxThrowArchiveException(int cause, LPCTSTR archiveName = nullptr);
[[noreturn]] PLINTH_API void AfxThrowFileException(int cause, LONG osError = -1,
                                                   LPCTSTR fileName = nullptr);

} // namespace plinth
