#pragma once

#include "plinth/platform/export.h"

namespace plinth {

/// The library's process-wide settings, all static. They are meant to be set once, early,
/// from one thread.
/// Threads: the settings are shared by every thread; set them before other threads use the library.
class PLINTH_API StatePlinth {
public:
    /// Receives the library's assertions: two texts (passed through untouched) and a line.
    using AssertHandler = bool (*)(const char*, const char*, int);

    static AssertHandler m_pAssert; ///< null: assertions are ignored
    static bool m_bNet;             ///< a mode the host selects; nothing in the library reads it

    /// Stores the handler (null removes it) and returns the one stored before.
    static AssertHandler SetAssertHandler(AssertHandler handler) noexcept;

    /// Calls the handler, if any, and drops its result. Never stops the process, raises or
    /// writes anything.
    static void Assert(const char* text1, const char* text2, int line);

    static bool IsNet() noexcept { return m_bNet; }
    /// There is no way back to false.
    static void SetNet() noexcept { m_bNet = true; }
};

} // namespace plinth
