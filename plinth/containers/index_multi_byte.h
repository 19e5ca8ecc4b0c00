#pragma once

#include "plinth/platform/export.h"

namespace plinth {

/// A stack of up to 20 bytes, kept in place: a multi-level index with a byte per level.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API IndexMultiByte {
public:
    static constexpr int kCapacity = 20;

    /// Nothing when full.
    void Push(unsigned char byte) noexcept {
        if (m_nCount < kCapacity) {
            m_data[m_nCount++] = byte;
        }
    }
    /// Nothing when empty.
    void Pop() noexcept {
        if (m_nCount > 0) {
            --m_nCount;
        }
    }

    unsigned char m_data[kCapacity] = {};
    unsigned char m_nCount = 0;
};

} // namespace plinth
