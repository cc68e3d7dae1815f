// The results list's heavy commands over a 500,000-entry result list: column sorts, the
// "Selected:" recount, the age commands and the cleaning. Each should stay well under 1 s.

#include "GeneratedResults.h"
#include "model/SortProcedures.h"
#include "results/SelectionCommands.h"
#include "results/ViewOrderSort.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pellmora;

// Every seventh file ticked, every fifth resolved.
const SearchState& Results() {
    static const SearchState state = [] {
        SearchState s = bench::GeneratedResults(500000, 2);
        s.Locale = LocaleContext(QLocale(QLocale::English, QLocale::UnitedStates));
        for (size_t k = 0; k < s.ResultList.size(); ++k) {
            s.ResultList[k].Checked = k % 7 == 0;
            s.ResultList[k].Resolved = k % 5 == 0;
        }
        return s;
    }();
    return state;
}

// Runs command on a fresh copy of the list each time; only the command is timed.
template <typename Command> void OnCopy(benchmark::State& run, const Command& command) {
    for (auto _ : run) {
        run.PauseTiming();
        SearchState state = Results();
        run.ResumeTiming();
        command(state);
        benchmark::DoNotOptimize(state.ViewOrder.data());
        run.PauseTiming();
        state = SearchState();
        run.ResumeTiming();
    }
}

void BM_SortViewOrder(benchmark::State& run) {
    OnCopy(run, [&](SearchState& s) { SortViewOrder(s, static_cast<int32_t>(run.range(0)), 0); });
}

void BM_SelectionStatsText(benchmark::State& run) {
    for (auto _ : run)
        benchmark::DoNotOptimize(SelectionStatsText(Results()));
}

void BM_LeaveOnlyOldestVersion(benchmark::State& run) {
    OnCopy(run, [](SearchState& s) { LeaveOnlyOldestVersion(s); });
}

void BM_LeaveOnlyNewestVersion(benchmark::State& run) {
    OnCopy(run, [](SearchState& s) { LeaveOnlyNewestVersion(s); });
}

void BM_RemoveResolvedDuplicates(benchmark::State& run) {
    OnCopy(run, [](SearchState& s) {
        CleanupTexts texts;
        RemoveResolvedDuplicates(s, 0, 0, texts);
    });
}

// Columns 0 "File Name", 1 "Path", 4 "Modified".
BENCHMARK(BM_SortViewOrder)->Arg(0)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionStatsText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeaveOnlyOldestVersion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeaveOnlyNewestVersion)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveResolvedDuplicates)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
