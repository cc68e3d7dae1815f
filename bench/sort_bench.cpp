// SortIndexList over the whole view of a 500,000-entry result list, as a column sort does it.

#include "GeneratedResults.h"
#include "model/SortProcedures.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pellmora;

const SearchState& Results() {
    static const SearchState state = [] {
        SearchState s = bench::GeneratedResults(500000);
        s.Locale = LocaleContext(QLocale(QLocale::English, QLocale::UnitedStates));
        return s;
    }();
    return state;
}

void SortBy(benchmark::State& run, TFileInfoCompare compare) {
    const SearchState& state = Results();
    for (auto _ : run) {
        run.PauseTiming();
        TSortList order = state.ViewOrder;
        run.ResumeTiming();
        SortIndexList(state.ResultList, order, SortContextOf(state), 0, state.ResultLast, compare,
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
