#include "plinth/frame/vel_object.h"

#include "plinth/platform/throw.h"

#include <cstring>

namespace plinth {

namespace {

bool SameName(LPCSTR a, LPCSTR b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

} // namespace

VelObject::~VelObject() = default;

bool VelObject::Execute(OpC& /*op*/) {
    return false;
}

bool VelObject::IsKindOf_Vel(const CRuntimeClass* cls) const {
    return IsDerivedFrom_Vel(GetRuntimeClass(), cls);
}

bool VelObject::IsDerivedFrom_Vel(const CRuntimeClass* cls, const CRuntimeClass* base) {
    if (cls == nullptr || base == nullptr) {
        AfxThrowInvalidArgException();
    }
    for (; cls != nullptr;
         cls = cls->m_pfnGetBaseClass != nullptr ? cls->m_pfnGetBaseClass() : nullptr) {
        if (SameName(cls->m_lpszClassName, base->m_lpszClassName)) {
            return true;
        }
    }
    return false;
}

} // namespace plinth
