// The walk over a generated tree of 50,000 small files in 1,000 folders (warm cache): all files,
// and three extension masks of which two match.

#include "search/FileCollection.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int TopFolders = 50;
constexpr int SubFolders = 20;
constexpr int FilesPerFolder = 50;

const std::string& TreeRoot() {
    static const std::string root = [] {
        std::string pattern = (fs::temp_directory_path() / "pellmora-walk-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        const char* exts[] = {".jpg", ".txt", ".dat", ".png"};
        for (int t = 0; t < TopFolders; ++t)
            for (int s = 0; s < SubFolders; ++s) {
                const fs::path dir =
                    fs::path(pattern) / ("top" + std::to_string(t)) / ("sub" + std::to_string(s));
                fs::create_directories(dir);
                for (int f = 0; f < FilesPerFolder; ++f) {
                    std::ofstream out(dir / ("file" + std::to_string(f) + exts[f % 4]));
                    out << std::string(static_cast<size_t>(1 + (t * 7 + s * 3 + f) % 300), 'x');
                }
            }
        return pattern + "/";
    }();
    return root;
}

void Walk(benchmark::State& bench, const char* masks) {
    pellmora::SearchInputs inputs;
    inputs.Directories = {TreeRoot()};
    inputs.MaskText = masks;
    inputs.ProtectSysFolders = false;
    int64_t files = 0;
    for (auto _ : bench) {
        pellmora::SearchState state;
        pellmora::ResetSearchState(state);
        state.StopFlag = 0;
        pellmora::ReadSizeLimits(state, inputs, QLocale::c());
        pellmora::SplitMasks(state, inputs.MaskText);
        pellmora::CollectListedDirectories(state, inputs,
                                           pellmora::OperationControl(state.StopFlag, {}));
        files = state.ScanLast + 1;
        benchmark::DoNotOptimize(state.ScanList.data());
    }
    bench.counters["files"] = static_cast<double>(files);
    bench.SetItemsProcessed(bench.iterations() * files);
}

void BM_WalkAllFiles(benchmark::State& bench) {
    Walk(bench, "*.*");
}
void BM_WalkThreeMasks(benchmark::State& bench) {
    Walk(bench, "*.jpg|*.png|*.gif");
}

BENCHMARK(BM_WalkAllFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkThreeMasks)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TreeRoot();
    benchmark::RunSpecifiedBenchmarks();
    std::error_code ec;
    fs::remove_all(TreeRoot(), ec);
    benchmark::Shutdown();
    return 0;
}
