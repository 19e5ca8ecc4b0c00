#include "plinth/frame/requests.h"

namespace plinth {

OpC::~OpC() = default;

void OpC::Construct() noexcept {
    *this = OpC();
}

void OpC::Copy(const OpC& source) noexcept {
    const GUID* const module = m_pModuleID;
    const auto extra = m_nExtra;
    *this = source;
    m_pModuleID = module;
    m_nExtra = extra;
}

QC::~QC() = default;

void QC::Construct() noexcept {
    *this = QC();
}

void QC::CopyNoID(const QC& source) noexcept {
    const GUID* const module = m_pModuleID;
    const GUID* const iid = m_pIID;
    const auto extra = m_nExtra;
    *this = source;
    m_pModuleID = module;
    m_pIID = iid;
    m_nExtra = extra;
}

} // namespace plinth
