#include "plinth/platform/object.h"

#include "plinth/platform/throw.h"

namespace plinth {

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const noexcept {
    for (const CRuntimeClass* cls = this; cls != nullptr;) {
        if (cls == base) {
            return 1;
        }
        cls = cls->m_pfnGetBaseClass == nullptr ? nullptr : cls->m_pfnGetBaseClass();
    }
    return 0;
}

CDumpContext& CDumpContext::operator<<(LPCSTR text) {
    if (m_out != nullptr && text != nullptr) {
        std::fputs(text, m_out);
    }
    return *this;
}

void CDumpContext::Flush() {
    if (m_out != nullptr) {
        std::fflush(m_out);
    }
}

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF,
                                       nullptr};

CRuntimeClass* CObject::GetThisClass() noexcept {
    return &classCObject;
}

CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

CObject::~CObject() = default;

void CObject::Serialize(CArchive& /*ar*/) {}

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext& /*dc*/) const {}

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const {
    if (cls == nullptr) {
        AfxThrowInvalidArgException();
    }
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

} // namespace plinth
