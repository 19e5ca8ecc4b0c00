// The platform services against what a user would pick instead, on the same data in the same
// process. Each pair is BM_<case> and BM_<case>_Anchor; scripts/bench.sh prints their ratio.
#include "plinth/platform/archive.h"
#include "plinth/platform/maps.h"
#include "plinth/platform/memfile.h"
#include "plinth/platform/ptr_list.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <list>
#include <unordered_map>
#include <vector>

using namespace plinth;

namespace {

constexpr int kDoubles = 1 << 20;
constexpr int kListItems = 1 << 20;
constexpr int kMapItems = 1 << 18;
constexpr UINT kMapBuckets = 393241; // a prime about 1.5 times the entries

const std::vector<double>& doubles() {
    static const std::vector<double> v = [] {
        std::vector<double> d(kDoubles);
        for (int i = 0; i < kDoubles; ++i) {
            d[i] = 0.1234567 * i - 17;
        }
        return d;
    }();
    return v;
}

// The archive's bytes of the doubles: 8 little-endian bytes each.
const std::vector<BYTE>& storedDoubles() {
    static const std::vector<BYTE> bytes = [] {
        std::vector<BYTE> b(sizeof(double) * kDoubles);
        std::memcpy(b.data(), doubles().data(), b.size());
        return b;
    }();
    return bytes;
}

// ---- CArchive, one value at a time

void BM_ArchiveStoreDoubles(benchmark::State& state) {
    const std::vector<double>& v = doubles();
    for (auto _ : state) {
        CMemFile file(1 << 16);
        {
            CArchive ar(&file, CArchive::store);
            for (const double d : v) {
                ar << d;
            }
        }
        benchmark::DoNotOptimize(file.GetLength());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(sizeof(double)) * kDoubles);
}
BENCHMARK(BM_ArchiveStoreDoubles)->Unit(benchmark::kMicrosecond);

void BM_ArchiveStoreDoubles_Anchor(benchmark::State& state) {
    const std::vector<double>& v = doubles();
    for (auto _ : state) {
        std::vector<BYTE> buffer;
        std::size_t used = 0;
        for (const double d : v) {
            if (buffer.size() - used < sizeof d) {
                buffer.resize(buffer.size() + (1 << 16));
            }
            std::memcpy(buffer.data() + used, &d, sizeof d);
            used += sizeof d;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(sizeof(double)) * kDoubles);
}
BENCHMARK(BM_ArchiveStoreDoubles_Anchor)->Unit(benchmark::kMicrosecond);

void BM_ArchiveLoadDoubles(benchmark::State& state) {
    std::vector<BYTE> bytes = storedDoubles();
    std::vector<double> out(kDoubles);
    for (auto _ : state) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        for (double& d : out) {
            ar >> d;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
}
BENCHMARK(BM_ArchiveLoadDoubles)->Unit(benchmark::kMicrosecond);

void BM_ArchiveLoadDoubles_Anchor(benchmark::State& state) {
    const std::vector<BYTE>& bytes = storedDoubles();
    std::vector<double> out(kDoubles);
    for (auto _ : state) {
        const BYTE* in = bytes.data();
        for (double& d : out) {
            std::memcpy(&d, in, sizeof d);
            in += sizeof d;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
}
BENCHMARK(BM_ArchiveLoadDoubles_Anchor)->Unit(benchmark::kMicrosecond);

// ---- Pointer list: append at the tail, then take everything from the head

void* item(int i) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(i) * 16 + 16);
}

void BM_PtrListAppendRemove(benchmark::State& state) {
    for (auto _ : state) {
        CPtrList list;
        for (int i = 0; i < kListItems; ++i) {
            list.AddTail(item(i));
        }
        std::uintptr_t sum = 0;
        while (!list.IsEmpty()) {
            sum += reinterpret_cast<std::uintptr_t>(list.RemoveHead());
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kListItems);
}
BENCHMARK(BM_PtrListAppendRemove)->Unit(benchmark::kMicrosecond);

void BM_PtrListAppendRemove_Anchor(benchmark::State& state) {
    for (auto _ : state) {
        std::list<void*> list;
        for (int i = 0; i < kListItems; ++i) {
            list.push_back(item(i));
        }
        std::uintptr_t sum = 0;
        while (!list.empty()) {
            sum += reinterpret_cast<std::uintptr_t>(list.front());
            list.pop_front();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kListItems);
}
BENCHMARK(BM_PtrListAppendRemove_Anchor)->Unit(benchmark::kMicrosecond);

// ---- Pointer map: insert every key, then look every key up; both sized for the entries

const std::vector<void*>& mapKeys() {
    static const std::vector<void*> keys = [] {
        // Addresses of 32-byte objects, as pointers to nodes of a model would be.
        std::vector<void*> k(kMapItems);
        for (int i = 0; i < kMapItems; ++i) {
            k[i] = reinterpret_cast<void*>(std::uintptr_t{0x7f0000000000} + 32u * i);
        }
        return k;
    }();
    return keys;
}

void BM_PtrMapInsertLookup(benchmark::State& state) {
    const std::vector<void*>& keys = mapKeys();
    for (auto _ : state) {
        CMapPtrToPtr map;
        map.InitHashTable(kMapBuckets);
        for (void* key : keys) {
            map.SetAt(key, key);
        }
        std::uintptr_t sum = 0;
        for (void* key : keys) {
            void* value = nullptr;
            map.Lookup(key, value);
            sum += reinterpret_cast<std::uintptr_t>(value);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kMapItems);
}
BENCHMARK(BM_PtrMapInsertLookup)->Unit(benchmark::kMicrosecond);

void BM_PtrMapInsertLookup_Anchor(benchmark::State& state) {
    const std::vector<void*>& keys = mapKeys();
    for (auto _ : state) {
        std::unordered_map<void*, void*> map;
        map.reserve(kMapItems);
        for (void* key : keys) {
            map[key] = key;
        }
        std::uintptr_t sum = 0;
        for (void* key : keys) {
            const auto found = map.find(key);
            sum += reinterpret_cast<std::uintptr_t>(found == map.end() ? nullptr : found->second);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kMapItems);
}
BENCHMARK(BM_PtrMapInsertLookup_Anchor)->Unit(benchmark::kMicrosecond);

} // namespace
