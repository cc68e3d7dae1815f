// The checksum store's cost per file: looking a whole search up, size run by size run as a
// search asks, and storing; the store's size per 100,000 files as a counter.
#include "platform/ChecksumCache.h"
#include "platform/FileStamp.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using pellmora::CacheKey;
using pellmora::ChecksumCache;
using pellmora::ContentDigest;

constexpr int Files = 200000;
constexpr int RunLength = 8; // files of one size, one after the other

// A path as long as those of a photo library: folder, subfolder, dated name.
CacheKey Key(int i) {
    return {"/home/someone/Pictures/2023/holiday " + std::to_string(i % 977) + "/IMG_" +
                std::to_string(20230000 + i) + " copy.jpg",
            2049,
            1000000u + i,
            100000 + i / RunLength,
            1700000000123456789 + i,
            1700000000223456789 + i};
}

struct Store {
    std::string folder;
    std::string file;
    Store() {
        char pattern[] = "/tmp/cache_bench_XXXXXX";
        folder = mkdtemp(pattern);
        file = folder + "/checksums.sqlite";
    }
    ~Store() { std::filesystem::remove_all(folder); }
    std::unique_ptr<ChecksumCache> Open() {
        std::string reason;
        return ChecksumCache::Open(file, reason, {5000, 0});
    }
    void Fill(int count) {
        auto cache = Open();
        const ContentDigest d{1, 0x123456789ABCDEFull, 0xFEDCBA987654321ull};
        for (int i = 0; i < count; ++i) {
            const CacheKey key = Key(i);
            cache->StoreFirstBlock(key, d, pellmora::WallClockNs());
            cache->StoreWholeFile(key, d, pellmora::WallClockNs());
        }
        cache->Finish();
    }
};

// Every file of a store as large as the search, in the order of a search's runs: the store
// opened, each size's entries read once.
void FindRunByRunPerFile(benchmark::State& state) {
    Store store;
    store.Fill(Files);
    std::vector<CacheKey> keys;
    for (int i = Files - 1; i >= 0; --i) // largest first, as the runs come
        keys.push_back(Key(i));
    for (auto _ : state) {
        auto cache = store.Open();
        for (const CacheKey& key : keys)
            benchmark::DoNotOptimize(cache->Find(key));
    }
    state.SetItemsProcessed(state.iterations() * Files);
}
BENCHMARK(FindRunByRunPerFile)->Unit(benchmark::kMillisecond);

// Both digests of every file of a first search, written in batches as it goes on, then the
// last batch.
void StoreAndFinishPerFile(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Store store;
        state.ResumeTiming();
        store.Fill(Files);
        state.PauseTiming();
        state.counters["bytes per 100,000 files"] =
            static_cast<double>(std::filesystem::file_size(store.file) * 100000 / Files);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * Files);
}
BENCHMARK(StoreAndFinishPerFile)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
