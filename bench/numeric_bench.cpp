#include "plinth/numeric/rounding.h"
#include "plinth/numeric/sorted_array.h"
#include "plinth/numeric/tolerance.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace plinth;

namespace {

// 1000 ascending nodes and query values spread over (and a little beyond) their span.
struct Samples {
    std::vector<double> nodes;
    std::vector<double> queries;
    Samples() {
        for (int i = 0; i < 1000; ++i) {
            nodes.push_back(0.25 * i + 1e-3 * (i % 7));
            queries.push_back(0.2503 * i - 1.0);
        }
    }
};

const Samples& samples() {
    static const Samples s;
    return s;
}

void BM_zEqual(benchmark::State& state) {
    const std::vector<double>& q = samples().queries;
    for (auto _ : state) {
        int equal = 0;
        for (std::size_t i = 1; i < q.size(); ++i) {
            equal += zEqual(q[i], q[i - 1] + 0.2503) ? 1 : 0;
        }
        benchmark::DoNotOptimize(equal);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(q.size() - 1));
}
BENCHMARK(BM_zEqual);

void BM_zModulod(benchmark::State& state) {
    const std::vector<double>& q = samples().queries;
    for (auto _ : state) {
        double sum = 0;
        for (double x : q) {
            sum += zModulod(x, 0.1);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(q.size()));
}
BENCHMARK(BM_zModulod);

void BM_zFactorN(benchmark::State& state) {
    const std::vector<double>& q = samples().queries;
    for (auto _ : state) {
        int sum = 0;
        for (double x : q) {
            sum += zFactorN(x, 0.1);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(q.size()));
}
BENCHMARK(BM_zFactorN);

void BM_zFindSegment(benchmark::State& state) {
    const Samples& s = samples();
    const int last = static_cast<int>(s.nodes.size()) - 1;
    for (auto _ : state) {
        int sum = 0;
        for (double x : s.queries) {
            sum += zFindSegment(x, s.nodes.data(), 0, last);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(s.queries.size()));
}
BENCHMARK(BM_zFindSegment);

} // namespace
