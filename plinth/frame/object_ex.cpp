#include "plinth/frame/object_ex.h"

namespace plinth {

ObjectEx::ObjectEx(const ObjectEx* source) noexcept {
    if (source != nullptr) {
        m_pOwner = source->m_pOwner;
        m_bByValEx = false;
        m_nType = source->m_nType;
    }
}

ObjectEx::~ObjectEx() = default;

void ObjectEx::OnModified(void* /*hint*/) {}

void ObjectEx::Delete() {
    delete this;
}

bool ObjectEx::Execute(QC& /*query*/) {
    return false;
}

ULONG ObjectEx::GetData() {
    return 1984;
}

void ObjectEx::SetData(ULONG /*data*/) {}

} // namespace plinth
