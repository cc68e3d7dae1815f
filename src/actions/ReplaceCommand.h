#pragma once
// The two ways of "Delete Selected" that give the space back and keep every path: each ticked
// file becomes a hard link to a kept copy, or shares the kept copy's data copy-on-write. The
// kept copy is the first unticked, unresolved, unchanged copy of the group (CopyGuard).

#include "actions/ActionCommon.h"
#include "actions/CopyGuard.h"

#include <QString>
#include <optional>
#include <string>

namespace pellmora {

enum class ReplaceWay { HardLink, SharedData };

// Replaces the ticked file at ResultList index (present at path), or in a dry run checks all
// but what only the act can tell; the outcome names the kept copy used.
StepOutcome ReplaceTicked(SearchState& state, const CopyGuard& guard, ReplaceWay way, int32_t index,
                          const std::string& path, bool dryRun = false);

// The end of the summary after "N of M".
const char* ReplaceSummaryTail(ReplaceWay way);

} // namespace pellmora
