#include "plinth/range/range_r1.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace plinth;

namespace {

// 1024 intervals of assorted lengths and positions, many of them overlapping.
const std::vector<RangeR1>& intervals() {
    static const std::vector<RangeR1> v = [] {
        std::vector<RangeR1> r;
        for (int i = 0; i < 1024; ++i) {
            const double lo = 0.37 * (i % 97) - 10;
            r.emplace_back(lo, lo + 0.5 + 0.13 * (i % 31));
        }
        return r;
    }();
    return v;
}

void BM_Construct(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = 0; i < 1024; ++i) {
            RangeR1 r(i, i + 1.5);
            benchmark::DoNotOptimize(r);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_Construct);

void BM_In(benchmark::State& state) {
    const std::vector<RangeR1>& v = intervals();
    for (auto _ : state) {
        int hits = 0;
        for (const RangeR1& r : v) {
            hits += r.In(0.5, EPS) ? 1 : 0;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_In);

void BM_Intersect(benchmark::State& state) {
    const std::vector<RangeR1>& v = intervals();
    for (auto _ : state) {
        for (std::size_t i = 1; i < v.size(); ++i) {
            RangeR1 r(v[i]);
            benchmark::DoNotOptimize(r.Intersect(v[i - 1]));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size() - 1));
}
BENCHMARK(BM_Intersect);

void BM_Subtract(benchmark::State& state) {
    const std::vector<RangeR1>& v = intervals();
    for (auto _ : state) {
        for (std::size_t i = 1; i < v.size(); ++i) {
            RangeR1 r(v[i]);
            RangeR1 cut(v[i - 1]);
            benchmark::DoNotOptimize(r.Subtract(cut));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size() - 1));
}
BENCHMARK(BM_Subtract);

void BM_GetDist(benchmark::State& state) {
    const std::vector<RangeR1>& v = intervals();
    for (auto _ : state) {
        double sum = 0;
        for (const RangeR1& r : v) {
            double nearest = 0;
            sum += r.GetDist(1.25, &nearest) + nearest;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_GetDist);

void BM_GetSegm(benchmark::State& state) {
    const RangeR1 grid(-10, 30);
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < 1024; ++i) {
            bool exact = false;
            sum += grid.GetSegm(-10 + 0.039 * i, 64, &exact) + (exact ? 1 : 0);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_GetSegm);

} // namespace
