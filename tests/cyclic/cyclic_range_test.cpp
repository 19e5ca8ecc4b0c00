#include "plinth/cyclic/cycl_segment.h"
#include "plinth/cyclic/list_cyclic.h"
#include "plinth/cyclic/range_zgroup.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace plinth;

namespace {

// Six nodes pointing at the values 0 .. 5.
struct Cycle {
    Cycle() {
        for (int i = 0; i < 6; ++i) {
            pos[i] = list.AddTail(&values[i]);
        }
    }
    int values[6] = {0, 1, 2, 3, 4, 5};
    POSITION pos[6];
    ListCyclicNT list;
};

} // namespace

// Counting, indexing and membership of ordinary runs are compared with a model in
// zgroup_test.cpp; these are the states and the end moves.
TEST(RangeZGroup, StatesComplementAndEndMoves) {
    RangeZGroup r(8, 6, 1);
    EXPECT_TRUE(r.Get(3) == 1 && r.Get(4) == -1 && r.Get(-1) == -1 && r.In(-1) && !r.In(3));
    r.SetFull(); // the ends stay, the state decides
    r.GetComplimentary(r);
    EXPECT_TRUE(r.IsEmpty() && r.GetCount() == 0 && !r.In(3) && r.GetEnd(0) == 2);
    EXPECT_TRUE(RangeZGroup(8, 2, 5) == r && RangeZGroup(8, 2, 4) != r); // state not compared
    RangeZGroup full(5);
    full.Set(1, 7, 8); // a rank below 2 changes nothing
    full.Set(-1, 7);   // the state stays
    EXPECT_TRUE(full.IsFull() && full.GetCount() == 5 && full.Get(3) == 3 && full.GetEnd(0) == 4);

    using S = RangeZGroup::EState;
    const std::tuple<unsigned char, int, int, int, S> moves[] = {
        {1, 3, 6, 4, S::eStateRun}, {1, 4, 6, 5, S::eStateFull},  {0, 4, 2, 1, S::eStateEmpty},
        {0, 3, 1, 1, S::eStateRun}, {0, -4, 2, 1, S::eStateFull}, {9, -4, 6, 5, S::eStateEmpty}};
    for (const auto& [which, d, start, end, state] : moves) {
        RangeZGroup run(8, 6, 1);
        run.MoveEnd(which, d);
        EXPECT_TRUE(run.GetEnd(0) == start && run.GetEnd(1) == end && run.GetState() == state)
            << int{which} << " " << d;
    }
    full.MoveEnd(1, 3);
    EXPECT_EQ(full.GetEnd(1), 2);
    RangeZGroup swapped(8, 6, 1);
    swapped.SwapEnds();
    EXPECT_EQ(swapped.GetCount(), 6); // the complement plus both ends
}

TEST(CCyclSegment, StorageFullnessAndTheLoopEndTest) {
    CCyclSegment s(5);
    s.Set(-1, 7);
    EXPECT_TRUE(s.GetA() == 4 && s.GetB() == 2);
    s.Reset();
    s.SetA(2);
    s.SetEmpty(false);
    EXPECT_TRUE(s.GetA() == 2 && s.GetB() == 2);
    s.SetEmpty(true);
    s.Factor(); // reduced, not kept empty
    EXPECT_TRUE(s.GetB() == 4 && !s.IsEmpty());
    s.Set(CZGroup(7, 6), CZGroup(2, -3)); // values 6 and -1, no negative correction
    EXPECT_TRUE(s.GetA() == 1 && s.IsEmpty());
    CCyclSegment two, one(1);
    two.Set(1, 0);
    EXPECT_TRUE(two.IsFull() && !one.IsFull());

    // A full segment and a partial one, walked up from a and down from b.
    const std::tuple<int, int, std::vector<int>, std::vector<int>> walks[] = {
        {5, 2, {3, 4, 0, 1, 2}, {2, 1, 0, 4, 3}}, {6, 0, {3, 4, 5, 0}, {0, 5, 4, 3}}};
    for (const auto& [rank, b, wantUp, wantDown] : walks) {
        CCyclSegment seg(rank);
        seg.Set(3, b);
        std::vector<int> up, down;
        for (CZGroup x(rank, 3); seg.Contains(x) && up.size() < 9; ++x) {
            up.push_back(x);
        }
        for (CZGroup x(rank, b); seg.Contains(x) && down.size() < 9; --x) {
            down.push_back(x);
        }
        EXPECT_TRUE(up == wantUp && down == wantDown) << rank;
    }
}

TEST(ListCyclicNT, StepsAndRemovalsWrapFromTheTailToTheHead) {
    Cycle c;
    POSITION p = c.pos[5];
    EXPECT_TRUE(c.list.GetNextCyclic(p) == &c.values[5] && p == c.pos[0]);
    p = nullptr;
    EXPECT_THROW(c.list.GetNextCyclic(p), CInvalidArgException);

    EXPECT_EQ(c.list.Remove(c.pos[4], c.pos[1]), 3); // one less than the four removed
    EXPECT_TRUE(c.list.GetCount() == 2 && c.list.GetHead() == &c.values[2] && c.values[4] == 4);
    EXPECT_EQ(c.list.Remove(nullptr, c.pos[2]), 0);
    EXPECT_EQ(c.list.Remove(c.pos[2], nullptr), 1); // to the tail

    Cycle same; // `to` is never met: the walk empties the list instead of running on
    EXPECT_TRUE(same.list.Remove(same.pos[1], same.pos[1]) == 5 && same.list.IsEmpty());
}

TEST(ListCyclicNT, InRangeFollowsTheRunAcrossTheSeam) {
    Cycle c;
    RangePos run;
    run.first = c.pos[4];
    run.last = c.pos[1];
    const bool inside[] = {true, true, false, false, true, true};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(c.list.InRange(c.pos[i], run), inside[i]) << i;
    }
    run.last = nullptr;
    EXPECT_FALSE(c.list.InRange(c.pos[4], run) || c.list.InRange(nullptr, run));
}
