#pragma once

#include "plinth/platform/throw.h"

#include <cstddef>
#include <new>
#include <utility>

namespace plinth {

// Allocation inside the library reports failure as CMemoryException, never std::bad_alloc.
// Threads: one object is used by one thread at a time; distinct objects are independent.

/// Standard allocator for the library's internal containers.
template <class T>
struct AfxAllocator {
    using value_type = T;

    AfxAllocator() noexcept = default;
    template <class U>
    AfxAllocator(const AfxAllocator<U>& /*other*/) noexcept {}

    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) {
            AfxThrowMemoryException();
        }
        void* p = ::operator new(n * sizeof(T), std::nothrow);
        if (p == nullptr) {
            AfxThrowMemoryException();
        }
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t /*n*/) noexcept { ::operator delete(p); }

    template <class U>
    bool operator==(const AfxAllocator<U>& /*other*/) const noexcept {
        return true;
    }
    template <class U>
    bool operator!=(const AfxAllocator<U>& /*other*/) const noexcept {
        return false;
    }
};

/// `new T(args...)` with the library's failure report.
template <class T, class... Args>
T* AfxNew(Args&&... args) {
    T* p = new (std::nothrow) T(std::forward<Args>(args)...);
    if (p == nullptr) {
        AfxThrowMemoryException();
    }
    return p;
}

/// `new T[n]` (released with `delete[]`) with the library's failure report.
template <class T>
T* AfxNewArray(std::size_t n) {
    T* p = new (std::nothrow) T[n];
    if (p == nullptr) {
        AfxThrowMemoryException();
    }
    return p;
}

} // namespace plinth
