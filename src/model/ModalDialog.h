#pragma once
// A dialog as the command behind it sees it: shown modally, it leaves its answer in the
// exchange values (DialogChoice 0 when cancelled or closed; otherwise the dialog's own meaning,
// with DialogPath or RenameAffix as typed or picked).

#include "model/DialogExchange.h"

namespace pellmora {

class ModalDialog {
  public:
    virtual ~ModalDialog() = default;
    virtual void ShowModal(DialogExchange& exchange) = 0;
};

} // namespace pellmora
