#include "plinth/cyclic/range_zgroup.h"
#include "plinth/cyclic/zgroup.h"
#include "plinth/grid/grid1d.h"
#include "plinth/grid/interpolator.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace plinth;

namespace {

// 1024 values over and around a grid on [0, 100].
const std::vector<double>& values() {
    static const std::vector<double> v = [] {
        std::vector<double> r;
        for (int i = 0; i < 1024; ++i) {
            r.push_back(0.1037 * (i % 1013) - 2);
        }
        return r;
    }();
    return v;
}

void BM_CyclicWalk(benchmark::State& state) {
    const int n = 1024;
    for (auto _ : state) {
        long long sum = 0;
        for (CZGroup i(n, 0); i.IsBeforeIncremental(n, 0); ++i) {
            sum += i;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_CyclicWalk);

void BM_CyclicArithmetic(benchmark::State& state) {
    const int n = 97;
    for (auto _ : state) {
        CZGroup g(n, 5);
        int hits = 0;
        for (int d = -n; d < n; ++d) {
            g = g + d - CZGroup(n, d) * g;
            hits += CZGroup::IsNextAfter(n, g, d + n) ? 1 : 0;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * 2 * n);
}
BENCHMARK(BM_CyclicArithmetic);

void BM_CyclicRunMembership(benchmark::State& state) {
    const RangeZGroup run(360, 300, 40);
    for (auto _ : state) {
        int hits = 0;
        for (int i = 0; i < 360; ++i) {
            hits += run.In(i) ? 1 : 0;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * 360);
}
BENCHMARK(BM_CyclicRunMembership);

void BM_GridLocate(benchmark::State& state) {
    const Grid1D grid(0, 100, 250);
    const std::vector<double>& v = values();
    for (auto _ : state) {
        int sum = 0;
        for (double x : v) {
            bool atKnot = false;
            sum += grid.GetSegment(x, &atKnot) + (atKnot ? 1 : 0);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_GridLocate);

void BM_GridNearestKnot(benchmark::State& state) {
    const Grid1D grid(0, 100, 250);
    const std::vector<double>& v = values();
    for (auto _ : state) {
        int sum = 0;
        for (double x : v) {
            sum += grid.GetNearestKnot(x);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_GridNearestKnot);

Interpolator samples(int count) {
    Interpolator in(count - 1, true);
    for (int i = 0; i < count; ++i) {
        in.y[i] = 1.0 / (1 + 0.3 * i * i);
    }
    return in;
}

void BM_Aitken(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    const Interpolator in = samples(k + 1);
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < 64; ++i) {
            sum += in.aitken(0.1 * i, k);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(BM_Aitken)->Arg(2)->Arg(8)->Arg(29);

void BM_DividedDifference(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    const Interpolator in = samples(k + 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(in.Delta(k, 0));
    }
}
BENCHMARK(BM_DividedDifference)->Arg(2)->Arg(8)->Arg(29);

void BM_ThreeSampleExtremum(benchmark::State& state) {
    const RangeR1 r(0, 2);
    Interpolator in;
    in.y[0] = 2;
    in.y[1] = 0;
    in.y[2] = 1;
    for (auto _ : state) {
        double value = 0;
        benchmark::DoNotOptimize(in.GetInternalMinMax(r, value));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ThreeSampleExtremum);

} // namespace
