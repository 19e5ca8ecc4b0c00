#include "plinth/circle/rt_ptr_list_base2.h"
#include "plinth/circle/set_s1.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

using namespace plinth;

namespace {

// An arc that counts the live instances, so that tests see what a list deletes.
struct Arc : RangeS1 {
    Arc(double a, double b)
        : RangeS1(a, b) {
        ++alive;
    }
    ~Arc() override { --alive; }
    static int alive;
};
int Arc::alive = 0;

using List = RtPtrListBase2<RangeS1>;

// Arc k starts at 0.1 k and prints as 'a' + k.
void Fill(List& list, int first, int end) {
    for (int k = first; k < end; ++k) {
        list.AddTail(new Arc(0.1 * k, 0.1 * k + 0.05));
    }
}

// Through the iterators, so that every check on a list's order covers them too.
std::string Text(const List& list) {
    std::string text;
    for (const RangeS1* arc : list) {
        text += static_cast<char>('a' + std::lround(arc->lo * 10));
    }
    return text;
}

// The list owns arcs a b c d; each test leaves every arc in it exactly once.
class RtPtrListBase2Test : public ::testing::Test {
protected:
    void SetUp() override { Fill(list, 0, 4); }
    void TearDown() override {
        list.Clear();
        EXPECT_EQ(Arc::alive, 0);
    }
    POSITION At(int i) const { return list.IndexToPosition(i, nullptr); }

    List list;
};

using Ends = std::vector<std::pair<double, double>>;

Ends EndsOf(const SetS1& set) {
    Ends ends;
    for (const RangeS1* arc : set) {
        ends.emplace_back(std::round(arc->lo * 1e9) / 1e9, std::round(arc->hi * 1e9) / 1e9);
    }
    return ends;
}

class SetS1Test : public ::testing::Test {
protected:
    void TearDown() override {
        set.Clear(); // the set leaves its arcs alone when destroyed
        EXPECT_EQ(Arc::alive, 0);
    }
    void Add(double a, double b) { set.AddTail(new Arc(a, b)); }

    SetS1 set;
};

} // namespace

TEST_F(RtPtrListBase2Test, OnlyTheDeletingOperationsDeleteElements) {
    RangeS1* b = list.GetAtIndex(1);
    RangeS1* c = list.GetAtIndex(2);
    list.Remove(At(1), At(2));
    EXPECT_EQ(Text(list), "ad");
    EXPECT_EQ(list.Remove(c), nullptr); // no longer listed
    EXPECT_EQ(Arc::alive, 4);
    list.AddTail(b);
    list.AddTail(c);
    list.Delete(At(3), At(0), true); // c, then a: the walk wraps
    EXPECT_EQ(Text(list), "db");
    EXPECT_EQ(Arc::alive, 2);
    list.DeleteAll();
    EXPECT_TRUE(list.IsEmpty() && Arc::alive == 0);
}

TEST_F(RtPtrListBase2Test, CyclicWalksCountsAndLookups) {
    POSITION pos = At(3);
    EXPECT_TRUE(list.GetNextCyclic(pos) == list.GetTail() && pos == At(0));
    pos = nullptr;
    EXPECT_EQ(list.GetNextCyclic(pos), nullptr);
    EXPECT_THROW(list.GetPrevCyclic(pos), CInvalidArgException);
    EXPECT_EQ(list.FindCyclic(list.GetAtIndex(1), At(2)), At(1));

    // Counts include both ends and wrap; a null pair means the whole list.
    EXPECT_TRUE(list.Count(At(0), At(3)) == 4 && list.Count(At(3), At(0)) == 2);
    EXPECT_EQ(list.Count(At(2), At(2)), 1);
    EXPECT_TRUE(list.GetItemCount(nullptr, nullptr) == 3 &&
                list.GetRangeCount(nullptr, nullptr) == 4);

    RangeS1* c = list.GetAtIndex(2);
    EXPECT_TRUE(list.AddEx(c, false, true) == nullptr && list.FindIndex(c) == 2); // no duplicate
    RangeS1 stranger;
    unsigned int index = 0;
    EXPECT_TRUE(list.FindItem(&stranger, nullptr, &index) == nullptr && index == 0xFFFFFFFFu);
}

TEST_F(RtPtrListBase2Test, CyclicRunsAndStorageChangeHands) {
    RangeS1* b = list.GetAtIndex(1);
    RangeS1* c = list.GetAtIndex(2);
    const POSITION pc = At(2);
    List run;
    run.MoveCyclic(list, At(3), At(0));
    EXPECT_EQ(Text(run), "da");
    EXPECT_EQ(Text(list), "bc");
    EXPECT_EQ(list.GetAt(pc), c); // positions survive the removal of other nodes

    list.Extend(&run); // takes the nodes and their storage
    EXPECT_TRUE(run.IsEmpty() && run.GetFirstBlock() == nullptr);
    EXPECT_EQ(Text(list), "bcda");
    list.MoveCyclic(list, At(3), At(0)); // within one list the run goes to the tail
    EXPECT_EQ(Text(list), "cdab");
    list.RemoveCyclic(At(3), At(0)); // b, then c
    list.AddTail(b);
    list.AddTail(c);
    EXPECT_EQ(Text(list), "dabc");

    Fill(list, 4, 12); // a second block
    CPlex* firstBlock = list.GetFirstBlock();
    List taken;
    taken.MoveAttributes(list);
    EXPECT_TRUE(list.IsEmpty() && taken.GetFirstBlock() == firstBlock);
    list.Extend(&taken);
    list.Delete(At(4), nullptr, false); // e .. l; their nodes go to the free list
    Fill(list, 4, 6);                   // and come back from it
    EXPECT_EQ(Text(list), "dabcef");
}

TEST_F(RtPtrListBase2Test, CopiesInsertionsAndMovesKeepOrder) {
    List view; // borrows the list's arcs
    view.Copy(list, true, At(1), nullptr);
    EXPECT_EQ(Text(view), "dcb");
    view.Copy(view, false, nullptr, nullptr); // from itself: one round only
    EXPECT_EQ(Text(view), "dcbdcb");
    view.CopyPtrList(list);
    view.InsertList(view.GetHeadPosition(), true, &view);
    EXPECT_EQ(Text(view), "aabcdbcd");
    EXPECT_THROW(view.InsertList(nullptr, false, &list), CInvalidArgException);

    const POSITION pa = At(0), pb = At(1), pc = At(2), pd = At(3);
    list.MoveToHead(pc, nullptr);
    EXPECT_EQ(Text(list), "cdab");
    list.MoveToTail(nullptr, pd);
    EXPECT_EQ(Text(list), "abcd");
    list.MoveToHead(pd, pb); // b does not follow d: nothing
    EXPECT_THROW(list.MoveToTail(pb, nullptr), CInvalidArgException);
    list.MoveToTail(pb, pc);
    list.Reverse();
    EXPECT_EQ(Text(list), "cbda");
    EXPECT_TRUE(list.IsBefore(pc, pa) && !list.IsBefore(pa, pc));
    EXPECT_TRUE(list.IsNeighbourPosns(pb, pd) && list.IsValidList());
}

TEST_F(SetS1Test, InsertSortedKeepsCounterclockwiseOrder) {
    set.InsertSorted(new Arc(2, 2.1));
    set.InsertSorted(new Arc(-2, -1.9));
    set.InsertSorted(new Arc(0, 0.1));
    set.InsertSorted(new Arc(3, -3)); // across the seam
    EXPECT_EQ(EndsOf(set), (Ends{{0, 0.1}, {2, 2.1}, {3, -3}, {-2, -1.9}}));
    EXPECT_TRUE(set.IsSorted());
    EXPECT_THROW(set.InsertSorted(nullptr), CInvalidArgException);
}

TEST_F(SetS1Test, SubtractSplitsAndDeletesArcs) {
    Add(0, 3);
    set.Subtract(RangeS1(1, 2));
    EXPECT_EQ(EndsOf(set), (Ends{{0, 1}, {2, 3}}));
    Add(-1, -0.5);
    set.Subtract(*set.GetHead()); // one of its own arcs: only that one goes
    EXPECT_EQ(EndsOf(set), (Ends{{2, 3}, {-1, -0.5}}));
    EXPECT_EQ(Arc::alive, 1); // [0, 1] was deleted; the set made [2, 3] itself
    set.Subtract(RangeS1(-1.5, 3.1));
    EXPECT_TRUE(set.IsEmpty() && Arc::alive == 0);

    Add(0, 1);
    SetS1 other;
    other.SetFull();
    set.Subtract(other);
    other.Clear();
    EXPECT_TRUE(set.IsEmpty() && Arc::alive == 0);
}

TEST_F(SetS1Test, ValidityOrderAndSingletons) {
    EXPECT_TRUE(set.IsValidEx(EPS) && set.IsSorted() && set.begin() == set.end());
    Add(1, 2);
    EXPECT_TRUE(set.IsSorted());
    Add(1.5, 2.5);
    EXPECT_FALSE(set.IsValidEx(EPS) || set.IsSorted());
    set.Clear();

    for (double x : {0, 2, 1}) { // points are ordered by the points around them
        Add(x, x);
    }
    EXPECT_TRUE(set.IsValidEx(EPS) && !set.IsSorted());
    set.MoveToTail(set.IndexToPosition(1, nullptr), set.IndexToPosition(1, nullptr));
    EXPECT_TRUE(set.IsSorted());

    Add(1.5, 1.55);
    set.RemoveSingletons(0.1);
    EXPECT_TRUE(set.IsEmpty() && Arc::alive == 0);
}
