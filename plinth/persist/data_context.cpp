#include "plinth/persist/data_context.h"

namespace plinth {

IMPLEMENT_DYNAMIC(DataContext, CObject)

DataContext::DataContext(const DataContext& other) noexcept
    : CRefObj(other)
    , m_bOptionA(other.m_bOptionA)
    , m_bOptionB(other.m_bOptionB) {}

DataContext::~DataContext() = default;

void DataContext::Copy(const DataContext* p) noexcept {
    if (p != nullptr) {
        m_bOptionA = p->m_bOptionA;
        m_bOptionB = p->m_bOptionB;
    }
}

void DataContext::Reset() noexcept {
    m_bOptionA = true;
    m_bOptionB = false;
}

HRESULT DataContext::QueryInterface(REFIID iid, void** ppv) {
    return QueryOuterInterface(this, iid, ppv, m_xDataContext);
}

HRESULT DataContext::XDataContext::SetOptionA(short value) {
    This().m_bOptionA = value != 0;
    return S_OK;
}

HRESULT DataContext::XDataContext::SetOptionB(short value) {
    This().m_bOptionB = value != 0;
    return S_OK;
}

} // namespace plinth
