#pragma once
// The dialog that asks for the report file, as the export command sees it: shown modally, it
// leaves its answer in the exchange values (DialogChoice 1 and DialogPath after "OK").

#include "model/ModalDialog.h"

namespace pellmora {

using ExportDialog = ModalDialog;

} // namespace pellmora
