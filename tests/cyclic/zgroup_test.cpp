#include "plinth/cyclic/range_zgroup.h"
#include "plinth/cyclic/zgroup.h"
#include "plinth/platform/exceptions.h"

#include <gtest/gtest.h>

#include <random>

using namespace plinth;

namespace {

int V(const CZGroup& g) {
    return g;
}

int Mod(long long v, int n) {
    return static_cast<int>(((v % n) + n) % n);
}

// v lies on the upward walk from a to e.
bool OnWalk(int a, int e, int v, int n) {
    return Mod(v - a, n) <= Mod(e - a, n);
}

} // namespace

// Arithmetic within one turn and ordinary runs are compared with plain modular arithmetic in
// the model test at the end; the other tests are the single correction, the ranks and the
// step states.
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

    for (int n = 1; n <= 6; ++n) { // a loop over the whole cycle visits each element once
        int count = 0;
        for (CZGroup i(n); i.IsBeforeIncremental(n, 0) && count <= 10; ++i) {
            EXPECT_EQ(V(i), count++);
        }
        EXPECT_EQ(count, n);
    }
    EXPECT_FALSE(CZGroup(4, 2).IsBeforeIncremental(-2, 0));
}

TEST(CZGroup, NeighboursRangesAndStatics) {
    EXPECT_TRUE(!CZGroup(1, 0).IsNextAfter(CZGroup(1, 0)) && !CZGroup::IsNextAfter(1, 0, 0));
    EXPECT_TRUE(CZGroup(5, 4).IsNextTo(CZGroup(5, 0)) && !CZGroup(5, 4).IsNextAfter(CZGroup(5, 0)));
    EXPECT_TRUE(CZGroup(5, 0).InRangeNoOverflow(-2, 6) && !CZGroup(5, 2).InRangeNoOverflow(-2, 6));
    EXPECT_TRUE(!CZGroup(5, -6).InRangeNoOverflow(0, 4) &&
                !CZGroup(5, 4).InRange(CZGroup(5, 3), CZGroup(5, 1)));
    EXPECT_TRUE(CZGroup::GetMin(5, 4, 0) == 4 && CZGroup::GetMin(5, 0, 4) == 4);
    EXPECT_TRUE(CZGroup::GetMin(5, 1, 3) == 3 && CZGroup::F(-1) == 2 && CZGroup::F(5) == 2);
}

TEST(CyclicModel, ArithmeticAndRunsAgreeWithModularArithmetic) {
    std::mt19937 gen(20240917);
    for (int trial = 0; trial < 4000; ++trial) {
        const int n = std::uniform_int_distribution<int>(2, 40)(gen);
        std::uniform_int_distribution<int> turn(-n, 2 * n - 1), step(-n, n), index(0, n - 1);
        const int v = turn(gen), w = turn(gen), d = step(gen);
        const int s = index(gen), e = index(gen), x = index(gen);
        const CZGroup a(n, v), b(n, w);
        SCOPED_TRACE(::testing::Message()
                     << n << ": " << v << " " << w << " " << d << " " << s << " " << e << " " << x);
        ASSERT_EQ(V(a), Mod(v, n));
        ASSERT_EQ(V(a + d), Mod(Mod(v, n) + d, n));
        ASSERT_EQ(V(a - d), Mod(Mod(v, n) - d, n));
        ASSERT_EQ(V(a - b), Mod(v - w, n));
        ASSERT_EQ(V(a + b), Mod(v + w, n));
        ASSERT_EQ(V(a * b), Mod(1LL * Mod(v, n) * Mod(w, n), n));
        if (Mod(w, n) != 0) {
            ASSERT_EQ(V(a / b), Mod(v, n) / Mod(w, n));
        }
        ASSERT_EQ(CZGroup::IsNextAfter(n, Mod(v, n), Mod(w, n)), Mod(w - v, n) == 1);
        ASSERT_EQ(b.IsNextAfter(a), Mod(w - v, n) == 1);

        const bool on = OnWalk(s, e, x, n);
        ASSERT_EQ(CZGroup(n, x).InRange(s, e), on);
        ASSERT_EQ(CZGroup(n, x).InRangeNoOverflow(s, e), on);
        RangeZGroup run(n, s, e), rest;
        ASSERT_EQ(run.GetCount(), Mod(e - s, n) + 1);
        ASSERT_EQ(run.In(x), on);
        ASSERT_EQ(run.Get(Mod(x - s, n)), on ? x : -1);
        run.GetComplimentary(rest);
        if (run.GetCount() < n) { // a run over the whole cycle has itself as complement
            ASSERT_TRUE(rest.GetCount() == n - run.GetCount() && rest.In(x) != on);
        }
        run += d;
        ASSERT_EQ(run.GetEnd(0), Mod(s + d, n));
    }
}
