#include "plinth/frame/ref_obj.h"

namespace plinth {

CRefObj::~CRefObj() = default;

HRESULT CRefObj::QueryInterface(REFIID /*iid*/, void** ppv) {
    if (ppv != nullptr) {
        *ppv = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG CRefObj::Release() {
    if (--m_nRef != 0) {
        return m_nRef;
    }
    if (!m_bByVal) {
        delete this;
    }
    return 0;
}

} // namespace plinth
