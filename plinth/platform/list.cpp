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

void* CListBase::AllocNode(std::size_t cbNode) {
    if (m_pNodeFree == nullptr) {
        CPlex::Refill(m_pBlocks, static_cast<std::size_t>(m_nBlockSize), cbNode, m_pNodeFree);
    }
    CLink* node = m_pNodeFree;
    m_pNodeFree = node->pNext;
    return node;
}

void CListBase::ReleaseNode(void* node) noexcept {
    m_pNodeFree = ::new (node) CLink{m_pNodeFree, nullptr};
}

void CListBase::LinkNode(CLink* node, CLink* prev, CLink* next) noexcept {
    node->pPrev = prev;
    node->pNext = next;
    (prev != nullptr ? prev->pNext : m_pNodeHead) = node;
    (next != nullptr ? next->pPrev : m_pNodeTail) = node;
    ++m_nCount;
}

void CListBase::UnlinkNode(CLink* node) noexcept {
    (node->pPrev != nullptr ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
    (node->pNext != nullptr ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
    --m_nCount;
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
