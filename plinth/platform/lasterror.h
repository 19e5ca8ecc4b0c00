#pragma once

#include "plinth/platform/types.h"

#include <cerrno>

namespace plinth {

/// The calling thread's last operating-system error is its errno.
/// Threads: the last error is each thread's own.
inline DWORD GetLastError() noexcept {
    return static_cast<DWORD>(errno);
}
inline void SetLastError(DWORD code) noexcept {
    errno = static_cast<int>(code);
}

/// Last-error codes that the library's platform functions report.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_INVALID_PARAMETER = EINVAL;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = ENOBUFS;
inline constexpr DWORD ERROR_RESOURCE_NOT_FOUND = ENODATA;

} // namespace plinth
