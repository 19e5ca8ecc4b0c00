#include "plinth/cyclic/list_cyclic.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

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
