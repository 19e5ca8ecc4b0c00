#include "plinth/fonts/font_vel.h"

#include <cstring>

namespace plinth {

FontVel::~FontVel() = default;

CFont* FontVel::Create(CDC* dc) {
    if (dc == nullptr) {
        return nullptr;
    }
    if (GetSafeHandle() == nullptr &&
        CreatePointFont(m_specs.m_nSize, m_specs.m_strFace, dc) == 0) {
        return nullptr;
    }
    return dc->SelectObject(this);
}

int FontVel::CreateIndirect() {
    LOGFONTA lf{};
    lf.lfHeight = m_specs.m_nSize / 10;
    std::strncpy(lf.lfFaceName, m_specs.m_strFace, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

} // namespace plinth
