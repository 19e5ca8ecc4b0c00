#pragma once

#include "plinth/platform/export.h"
#include "plinth/platform/maps.h"

namespace plinth {

/// A pointer map with a reverse lookup and a dump for debugging.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API MapPtrToPtrVel : public CMapPtrToPtr {
public:
    MapPtrToPtrVel()
        : CMapPtrToPtr(10) {}
    ~MapPtrToPtrVel() override;

    /// The key of the first entry, in walking order, whose value is `value`; null for none.
    void* FindValue(void* value) const;

    /// Writes the map's address and count, then its first 20 entries, one "key   value" line
    /// each (hexadecimal, at least eight digits), to standard output. "First 20 pairs. Has
    /// more" follows when entries were left out; a line break ends the dump.
    void Pr() const;
};

} // namespace plinth
