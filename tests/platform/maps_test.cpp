#include "plinth/platform/exceptions.h"
#include "plinth/platform/maps.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

using namespace plinth;

namespace {

void* Ptr(std::size_t n) {
    return reinterpret_cast<void*>(n * 16);
}

std::vector<void*> WalkKeys(const CMapPtrToPtr& map) {
    std::vector<void*> keys;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        void* key = nullptr;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key);
    }
    return keys;
}

} // namespace

TEST(MapPtrToPtr, InsertsFindsRemovesAndRejectsBadArguments) {
    CMapPtrToPtr map;
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    void* value = Ptr(9);
    EXPECT_FALSE(map.Lookup(Ptr(1), value));
    EXPECT_EQ(map[Ptr(1)], nullptr);
    map.SetAt(Ptr(1), Ptr(2));
    EXPECT_TRUE(map.Lookup(Ptr(1), value));
    EXPECT_EQ(value, Ptr(2));
    EXPECT_TRUE(map.RemoveKey(Ptr(1)));
    EXPECT_FALSE(map.RemoveKey(Ptr(1)));
    EXPECT_TRUE(map.IsEmpty());

    POSITION none = nullptr;
    EXPECT_THROW(map.GetNextAssoc(none, value, value), CInvalidArgException);
    EXPECT_THROW(map.InitHashTable(0), CInvalidArgException);
    EXPECT_THROW(CMapPtrToPtr(0), CInvalidArgException);
}

TEST(MapPtrToPtr, WalkVisitsEveryEntryOnceAfterManyChanges) {
    CMapPtrToPtr map(3);
    std::set<void*> expected;
    for (std::size_t i = 0; i < 1000; ++i) {
        map[Ptr(i)] = nullptr;
        expected.insert(Ptr(i));
    }
    for (std::size_t i = 0; i < 1000; i += 3) {
        map.RemoveKey(Ptr(i));
        expected.erase(Ptr(i));
    }
    map.InitHashTable(101); // spreads the entries over the new table
    for (std::size_t i = 2000; i < 2100; ++i) {
        map[Ptr(i)] = nullptr;
        expected.insert(Ptr(i));
    }
    const std::vector<void*> keys = WalkKeys(map);
    EXPECT_EQ(keys.size(), expected.size());
    EXPECT_EQ(std::set<void*>(keys.begin(), keys.end()), expected);

    // Removing the entry just returned leaves the walk intact.
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        void* key = nullptr;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        map.RemoveKey(key);
    }
    EXPECT_TRUE(map.IsEmpty());
}

TEST(MapPtrToPtr, WalkFollowsTheBucketsNotInsertion) {
    CMapPtrToPtr map;
    map.InitHashTable(1, 0);
    for (std::size_t i = 1; i <= 3; ++i) {
        map[Ptr(i)] = nullptr;
    }
    // One bucket: its chain starts from the newest entry.
    EXPECT_EQ(WalkKeys(map), (std::vector<void*>{Ptr(3), Ptr(2), Ptr(1)}));
}

TEST(MapStringToPtr, MatchesKeysExactlyWithCase) {
    CMapStringToPtr map(2);
    int a = 0;
    int b = 0;
    map["Key"] = &a;
    map.SetAt("key", &b);
    map.SetAt(nullptr, &a); // the empty key
    void* value = nullptr;
    EXPECT_TRUE(map.Lookup(CString("key"), value));
    EXPECT_EQ(value, &b);
    EXPECT_FALSE(map.Lookup("KEY", value));
    EXPECT_TRUE(map.Lookup("", value));
    EXPECT_FALSE(map.RemoveKey("KEY"));
    EXPECT_TRUE(map.RemoveKey("Key"));

    std::map<CString, void*> seen;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        CString key;
        map.GetNextAssoc(pos, key, value);
        seen[key] = value;
    }
    EXPECT_EQ(seen, (std::map<CString, void*>{{"", &a}, {"key", &b}}));
}
