#pragma once
// The status line both fronts show while the walk runs.

#include "model/DuplicateTypes.h"

#include <QString>

namespace pellmora {

// Scan "folder"...  N Files: the folder being listed and the files taken so far.
QString ScanStatusText(const SearchState& state);

} // namespace pellmora
