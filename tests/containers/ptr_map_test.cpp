#include "plinth/containers/ptr_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

using namespace plinth;

namespace {

void* Ptr(std::uintptr_t n) {
    return reinterpret_cast<void*>(n);
}

// The dump, with the header line checked and cut off.
std::string Dump(const MapPtrToPtrVel& map) {
    testing::internal::CaptureStdout();
    map.Pr();
    const std::string text = testing::internal::GetCapturedStdout();
    char header[128];
    std::snprintf(header, sizeof header, "MapPtrToPtrVel: 0x%08llx count=%d map (key, value):\n",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&map)),
                  static_cast<int>(map.GetCount()));
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), header);
    return text.substr(text.find('\n') + 1);
}

} // namespace

TEST(MapPtrToPtrVel, FindValueGivesTheFirstKeyInWalkingOrder) {
    MapPtrToPtrVel map;
    EXPECT_EQ(map.FindValue(nullptr), nullptr);
    for (std::uintptr_t k = 1; k <= 30; ++k) {
        map[Ptr(k)] = Ptr(k % 3 == 0 ? 100 : k + 1000);
    }
    void* key = nullptr;
    void* value = nullptr;
    for (POSITION pos = map.GetStartPosition(); value != Ptr(100);) {
        map.GetNextAssoc(pos, key, value);
    }
    EXPECT_EQ(map.FindValue(Ptr(100)), key);
    EXPECT_EQ(map.FindValue(Ptr(1007)), Ptr(7));
    EXPECT_EQ(map.FindValue(Ptr(5)), nullptr);
}

TEST(MapPtrToPtrVel, DumpShowsAtMostTwentyPairs) {
    MapPtrToPtrVel map;
    EXPECT_EQ(Dump(map), "\n");
    map[Ptr(0x10)] = Ptr(0xABCDEF);
    EXPECT_EQ(Dump(map), "0x00000010   0x00abcdef\n\n");

    for (std::uintptr_t k = 0x102; k <= 0x114; ++k) {
        map[Ptr(k)] = Ptr(k);
    }
    EXPECT_EQ(Dump(map).substr(20 * 24), "\n"); // exactly 20: no note
    map[Ptr(0x115)] = Ptr(0x115);
    EXPECT_EQ(Dump(map).substr(20 * 24), "First 20 pairs. Has more\n");
}
