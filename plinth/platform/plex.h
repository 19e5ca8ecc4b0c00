#pragma once

#include "plinth/platform/export.h"

#include <cstddef>
#include <new>

namespace plinth {

/// One block of fixed-size records (list nodes, map associations). A container keeps its
/// blocks in a chain, newest first, hands the records out through a free list and releases
/// the whole chain at once.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
struct PLINTH_API CPlex {
    /// Aligned so that the records after the header suit any fundamental type.
    alignas(std::max_align_t) CPlex* pNext;

    void* data() noexcept { return this + 1; }

    /// Allocates a block of nMax records of cbElement bytes each and pushes it on head.
    static CPlex* Create(CPlex*& head, std::size_t nMax, std::size_t cbElement);
    /// Frees this block and every block chained after it.
    void FreeDataChain() noexcept;

    /// Adds a block of nMax records of cbElement bytes to the chain and pushes its records
    /// on a free list, first record on top. Each record begins with a REC, a struct whose
    /// member pNext links the free list.
    template <class REC>
    static void Refill(CPlex*& head, std::size_t nMax, std::size_t cbElement, REC*& freeList) {
        auto* first = static_cast<unsigned char*>(Create(head, nMax, cbElement)->data());
        for (std::size_t i = nMax; i-- > 0;) {
            REC* rec = ::new (first + i * cbElement) REC();
            rec->pNext = freeList;
            freeList = rec;
        }
    }
};

} // namespace plinth
