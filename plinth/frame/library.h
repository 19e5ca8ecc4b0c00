#pragma once

#include "plinth/platform/export.h"

namespace plinth {

// The library registers itself with the framework as an extension module when it is loaded
// and deregisters when it is unloaded.
// Threads: initialisation changes the shared module chain; call it once, from one thread, before
// others use the library.

/// Joins the library to the calling process's chain of framework modules, so that the
/// framework finds the library's resources and runtime classes. Only the first call does
/// anything; the framework owns the chain link it creates. Raises CMemoryException when the
/// link cannot be allocated (later calls still do nothing).
PLINTH_API void InitPlinthDll();

} // namespace plinth
