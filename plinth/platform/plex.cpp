#include "plinth/platform/plex.h"

#include "plinth/platform/throw.h"

#include <limits>

namespace plinth {

CPlex* CPlex::Create(CPlex*& head, std::size_t nMax, std::size_t cbElement) {
    constexpr std::size_t limit = std::numeric_limits<std::size_t>::max() - sizeof(CPlex);
    if (cbElement == 0 || nMax > limit / cbElement) {
        AfxThrowMemoryException();
    }
    void* p = ::operator new(sizeof(CPlex) + nMax * cbElement, std::nothrow);
    if (p == nullptr) {
        AfxThrowMemoryException();
    }
    auto* block = ::new (p) CPlex{head};
    head = block;
    return block;
}

void CPlex::FreeDataChain() noexcept {
    CPlex* block = this;
    while (block != nullptr) {
        CPlex* next = block->pNext;
        ::operator delete(block);
        block = next;
    }
}

} // namespace plinth
