#pragma once
// pellmora-scan --act: after the search, every copy but the kept ones is ticked and handed to
// the window's own "Delete Selected" command, with every check it makes. Each file acted on gets
// a line "ACT<TAB>PATH<TAB>KEPT COPY" on standard output, each failure a line on standard
// error, and the window's summary ends the run.

#include "ScanOptions.h"
#include "model/DuplicateTypes.h"

#include <cstdio>
#include <functional>

namespace pellmora::cli {

enum class ActResult { AllDone, SomeFailed, Stopped };

// stop is asked before each file: true ends the act after the file in hand.
ActResult RunAct(SearchState& state, const ScanOptions& options, std::FILE* out, std::FILE* err,
                 const std::function<bool()>& stop);

} // namespace pellmora::cli
