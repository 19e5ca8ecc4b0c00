#include "plinth/containers/ptr_map.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>

namespace plinth {

namespace {

constexpr int kPrintedEntries = 20;

std::uintptr_t Address(const void* p) noexcept {
    return reinterpret_cast<std::uintptr_t>(p);
}

} // namespace

MapPtrToPtrVel::~MapPtrToPtrVel() = default;

void* MapPtrToPtrVel::FindValue(void* value) const {
    for (const auto& [key, found] : *this) {
        if (found == value) {
            return key;
        }
    }
    return nullptr;
}

void MapPtrToPtrVel::Pr() const {
    std::printf("MapPtrToPtrVel: 0x%08" PRIxPTR " count=%d map (key, value):\n", Address(this),
                static_cast<int>(GetCount()));
    POSITION pos = GetStartPosition();
    for (int n = 0; pos != nullptr && n < kPrintedEntries; ++n) {
        void* key = nullptr;
        void* value = nullptr;
        GetNextAssoc(pos, key, value);
        std::printf("0x%08" PRIxPTR "   0x%08" PRIxPTR "\n", Address(key), Address(value));
    }
    if (pos != nullptr) {
        std::printf("First 20 pairs. Has more");
    }
    std::printf("\n");
}

} // namespace plinth
