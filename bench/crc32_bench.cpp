// Throughput of the CRC-32 paths on a block-sized and a large buffer.
#include "search/crc32tab.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using pellmora::CrcPath;

std::vector<unsigned char> RandomBuffer(size_t length) {
    std::vector<unsigned char> buffer(length);
    std::mt19937 random(1);
    for (auto& b : buffer)
        b = static_cast<unsigned char>(random());
    return buffer;
}

template <typename Fold> void Measure(benchmark::State& state, Fold fold) {
    const std::vector<unsigned char> buffer = RandomBuffer(static_cast<size_t>(state.range(0)));
    uint32_t crc = 0xFFFFFFFF;
    for (auto _ : state) {
        crc = fold(crc, buffer.data(), buffer.size());
        benchmark::DoNotOptimize(crc);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void FoldThroughput(benchmark::State& state, CrcPath path) {
    if (!pellmora::CrcPathAvailable(path)) {
        state.SkipWithError("not supported by this CPU");
        return;
    }
    Measure(state, [path](uint32_t crc, const unsigned char* p, size_t n) {
        return pellmora::CrcFoldBy(path, crc, p, n);
    });
}

// What the program calls: the path chosen once at run time.
void CrcFold(benchmark::State& state) {
    Measure(state, pellmora::CrcFold);
}

} // namespace

BENCHMARK_CAPTURE(FoldThroughput, Table, CrcPath::Table)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK_CAPTURE(FoldThroughput, Slicing, CrcPath::Slicing)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK_CAPTURE(FoldThroughput, Clmul, CrcPath::Clmul)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK_CAPTURE(FoldThroughput, Clmul512, CrcPath::Clmul512)->Arg(64 << 10)->Arg(16 << 20);
BENCHMARK(CrcFold)->Arg(64 << 10)->Arg(16 << 20);

BENCHMARK_MAIN();
