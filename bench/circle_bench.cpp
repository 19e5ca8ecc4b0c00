#include "plinth/circle/range_s1.h"
#include "plinth/circle/s1.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace plinth;

namespace {

// 1024 angles spread over several turns either way.
const std::vector<double>& angles() {
    static const std::vector<double> v = [] {
        std::vector<double> r;
        for (int i = 0; i < 1024; ++i) {
            r.push_back(0.0731 * (i % 503) * ((i % 2 == 0) ? 1 : -1));
        }
        return r;
    }();
    return v;
}

// 1024 ordinary arcs, many of them across the seam.
const std::vector<RangeS1>& arcs() {
    static const std::vector<RangeS1> v = [] {
        std::vector<RangeS1> r;
        for (int i = 0; i < 1024; ++i) {
            const double start = 0.37 * (i % 97) - 3;
            r.emplace_back(start, start + 0.3 + 0.11 * (i % 43));
        }
        return r;
    }();
    return v;
}

void BM_Factorize(benchmark::State& state) {
    const std::vector<double>& v = angles();
    for (auto _ : state) {
        double sum = 0;
        for (double a : v) {
            sum += S1::Factorize(a);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_Factorize);

void BM_InRange(benchmark::State& state) {
    const std::vector<RangeS1>& v = arcs();
    for (auto _ : state) {
        int hits = 0;
        for (const RangeS1& r : v) {
            hits += S1::InRange(3.0, r.lo, r.hi, true) ? 1 : 0;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_InRange);

void BM_ArcIn(benchmark::State& state) {
    const std::vector<RangeS1>& v = arcs();
    for (auto _ : state) {
        int hits = 0;
        for (const RangeS1& r : v) {
            hits += r.In(-3.0) ? 1 : 0;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size()));
}
BENCHMARK(BM_ArcIn);

void BM_ArcIntersect(benchmark::State& state) {
    const std::vector<RangeS1>& v = arcs();
    for (auto _ : state) {
        for (std::size_t i = 1; i < v.size(); ++i) {
            RangeS1 a(v[i]);
            RangeS1 b(v[i - 1]);
            benchmark::DoNotOptimize(a.Intersect(b));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(v.size() - 1));
}
BENCHMARK(BM_ArcIntersect);

} // namespace
