#include "plinth/platform/com_exception.h"

#include "plinth/platform/hresult.h"

namespace plinth {

CComException::CComException(HRESULT hr, LPCSTR description)
    : m_hr(hr)
    , m_strDescription(description) {}

const char* CComException::what() const noexcept {
    if (!m_strDescription.IsEmpty()) {
        return m_strDescription;
    }
    switch (m_hr) {
    case E_POINTER:
        return "component: null pointer";
    case E_OUTOFMEMORY:
        return "component: out of memory";
    case E_INVALIDARG:
        return "component: invalid argument";
    default:
        return "component: error";
    }
}

void AfxThrowComException(HRESULT hr, LPCSTR description) {
    throw CComException(hr, description);
}

} // namespace plinth
