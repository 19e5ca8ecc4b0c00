#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

#include <cstddef>
#include <utility>

namespace plinth {

/// A run of a pointer list from the node at `first` to the node at `last`. Positions are the
/// list's node handles; null means no position.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API RangePos {
public:
    POSITION first = nullptr;
    POSITION last = nullptr;

    RangePos() = default;
    RangePos(const RangePos&) = default;
    RangePos& operator=(const RangePos&) = default;
    /// Clears both positions: `run = 0` or `run = nullptr`.
    RangePos& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }
    virtual ~RangePos();

    void Copy(const RangePos& r) { *this = r; }
    void CopyPair(const std::pair<POSITION, POSITION>& p) {
        first = p.first;
        last = p.second;
    }
    void Reset() {
        first = nullptr;
        last = nullptr;
    }

    /// Both positions set, or neither.
    bool IsValid() const { return (first == nullptr) == (last == nullptr); }
    /// Both positions set.
    bool IsValidEx() const { return first != nullptr && last != nullptr; }
};

} // namespace plinth
