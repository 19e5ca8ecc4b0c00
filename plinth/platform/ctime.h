#pragma once

#include <ctime>

namespace plinth {

/// A point in time as seconds since the epoch (UTC); only what file status needs.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class CTime {
public:
    CTime() noexcept = default;
    CTime(std::time_t time) noexcept
        : m_time(time) {} // NOLINT(google-explicit-constructor)

    std::time_t GetTime() const noexcept { return m_time; }

    friend bool operator==(CTime a, CTime b) noexcept { return a.m_time == b.m_time; }
    friend bool operator!=(CTime a, CTime b) noexcept { return a.m_time != b.m_time; }
    friend bool operator<(CTime a, CTime b) noexcept { return a.m_time < b.m_time; }

private:
    std::time_t m_time = 0;
};

} // namespace plinth
