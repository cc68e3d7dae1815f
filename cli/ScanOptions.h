#pragma once
// The command line of pellmora-scan, turned into the same inputs the window's controls give.

#include "model/SearchInputs.h"

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
    bool Help = false;
    bool Version = false;
};

// Parses argv; on bad options returns nothing and sets error to a one-line reason.
std::optional<ScanOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

const char* UsageText();

} // namespace pellmora::cli
