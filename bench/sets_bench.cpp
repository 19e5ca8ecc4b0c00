#include "plinth/range/set_r1.h"

#include <benchmark/benchmark.h>

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

} // namespace
