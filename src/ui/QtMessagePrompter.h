#pragma once
// The message boxes of the window: QMessageBox, centred on the screen.

#include "model/MessagePrompter.h"

namespace pellmora {

class QtMessagePrompter final : public MessagePrompter {
  public:
    PromptButton Prompt(PromptKind kind, const QString& text,
                        const QList<PromptButton>& buttons) override;
};

} // namespace pellmora
