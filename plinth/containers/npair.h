#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/object.h"

namespace plinth {

/// A pair of integers: a point of the integer grid.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API NPair : public CObject {
public:
    NPair() noexcept = default;
    NPair(int first, int second) noexcept
        : m_nFirst(first)
        , m_nSecond(second) {}
    NPair(const NPair& other) noexcept = default;
    NPair& operator=(const NPair& other) noexcept = default;
    ~NPair() override;

    void Set(int first, int second) noexcept {
        m_nFirst = first;
        m_nSecond = second;
    }

    /// The first number for 0, the second for any other k.
    int& operator[](int k) noexcept { return k == 0 ? m_nFirst : m_nSecond; }
    int operator[](int k) const noexcept { return k == 0 ? m_nFirst : m_nSecond; }

    bool operator==(const NPair& other) const noexcept {
        return m_nFirst == other.m_nFirst && m_nSecond == other.m_nSecond;
    }
    bool operator!=(const NPair& other) const noexcept { return !(*this == other); }

    /// One of the eight grid neighbours: a different pair within 1 in both numbers.
    bool IsNextTo(const NPair& other) const noexcept;
    /// The larger of the two differences (the chessboard distance); INT_MAX at most.
    int DistM(const NPair& other) const noexcept;

    int m_nFirst = 0;
    int m_nSecond = 0;
};

} // namespace plinth
