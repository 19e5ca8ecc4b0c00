#include "plinth/platform/exceptions.h"
#include "plinth/platform/iterators.h"
#include "plinth/platform/list.h"
#include "plinth/platform/maps.h"
#include "plinth/platform/ptr_array.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/typed_ptr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

using namespace plinth;

namespace {

template <class IT>
using Category = typename std::iterator_traits<IT>::iterator_category;

// Lists walk by reference both ways (the tests write through them); typed containers yield
// values and are input iterators.
static_assert(std::is_same_v<Category<CList<int>::iterator>, std::bidirectional_iterator_tag>);
static_assert(
    std::is_same_v<std::iterator_traits<CList<int>::const_iterator>::reference, const int&>);
using IntPtrList = CTypedPtrList<CPtrList, int*>;
using IntPtrArray = CTypedPtrArray<CPtrArray, int*>;
static_assert(std::is_same_v<Category<IntPtrList::iterator>, std::input_iterator_tag>);
static_assert(std::is_same_v<Category<IntPtrArray::iterator>, std::input_iterator_tag>);
static_assert(std::is_same_v<std::iterator_traits<IntPtrArray::iterator>::reference, int*>);
static_assert(std::is_same_v<std::iterator_traits<CMapStringToPtr::iterator>::value_type,
                             std::pair<CString, void*>>);
static_assert(std::is_same_v<Category<CMapPtrToPtr::iterator>, std::input_iterator_tag>);
static_assert(std::is_convertible_v<CList<int>::iterator, CList<int>::const_iterator>);
static_assert(!std::is_convertible_v<CList<int>::const_iterator, CList<int>::iterator>);

template <class RANGE>
auto Collect(const RANGE& range) {
    std::vector<std::decay_t<decltype(*std::begin(range))>> out;
    for (const auto& x : range) {
        out.push_back(x);
    }
    return out;
}

void* Ptr(std::size_t n) {
    return reinterpret_cast<void*>(n * 16);
}

} // namespace

TEST(ArrayIteration, PointersMatchIndexesAndServeTheAlgorithms) {
    CArray<int> a;
    EXPECT_EQ(a.begin(), a.end());
    for (int x : {3, 5, 8, 13}) {
        a.Add(x);
    }
    for (int& x : a) {
        x *= 2;
    }
    const CArray<int>& c = a;
    EXPECT_EQ(Collect(c), (std::vector<int>{6, 10, 16, 26}));
    EXPECT_EQ(std::find_if(c.begin(), c.end(), [](int x) { return x > 10; }) - c.begin(), 2);

    CStringArray strings;
    strings.Add("b");
    strings.Add("a");
    std::sort(strings.begin(), strings.end(),
              [](const CString& x, const CString& y) { return x.Compare(y) < 0; });
    EXPECT_STREQ(strings[0], "a");
    EXPECT_STREQ(strings[1], "b");
}

TEST(ListIteration, WalksInOrderBothWaysAndStaysOnItsNode) {
    CList<int> list;
    EXPECT_EQ(list.begin(), list.end());
    for (int x : {1, 2, 4, 7, 11}) {
        list.AddTail(x);
    }
    for (int& x : list) {
        x += 1;
    }
    const CList<int>& c = list;
    EXPECT_EQ(Collect(c), (std::vector<int>{2, 3, 5, 8, 12}));

    // Backward from the end: the tail first, as GetPrev walks.
    std::vector<int> backward(std::make_reverse_iterator(c.end()),
                              std::make_reverse_iterator(c.begin()));
    EXPECT_EQ(backward, (std::vector<int>{12, 8, 5, 3, 2}));

    // An iterator stands on its node while others come and go.
    CList<int>::iterator five =
        std::find_if(list.begin(), list.end(), [](int x) { return x == 5; });
    ASSERT_NE(five, list.end());
    EXPECT_EQ(five.Position(), list.FindIndex(2));
    list.RemoveHead();
    list.AddHead(0);
    list.RemoveTail();
    EXPECT_EQ(*five, 5);
    EXPECT_EQ(*++five, 8);
    EXPECT_EQ(++five, list.end());
    CList<int>::const_iterator end = five;
    EXPECT_EQ(end, c.end());

    // Past the end is the walk's own error.
    EXPECT_THROW(*list.end(), CInvalidArgException);
    EXPECT_THROW(++list.end(), CInvalidArgException);
}

TEST(PointerIteration, TypedContainersYieldTypedPointersAndUntypedListsTheirSlots) {
    int values[3] = {10, 20, 30};
    IntPtrList list;
    IntPtrArray array;
    EXPECT_TRUE(list.begin() == list.end() && array.begin() == array.end());
    const CObList objects;
    EXPECT_EQ(objects.begin(), objects.end());
    for (int& v : values) {
        list.AddTail(&v);
        array.Add(&v);
    }
    const std::vector<int*> inOrder{&values[0], &values[1], &values[2]};
    EXPECT_TRUE(Collect(list) == inOrder && Collect(array) == inOrder);
    EXPECT_EQ(*std::find_if(list.begin(), list.end(), [](int* p) { return *p > 15; }), &values[1]);
    EXPECT_THROW(*array.end(), CInvalidArgException);

    // Writing through an untyped list's slot replaces the element.
    CPtrList& untyped = list;
    for (void*& p : untyped) {
        p = &values[0];
    }
    EXPECT_EQ(Collect(list), (std::vector<int*>(3, &values[0])));
}

TEST(MapIteration, YieldsEveryEntryInTheGetNextAssocOrder) {
    CMapPtrToPtr map;
    EXPECT_EQ(map.begin(), map.end());
    std::vector<std::pair<void*, void*>> walked;
    for (std::size_t k = 1; k <= 40; ++k) {
        map[Ptr(k)] = Ptr(k + 100);
    }
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        std::pair<void*, void*> entry;
        map.GetNextAssoc(pos, entry.first, entry.second);
        walked.push_back(entry);
    }
    EXPECT_EQ(Collect(map), walked);
    CMapPtrToPtr::iterator it = map.begin();
    CMapPtrToPtr::iterator copy = it++;
    EXPECT_TRUE(copy == map.begin() && *copy == walked[0] && *it == walked[1]);
    EXPECT_EQ(it->second, walked[1].second);

    CMapStringToPtr names;
    names["one"] = Ptr(1);
    names["two"] = Ptr(2);
    names[""] = Ptr(0);
    std::map<std::string, void*> seen;
    for (const auto& [key, value] : names) {
        seen.emplace(static_cast<LPCTSTR>(key), value);
    }
    EXPECT_EQ(seen, (std::map<std::string, void*>{{"", Ptr(0)}, {"one", Ptr(1)}, {"two", Ptr(2)}}));
}
