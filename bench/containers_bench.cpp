// Each pair BM_<case> and BM_<case>_Anchor runs the same work through the library and through
// what a user would pick instead; scripts/bench.sh prints their ratio.
#include "plinth/containers/bit_array.h"
#include "plinth/containers/hex.h"

#include <benchmark/benchmark.h>

#include <boost/algorithm/hex.hpp>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using namespace plinth;

namespace {

constexpr ULONG kMiB = 1u << 20;

const std::vector<unsigned char>& randomBytes() {
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(kMiB);
        std::mt19937 random(3);
        for (auto& x : b) {
            x = static_cast<unsigned char>(random());
        }
        return b;
    }();
    return bytes;
}

void BM_HexEncode1MiB(benchmark::State& state) {
    const std::vector<unsigned char>& bytes = randomBytes();
    for (auto _ : state) {
        CString text = rtBinaryToString(bytes.data(), kMiB);
        benchmark::DoNotOptimize(text.GetString());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kMiB));
}
BENCHMARK(BM_HexEncode1MiB);

void BM_HexEncode1MiB_Anchor(benchmark::State& state) {
    const std::vector<unsigned char>& bytes = randomBytes();
    for (auto _ : state) {
        std::string text;
        boost::algorithm::hex(bytes.begin(), bytes.end(), std::back_inserter(text));
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kMiB));
}
BENCHMARK(BM_HexEncode1MiB_Anchor);

void BM_HexDecode1MiB(benchmark::State& state) {
    const CString text = rtBinaryToString(randomBytes().data(), kMiB);
    std::vector<unsigned char> out(kMiB);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rtStringToBinary(text.GetString(), kMiB, out.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kMiB));
}
BENCHMARK(BM_HexDecode1MiB);

void BM_HexDecode1MiB_Anchor(benchmark::State& state) {
    const CString text = rtBinaryToString(randomBytes().data(), kMiB);
    const char* begin = text.GetString();
    std::vector<unsigned char> out(kMiB);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            boost::algorithm::unhex(begin, begin + 2 * std::size_t{kMiB}, out.begin()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kMiB));
}
BENCHMARK(BM_HexDecode1MiB_Anchor);

// The allocating form, as used when a row buffer is read back.
void BM_HexDecodeAllocating1MiB(benchmark::State& state) {
    const CString text = rtBinaryToString(randomBytes().data(), kMiB);
    for (auto _ : state) {
        ULONG n = 0;
        unsigned char* bytes = rtStringToBinary(text, n);
        benchmark::DoNotOptimize(bytes);
        delete[] bytes;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kMiB));
}
BENCHMARK(BM_HexDecodeAllocating1MiB);

// 8 Mi bits (1 MiB), all clear but the last one.
void BM_FindFirstBitSparse(benchmark::State& state) {
    std::vector<unsigned char> bytes(kMiB, 0);
    RtBitArray bits(bytes.data(), static_cast<int>(8 * kMiB));
    bits.Set(static_cast<int>(8 * kMiB) - 1, true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(bits.FindFirstBit(true));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kMiB));
}
BENCHMARK(BM_FindFirstBitSparse);

} // namespace
