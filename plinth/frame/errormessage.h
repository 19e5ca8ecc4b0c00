#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/export.h"

namespace plinth {

/// The system's text for the calling thread's last error (GetLastError); empty when the last
/// error is 0 or the system has no text for it. A trailing carriage return and line feed
/// pair is cut; a lone line feed stays.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
PLINTH_API CString rtGetErrorMessage();

} // namespace plinth
