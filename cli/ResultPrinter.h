#pragma once
// The result list on standard output, in result-list order. Paths are written as their raw
// bytes (text, tsv) so that a name that is not UTF-8 can still be used by a script.

#include "ScanOptions.h"
#include "model/DuplicateTypes.h"

#include <cstdio>

namespace pellmora::cli {

// withKept: json gives each group its "kept" paths as well.
void PrintResults(const SearchState& state, OutputFormat format, std::FILE* out,
                  bool withKept = false);

} // namespace pellmora::cli
