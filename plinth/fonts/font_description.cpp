#include "plinth/fonts/font_description.h"

namespace plinth {

FontSpecs::FontSpecs()
    : m_strFace("Arial") {}

bool FontSpecs::IsSame(const FontSpecs& o) const noexcept {
    return m_nSize == o.m_nSize && m_strFace.Compare(o.m_strFace) == 0 &&
           m_bStyle1 == o.m_bStyle1 && m_bStyle2 == o.m_bStyle2 && m_bStyle3 == o.m_bStyle3;
}

} // namespace plinth
