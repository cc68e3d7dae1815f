#pragma once
// "Move to Folder": every ticked file into the folder typed or picked in the dialog, under its
// own name or the first free one.

#include "actions/ActionCommon.h"
#include "actions/ActionDialog.h"

namespace pellmora {

ActionOutcome MoveSelectedFiles(SearchState& state, ActionDialog& dialog, ActionParts& parts);

} // namespace pellmora
