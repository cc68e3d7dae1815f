#pragma once
// The dialogs of the file actions as their commands see them.

#include "model/ModalDialog.h"

#include <cstdint>

namespace pellmora {

// The move and rename dialogs: DialogPath or RenameAffix as typed.
using ActionDialog = ModalDialog;

// The delete dialog also warns how many groups would lose every copy.
class DeleteDialog {
  public:
    virtual ~DeleteDialog() = default;
    virtual void ShowModal(DialogExchange& exchange, int32_t groupsLeftWithoutCopy) = 0;
};

} // namespace pellmora
