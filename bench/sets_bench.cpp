// Interval sets; each pair BM_<case> and BM_<case>_Anchor does the same work through SetR1
// and through boost::icl, and scripts/bench.sh prints their ratio.
#include "plinth/range/set_r1.h"

#include <benchmark/benchmark.h>

#include <boost/icl/interval_set.hpp>
#include <random>
#include <vector>

using namespace plinth;

namespace {

// n intervals of length up to 5 at random places in [0, 10 n): most stay apart, so the set
// grows to about n / 2 intervals.
std::vector<RangeR1> RandomIntervals(int n) {
    std::mt19937 random(12345u);
    std::uniform_real_distribution<double> where(0, 10.0 * n);
    std::uniform_real_distribution<double> length(0, 5);
    std::vector<RangeR1> v;
    for (int i = 0; i < n; ++i) {
        const double lo = where(random);
        v.emplace_back(lo, lo + length(random));
    }
    return v;
}

void BM_Unite(benchmark::State& state) {
    const std::vector<RangeR1> v = RandomIntervals(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SetR1 set;
        for (const RangeR1& r : v) {
            set.Unite(r);
        }
        benchmark::DoNotOptimize(set.GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Unite)->Arg(100)->Arg(1000)->Arg(10000);

// 256 look-ups spread over the whole set, about half of them in a gap.
void BM_FindRange(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    SetR1 set;
    for (const RangeR1& r : RandomIntervals(n)) {
        set.Unite(r);
    }
    std::vector<double> xs;
    for (int i = 0; i < 256; ++i) {
        xs.push_back((i + 0.5) * 10.0 * n / 256);
    }
    for (auto _ : state) {
        int found = 0;
        for (double x : xs) {
            found += set.FindRange(x);
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * 256);
}
BENCHMARK(BM_FindRange)->Arg(100)->Arg(1000)->Arg(10000);

using IclSet = boost::icl::interval_set<double>;
using IclInterval = boost::icl::interval<double>;

constexpr int kSetIntervals = 10000;

void BM_SetFromIntervals(benchmark::State& state) {
    const std::vector<RangeR1> v = RandomIntervals(kSetIntervals);
    for (auto _ : state) {
        SetR1 set;
        set.UniteAll(v.data(), kSetIntervals);
        benchmark::DoNotOptimize(set.GetData());
    }
    state.SetItemsProcessed(state.iterations() * kSetIntervals);
}
BENCHMARK(BM_SetFromIntervals)->Unit(benchmark::kMicrosecond);

void BM_SetFromIntervals_Anchor(benchmark::State& state) {
    const std::vector<RangeR1> v = RandomIntervals(kSetIntervals);
    for (auto _ : state) {
        IclSet set;
        for (const RangeR1& r : v) {
            set += IclInterval::closed(r.lo, r.hi);
        }
        benchmark::DoNotOptimize(set.iterative_size());
    }
    state.SetItemsProcessed(state.iterations() * kSetIntervals);
}
BENCHMARK(BM_SetFromIntervals_Anchor)->Unit(benchmark::kMicrosecond);

// n ordered, disjoint intervals with random lengths and gaps (about as long as each other),
// so that two such sets interleave and overlap often.
SetR1 OrderedSet(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> step(0.1, 5);
    SetR1 set;
    set.SetSize(n);
    double x = 0;
    for (int i = 0; i < n; ++i) {
        const double lo = x + step(random);
        x = lo + step(random);
        set.SetRange(i, lo, x);
    }
    return set;
}

IclSet ToIcl(const SetR1& s) {
    IclSet set;
    for (INT_PTR i = 0; i < s.GetSize(); ++i) {
        set += IclInterval::closed(s[i].lo, s[i].hi);
    }
    return set;
}

void BM_SetUnion(benchmark::State& state) {
    const SetR1 a = OrderedSet(kSetIntervals, 1);
    const SetR1 b = OrderedSet(kSetIntervals, 2);
    for (auto _ : state) {
        SetR1 u(a);
        u.Unite(b);
        benchmark::DoNotOptimize(u.GetData());
    }
    state.SetItemsProcessed(state.iterations() * 2 * kSetIntervals);
}
BENCHMARK(BM_SetUnion)->Unit(benchmark::kMicrosecond);

void BM_SetUnion_Anchor(benchmark::State& state) {
    const IclSet a = ToIcl(OrderedSet(kSetIntervals, 1));
    const IclSet b = ToIcl(OrderedSet(kSetIntervals, 2));
    for (auto _ : state) {
        IclSet u(a);
        u += b;
        benchmark::DoNotOptimize(u.iterative_size());
    }
    state.SetItemsProcessed(state.iterations() * 2 * kSetIntervals);
}
BENCHMARK(BM_SetUnion_Anchor)->Unit(benchmark::kMicrosecond);

} // namespace
