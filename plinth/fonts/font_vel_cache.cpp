#include "plinth/fonts/font_vel_cache.h"

#include "plinth/platform/memory.h"

#include <memory>

namespace plinth {

FontVelCache::~FontVelCache() {
    DeleteAll();
}

FontVel* FontVelCache::Find(const FontSpecs& s) const {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        FontVel* font = GetAt(i);
        if (font != nullptr && font->m_specs.IsSame(s)) {
            return font;
        }
    }
    return nullptr;
}

FontVel* FontVelCache::CreateFontA(const FontSpecs& s) {
    if (FontVel* cached = Find(s)) {
        return cached;
    }
    std::unique_ptr<FontVel> font(AfxNew<FontVel>(s)); // until the array holds it
    SetAtGrow(GetSize(), font.get());
    return font.release();
}

void FontVelCache::DeleteAll() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete GetAt(i);
    }
    SetSize(0);
}

} // namespace plinth
