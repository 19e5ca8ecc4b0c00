#pragma once

#include "plinth/fonts/font_description.h"
#include "plinth/platform/export.h"
#include "plinth/platform/font.h"

namespace plinth {

/// A font that carries its own description and makes its handle when first asked: either
/// as a point-size font for a device context (Create) or from a logical font whose height is
/// the size in whole points (CreateIndirect). The handle belongs to the object and is released
/// when it is destroyed; copying a FontVel copies the description only.
///
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API FontVel : public CFont {
public:
    FontVel() = default;
    explicit FontVel(const FontSpecs& s)
        : m_specs(s) {}
    ~FontVel() override;

    // ---- Description
    /// Copies o's description; neither handle is touched.
    void Copy(const FontVel& o) { m_specs = o.m_specs; }
    void operator=(const FontVel& o) { Copy(o); }
    bool IsSame(const FontVel& o) const noexcept { return m_specs.IsSame(o.m_specs); }
    void Construct() noexcept {}

    // ---- Handle
    /// Makes the handle unless there is one (a point font of the description's size for
    /// dc), selects the font into dc and returns the font selected before. Null, with dc
    /// untouched, when the font cannot be made or dc is null.
    CFont* Create(CDC* dc);
    /// Makes the handle from a logical font of height size / 10 (toward zero), the face name
    /// (cut to 31 characters) and every other field 0, replacing a handle held before.
    /// Non-zero on success.
    int CreateIndirect();

    FontSpecs m_specs;
};

} // namespace plinth
