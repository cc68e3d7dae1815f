#pragma once
// The command line of pellmora-scan, turned into the same inputs the window's controls give.

#include "model/SearchInputs.h"

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
    bool Help = false;
    bool Version = false;
};

// Parses argv; on bad options returns nothing and sets error to a one-line reason. Sizes are
// handed on with the decimal separator of numbers, the locale the search reads them in.
std::optional<ScanOptions> ParseOptions(const std::vector<std::string>& args,
                                        const QLocale& numbers, std::string& error);

const char* UsageText();

} // namespace pellmora::cli
