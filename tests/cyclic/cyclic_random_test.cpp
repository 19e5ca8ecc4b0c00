// The cyclic arithmetic checked against plain modular arithmetic on values within one turn.
#include "plinth/cyclic/cycl_segment.h"
#include "plinth/cyclic/range_zgroup.h"
#include "plinth/cyclic/zgroup.h"

#include <gtest/gtest.h>

#include <random>

using namespace plinth;

namespace {

int Mod(long long v, int n) {
    return static_cast<int>(((v % n) + n) % n);
}

// v lies on the upward walk from a to e.
bool OnWalk(int a, int e, int v, int n) {
    return Mod(v - a, n) <= Mod(e - a, n);
}

} // namespace

TEST(CyclicModel, ArithmeticAndRunsAgreeWithModularArithmetic) {
    std::mt19937 gen(20240917);
    for (int trial = 0; trial < 4000; ++trial) {
        const int n = std::uniform_int_distribution<int>(2, 40)(gen);
        std::uniform_int_distribution<int> turn(-n, 2 * n - 1);
        std::uniform_int_distribution<int> step(-n, n);
        std::uniform_int_distribution<int> index(0, n - 1);
        const int v = turn(gen), w = turn(gen), d = step(gen);
        const CZGroup a(n, v), b(n, w);
        ASSERT_EQ(static_cast<int>(a), Mod(v, n)) << n << " " << v;
        ASSERT_EQ(static_cast<int>(a + d), Mod(Mod(v, n) + d, n));
        ASSERT_EQ(static_cast<int>(a - d), Mod(Mod(v, n) - d, n));
        ASSERT_EQ(static_cast<int>(a - b), Mod(v - w, n));
        ASSERT_EQ(static_cast<int>(a + b), Mod(v + w, n));
        ASSERT_EQ(static_cast<int>(a * b), Mod(1LL * Mod(v, n) * Mod(w, n), n));
        if (Mod(w, n) != 0) {
            ASSERT_EQ(static_cast<int>(a / b), Mod(v, n) / Mod(w, n));
        }
        ASSERT_EQ(CZGroup::IsNextAfter(n, Mod(v, n), Mod(w, n)), Mod(w - v, n) == 1);
        ASSERT_EQ(b.IsNextAfter(a), Mod(w - v, n) == 1);

        const int s = index(gen), e = index(gen), x = index(gen);
        ASSERT_EQ(CZGroup(n, x).InRange(s, e), OnWalk(s, e, x, n)) << n << " " << s << " " << e;
        ASSERT_EQ(CZGroup(n, x).InRangeNoOverflow(s, e), OnWalk(s, e, x, n));
        const RangeZGroup run(n, s, e);
        ASSERT_EQ(run.GetCount(), Mod(e - s, n) + 1);
        ASSERT_EQ(run.In(x), OnWalk(s, e, x, n));
        ASSERT_EQ(run.Get(Mod(x - s, n)), OnWalk(s, e, x, n) ? x : -1);
        RangeZGroup rest;
        run.GetComplimentary(rest);
        if (run.GetCount() < n) { // a run over the whole cycle has itself as complement
            ASSERT_TRUE(rest.GetCount() == n - run.GetCount() && rest.In(x) != run.In(x));
        }
        RangeZGroup moved(run);
        moved += d;
        ASSERT_EQ(moved.GetEnd(0), Mod(s + d, n));
    }
}
