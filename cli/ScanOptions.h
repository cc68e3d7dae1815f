#pragma once
// The command line of pellmora-scan, turned into the same inputs the window's controls give.

#include "actions/DeleteCommand.h"
#include "model/SearchInputs.h"
#include "results/SelectionCommands.h"

#include <QLocale>

#include <optional>
#include <string>
#include <vector>

namespace pellmora::cli {

enum class OutputFormat { Text, Tsv, Json };

struct ScanOptions {
    SearchInputs Inputs;
    uint8_t CompareMode = 0;
    OutputFormat Format = OutputFormat::Text;
    std::optional<std::string> ExportFile; // --export: the report's name as given
    bool Cache = false;                    // --cache, or --cache-file
    std::string CacheFile;                 // --cache-file; empty: the default store
    bool CacheClear = false;               // --cache-clear: empty the store before anything
    std::optional<DeleteChoice> Act;       // --act: what happens to every copy but the kept ones
    std::string ActWord;                   // --act's word, as each acted-on line starts
    std::optional<KeepCopyRule> KeepCopy;  // --keep-copy; first when not given
    bool DryRun = false;                   // --dry-run: say what --act would do, change nothing
    bool Help = false;
    bool Version = false;
};

// Parses argv; on bad options returns nothing and sets error to a one-line reason. Sizes are
// handed on with the decimal separator of numbers, the locale the search reads them in.
std::optional<ScanOptions> ParseOptions(const std::vector<std::string>& args,
                                        const QLocale& numbers, std::string& error);

const char* UsageText();

} // namespace pellmora::cli
