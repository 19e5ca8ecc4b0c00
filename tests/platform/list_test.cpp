#include "plinth/platform/exceptions.h"
#include "plinth/platform/list.h"
#include "plinth/platform/ptr_list.h"
#include "plinth/platform/typed_ptr.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plinth;

namespace {

std::vector<int> Values(const CList<int, int>& list) {
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        out.push_back(list.GetNext(pos));
    }
    return out;
}

struct Counted {
    static int live;
    int value;
    explicit Counted(int v)
        : value(v) {
        ++live;
    }
    Counted(const Counted& other)
        : Counted(other.value) {}
    Counted& operator=(const Counted&) = default;
    ~Counted() { --live; }
    bool operator==(const Counted& other) const { return value == other.value; }
};
int Counted::live = 0;

struct Item : CObject {};

} // namespace

TEST(List, PositionsSurviveOtherInsertionsAndRemovals) {
    CList<int, int> list;
    const POSITION a = list.AddTail(1);
    const POSITION b = list.AddTail(2);
    const POSITION c = list.AddTail(3);
    list.InsertBefore(b, 10);
    list.InsertAfter(b, 20);
    list.RemoveAt(a);
    EXPECT_EQ(list.RemoveHead(), 10);
    EXPECT_EQ(list.GetAt(b), 2);
    POSITION pos = c;
    EXPECT_EQ(list.GetPrev(pos), 3);
    EXPECT_EQ(list.GetPrev(pos), 20);
    EXPECT_EQ(pos, b);
    // A null position inserts at the ends.
    list.InsertBefore(nullptr, 0);
    list.InsertAfter(nullptr, 9);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 2, 20, 3, 9}));
}

TEST(List, FindStartsAfterThePositionAndFindIndexStaysInRange) {
    CList<int, int> list;
    for (int v : {7, 8, 7, 9}) {
        list.AddTail(v);
    }
    const POSITION first = list.Find(7);
    EXPECT_EQ(first, list.GetHeadPosition());
    const POSITION second = list.Find(7, first);
    EXPECT_EQ(second, list.FindIndex(2));
    EXPECT_EQ(list.Find(7, second), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);
    EXPECT_EQ(list.FindIndex(4), nullptr);
}

TEST(List, MissingElementsAndNullPositionsRaiseAndChangeNothing) {
    CList<int, int> list;
    EXPECT_THROW(list.GetHead(), CInvalidArgException);
    EXPECT_THROW(list.RemoveTail(), CInvalidArgException);
    list.AddTail(1);
    POSITION none = nullptr;
    EXPECT_THROW(list.GetNext(none), CInvalidArgException);
    EXPECT_THROW(list.SetAt(nullptr, 2), CInvalidArgException);
    EXPECT_THROW(list.RemoveAt(nullptr), CInvalidArgException);
    EXPECT_THROW(list.AddTail(static_cast<CList<int, int>*>(nullptr)), CInvalidArgException);
    EXPECT_EQ(Values(list), (std::vector<int>{1}));
    EXPECT_THROW(CPtrList(0), CInvalidArgException);
}

TEST(List, ValuesAreConstructedWhenAddedAndDestroyedWhenRemoved) {
    Counted::live = 0;
    {
        CList<Counted> list(2); // blocks of two: nodes are freed and reused
        list.AddTail(Counted(1));
        list.AddTail(Counted(2));
        const POSITION pos = list.AddHead(Counted(3));
        EXPECT_EQ(Counted::live, 3);
        EXPECT_EQ(list.Find(Counted(2)), list.GetTailPosition());
        list.RemoveAt(pos);
        EXPECT_EQ(Counted::live, 2);
        // Whole lists, this one included, are added in their order.
        list.AddTail(&list);
        list.AddHead(&list);
        EXPECT_EQ(Counted::live, 8);
        EXPECT_EQ(list.GetTail().value, 2);
        EXPECT_EQ(list.RemoveTail().value, 2);
        EXPECT_EQ(Counted::live, 7);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(TypedPtrList, GivesTypedElementsOverPointerLists) {
    Item one;
    Item two;
    CTypedPtrList<CObList, Item*> items;
    items.AddTail(&one);
    EXPECT_EQ(items.Find(&two), nullptr);
    items.AddHead(&two);
    EXPECT_EQ(items.GetHead(), &two);
    EXPECT_EQ(items.RemoveTail(), &one);
}
