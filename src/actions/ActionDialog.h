#pragma once
// A file action's dialog as its command sees it: shown modally, it leaves its answer in the
// exchange values (DialogChoice 0 when cancelled or closed, DialogPath or RenameAffix as typed).

#include "model/DialogExchange.h"

#include <cstdint>

namespace pellmora {

class ActionDialog {
  public:
    virtual ~ActionDialog() = default;
    virtual void ShowModal(DialogExchange& exchange) = 0;
};

// The delete dialog also warns how many groups would lose every copy.
class DeleteDialog {
  public:
    virtual ~DeleteDialog() = default;
    virtual void ShowModal(DialogExchange& exchange, int32_t groupsLeftWithoutCopy) = 0;
};

} // namespace pellmora
