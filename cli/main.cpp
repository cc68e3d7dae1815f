// pellmora-scan: the search of the window, without a window.

#include "ActRunner.h"
#include "ResultPrinter.h"
#include "ScanOptions.h"
#include "TerminalView.h"
#include "export/ReportFile.h"
#include "model/LocaleContext.h"
#include "model/NativeText.h"
#include "platform/ChecksumCache.h"
#include "platform/DriveList.h"
#include "search/SearchDriver.h"
#include "search/crc32tab.h"

#include <QFile>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace pellmora;

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
    interrupted = 1;
}

void InstallInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// A bare file name means the current folder here, as it does for any command-line tool.
bool ExportReport(const SearchState& state, const cli::ScanOptions& options,
                  const QString& duplicateText) {
    QString name = Decoded(*options.ExportFile);
    if (!name.contains(QLatin1Char('/'))) name.prepend(QStringLiteral("./"));
    const ReportSource source{state, duplicateText, options.Inputs.Directories};
    const ReportOutcome outcome = WriteDuplicateReport(name, source, ReportEnvironment{});
    if (outcome.Ok()) return true;
    const QString text = outcome.Result == ReportOutcome::Status::Failed
                             ? outcome.Text + QLatin1Char('.')
                             : outcome.Text;
    std::fprintf(stderr, "pellmora-scan: %s\n", text.toLocal8Bit().constData());
    return false;
}

// The window passes over a folder that is not there; on the command line that is most often a
// typo, so it gets a line of its own and the exit status says so, as du and ls do.
bool ReportUnsearchableFolders(const std::vector<std::string>& directories) {
    bool failed = false;
    for (const std::string& directory : directories) {
        const int error = DirectoryOpenError(directory);
        if (error == 0) continue;
        std::fprintf(stderr, "pellmora-scan: %s: %s\n", directory.c_str(), std::strerror(error));
        failed = true;
    }
    return failed;
}

// reason names the store (or its folder) and what is wrong with it.
void CacheComplaint(const std::string& reason, bool searching) {
    std::fprintf(stderr, "pellmora-scan: %s%s\n", reason.c_str(),
                 searching ? "; searching without the cache" : "");
}

// The store the search is to use: empty when it was not asked for, or when it cannot be used
// (said once here; the search then reads every file, as without a cache). --cache-clear empties
// the store first; false when that failed.
bool PrepareCache(const cli::ScanOptions& options, std::string& file) {
    file = options.CacheFile.empty() ? ChecksumCache::DefaultFile() : options.CacheFile;
    std::string reason;
    const bool cleared = !options.CacheClear || ChecksumCache::Clear(file, reason);
    if (!cleared) CacheComplaint(reason, false);
    if (!cleared || !options.Cache) {
        file.clear();
    } else if (!ChecksumCache::Open(file, reason)) {
        CacheComplaint(reason, !options.Inputs.Directories.empty());
        file.clear();
    }
    return cleared;
}

// Acts only on the groups of a search that finished: a stopped or failed search may have left
// groups out, and the user asked to stop.
int Act(SearchState& state, const cli::ScanOptions& options, SearchOutcome outcome,
        bool folderFailed) {
    if (outcome == SearchOutcome::Stopped || interrupted) return 130;
    if (outcome == SearchOutcome::Failed) return 1;
    const cli::ActResult acted =
        cli::RunAct(state, options, stdout, stderr, [] { return interrupted != 0; });
    if (acted == cli::ActResult::Stopped || interrupted) return 130;
    return acted == cli::ActResult::SomeFailed || folderFailed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    InstallInterruptHandler();
    // The report is written in the character set of the user's locale; numbers and messages
    // keep the C locale's forms, which scripts parse.
    std::setlocale(LC_CTYPE, "");
    const LocaleContext locale(QLocale::system());
    std::string error;
    const auto options =
        cli::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), locale.Format(), error);
    if (!options) {
        std::fprintf(stderr, "pellmora-scan: %s\n%s", error.c_str(), cli::UsageText());
        return 2;
    }
    if (options->Help) {
        std::fputs(cli::UsageText(), stdout);
        return 0;
    }
    if (options->Version) {
        std::puts("pellmora-scan " PELLMORA_VERSION);
        return 0;
    }

    std::string cacheFile;
    const bool cleared = PrepareCache(*options, cacheFile);
    if (options->CacheClear && options->Inputs.Directories.empty()) return cleared ? 0 : 1;

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    RaiseOpenFileLimit();

    SearchState state;
    state.Locale = locale;
    state.CompareMode = options->CompareMode;
    // For measuring: how many reads the search keeps in flight (0: one at a time).
    if (const char* readers = std::getenv("PELLMORA_READERS"))
        state.ReadersInFlight = std::atoi(readers);
    state.ChecksumCacheFile = cacheFile;
    cli::TerminalView view(state, stderr);
    const EventPump pump = [&] {
        if (interrupted) state.StopFlag = 1;
        view.Tick();
    };
    const bool folderFailed = ReportUnsearchableFolders(options->Inputs.Directories);
    state.StopFlag = 0;
    const SearchOutcome outcome = SearchStart(state, options->Inputs, view, pump);

    if (outcome == SearchOutcome::Refused) return 1;
    if (options->Act) return Act(state, *options, outcome, folderFailed);
    cli::PrintResults(state, options->Format, stdout, !options->Inputs.KeepDirectories.empty());
    std::fflush(stdout);
    if (options->ExportFile && !ExportReport(state, *options, view.DuplicateText())) return 1;
    // A stop after the search (while the list is printed) is still the user's interrupt.
    if (outcome == SearchOutcome::Stopped || interrupted) return 130;
    return outcome == SearchOutcome::Failed || folderFailed ? 1 : 0;
}
