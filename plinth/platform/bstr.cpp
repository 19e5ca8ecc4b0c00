#include "plinth/platform/bstr.h"

#include <cstring>
#include <new>
#include <string>

namespace plinth {

namespace {

using Prefix = DWORD;

BYTE* blockOf(BSTR bstr) noexcept {
    return reinterpret_cast<BYTE*>(bstr) - sizeof(Prefix);
}

// Allocates room for `length` bytes between the prefix and at least one whole zero character,
// and fills it from `source` (zeros when null).
BSTR allocate(const void* source, DWORD length) noexcept {
    const std::size_t padded = (static_cast<std::size_t>(length) + 1) & ~std::size_t{1};
    const std::size_t total = sizeof(Prefix) + padded + sizeof(OLECHAR);
    auto* block = static_cast<BYTE*>(::operator new(total, std::nothrow));
    if (block == nullptr) {
        return nullptr;
    }
    std::memcpy(block, &length, sizeof(Prefix));
    BYTE* text = block + sizeof(Prefix);
    if (source != nullptr) {
        std::memcpy(text, source, length);
    } else {
        std::memset(text, 0, length);
    }
    std::memset(text + length, 0, total - sizeof(Prefix) - length);
    return reinterpret_cast<BSTR>(text);
}

} // namespace

BSTR SysAllocString(const OLECHAR* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const std::size_t length = std::char_traits<OLECHAR>::length(text);
    if (length > UINT32_MAX / sizeof(OLECHAR)) {
        return nullptr;
    }
    return allocate(text, static_cast<DWORD>(length * sizeof(OLECHAR)));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > UINT32_MAX / sizeof(OLECHAR)) {
        return nullptr;
    }
    return allocate(text, static_cast<DWORD>(length * sizeof(OLECHAR)));
}

BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length) {
    return allocate(bytes, length);
}

void SysFreeString(BSTR bstr) noexcept {
    if (bstr != nullptr) {
        ::operator delete(blockOf(bstr));
    }
}

UINT SysStringByteLen(BSTR bstr) noexcept {
    Prefix length = 0;
    if (bstr != nullptr) {
        std::memcpy(&length, blockOf(bstr), sizeof(Prefix));
    }
    return length;
}

UINT SysStringLen(BSTR bstr) noexcept {
    return SysStringByteLen(bstr) / static_cast<UINT>(sizeof(OLECHAR));
}

} // namespace plinth
