#include "plinth/platform/list.h"

namespace plinth {

CListBase::CListBase(INT_PTR nBlockSize)
    : m_nBlockSize(nBlockSize) {
    if (nBlockSize < 1) {
        AfxThrowInvalidArgException();
    }
}

CListBase::~CListBase() {
    FreeNodes();
}

POSITION CListBase::FindIndex(INT_PTR nIndex) const noexcept {
    if (nIndex < 0 || nIndex >= m_nCount) {
        return nullptr;
    }
    CLink* link = m_pNodeHead;
    for (; nIndex > 0; --nIndex) {
        link = link->pNext;
    }
    return ToPosition(link);
}

void CListBase::Refill(std::size_t cbNode) {
    CPlex::Refill(m_pBlocks, static_cast<std::size_t>(m_nBlockSize), cbNode, m_pNodeFree);
}

void CListBase::FreeNodes() noexcept {
    if (m_pBlocks != nullptr) {
        m_pBlocks->FreeDataChain();
    }
    m_pNodeHead = nullptr;
    m_pNodeTail = nullptr;
    m_nCount = 0;
    m_pNodeFree = nullptr;
    m_pBlocks = nullptr;
}

} // namespace plinth
