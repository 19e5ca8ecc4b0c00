#include "plinth/cyclic/zgroup.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

using namespace plinth;

namespace {

int V(const CZGroup& g) {
    return g;
}

} // namespace

// Arithmetic within one turn is compared with a model in cyclic_random_test.cpp; these are
// the single correction, the ranks and the step states.
TEST(CZGroup, NormalisationAssignmentAndArithmetic) {
    EXPECT_TRUE(V(CZGroup(5, -1)) == 4 && V(CZGroup(5, -6)) == -1 && V(CZGroup(5, 7)) == 2);
    CZGroup g(5, 3);
    ++g;
    g = CZGroup(9, -12); // value -3 as it is; the rank stays 5 and the step is forgotten
    EXPECT_TRUE(V(g) == -3 && g.GetRank() == 5 && g.GetIncrementState() == 0 && !g.IsValid());
    const CZGroup zero(7, 0); // the operand's rank is ignored
    EXPECT_TRUE(V(g + zero) == -3 && V(g + 0) == 2 && V(g - zero) == 2); // only F corrects
    EXPECT_THROW(CZGroup(5, 3) / CZGroup(5, 0), CInvalidArgException);
    g = 12;
    EXPECT_TRUE(V(g) == 2 && g == 7 && g == -3 && g != 3); // integers are normalised first
}

TEST(CZGroup, StepsWrapAndRecordTheirDirection) {
    CZGroup g(5, 4);
    EXPECT_TRUE(V(++g) == 0 && g.GetIncrementState() == 1);
    g += 7; // compound forms keep the recorded step
    EXPECT_TRUE(V(g) == 2 && g.GetIncrementState() == 1);
    g -= 2;
    EXPECT_TRUE(V(--g) == 4 && g.GetIncrementState() == 2 && V(g--) == 3);
    CZGroup copy = ++g;
    ++copy; // a copy, not a reference
    EXPECT_EQ(V(g), 4);
    CZGroup one(1);
    EXPECT_TRUE(V(one++) == -1 && one.GetIncrementState() == 0 && one.IsValid());
}

TEST(CZGroup, NeighboursRangesAndStatics) {
    EXPECT_TRUE(CZGroup(2, 0).IsNextAfter(CZGroup(2, 1)) &&
                CZGroup(2, 1).IsNextAfter(CZGroup(2, 0)));
    EXPECT_TRUE(!CZGroup(1, 0).IsNextAfter(CZGroup(1, 0)) && !CZGroup::IsNextAfter(1, 0, 0));
    EXPECT_TRUE(CZGroup(5, 4).IsNextTo(CZGroup(5, 0)) && !CZGroup(5, 4).IsNextAfter(CZGroup(5, 0)));
    EXPECT_TRUE(CZGroup(5, 0).InRangeNoOverflow(-2, 6) && !CZGroup(5, 2).InRangeNoOverflow(-2, 6));
    EXPECT_TRUE(!CZGroup(5, -6).InRangeNoOverflow(0, 4) &&
                !CZGroup(5, 4).InRange(CZGroup(5, 3), CZGroup(5, 1)));
    EXPECT_TRUE(CZGroup::GetMin(5, 4, 0) == 4 && CZGroup::GetMin(5, 0, 4) == 4);
    EXPECT_TRUE(CZGroup::GetMin(5, 1, 3) == 3 && CZGroup::F(-1) == 2 && CZGroup::F(5) == 2);
}

TEST(CZGroup, LoopOverTheWholeCycleVisitsEachElementOnce) {
    for (int n = 1; n <= 6; ++n) {
        int count = 0;
        for (CZGroup i(n); i.IsBeforeIncremental(n, 0) && count <= 10; ++i) {
            EXPECT_EQ(V(i), count++);
        }
        EXPECT_EQ(count, n);
    }
    EXPECT_FALSE(CZGroup(4, 2).IsBeforeIncremental(-2, 0));
}
