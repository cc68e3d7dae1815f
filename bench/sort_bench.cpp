// SortIndexList over the whole view of a 500,000-entry result list, as a column sort does it.

#include "GeneratedResults.h"
#include "model/SortProcedures.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pellmora;

const SearchState& Results() {
    static const SearchState state = bench::GeneratedResults(500000);
    return state;
}

void SortBy(benchmark::State& run, TFileInfoCompare compare) {
    const SearchState& state = Results();
    SetCollationLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    for (auto _ : run) {
        run.PauseTiming();
        TSortList order = state.ViewOrder;
        run.ResumeTiming();
        SortIndexList(state.ResultList, order, state.DirTable, 0, state.ResultLast, compare,
                      static_cast<uint8_t>(run.range(0)), {});
        benchmark::DoNotOptimize(order.data());
    }
}

void BM_SortIndexListByName(benchmark::State& run) {
    SortBy(run, &CompareFileName);
}
void BM_SortIndexListByPath(benchmark::State& run) {
    SortBy(run, &CompareDirectory);
}
void BM_SortIndexListByDate(benchmark::State& run) {
    SortBy(run, &CompareFileDate);
}

BENCHMARK(BM_SortIndexListByName)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortIndexListByPath)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortIndexListByDate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
