#pragma once

#include "plinth/fonts/font_description.h"
#include "plinth/fonts/font_vel.h"
#include "plinth/platform/export.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/typed_ptr.h"

namespace plinth {

/// A cache of fonts, one per distinct description, in the order they were first asked for.
/// The cache owns its fonts: it creates them and deletes them (with their handles) when it is
/// cleared or destroyed. Null entries may be stored through the array operations; lookups and
/// clearing pass over them. Pointers taken from another cache (Copy, Append) would be owned
/// twice: the array operations are for reading and for null entries only.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API FontVelCache : public CTypedPtrArray<CObArray, FontVel*> {
public:
    FontVelCache() noexcept = default;
    FontVelCache(const FontVelCache&) = delete;
    FontVelCache& operator=(const FontVelCache&) = delete;
    ~FontVelCache() override;

    /// The first cached font whose description is the same as s, or null.
    FontVel* Find(const FontSpecs& s) const;
    /// The cached font for s, or a new one (without a handle yet) appended at the end.
    FontVel* CreateFontA(const FontSpecs& s);
    /// Deletes every font and empties the cache.
    void DeleteAll();
};

} // namespace plinth
