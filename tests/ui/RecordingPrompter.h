#pragma once
// Answers every message box at once and remembers what was asked.

#include "model/MessagePrompter.h"

#include <QUrl>
#include <vector>

namespace pellmora::test {

struct RecordedPrompt {
    PromptKind Kind;
    QString Text;
};

class RecordingPrompter final : public MessagePrompter {
  public:
    PromptButton Prompt(PromptKind kind, const QString& text,
                        const QList<PromptButton>& buttons) override {
        Prompts.push_back({kind, text});
        return buttons.isEmpty() ? PromptButton::Ok : buttons.front();
    }
    std::vector<RecordedPrompt> Prompts;
};

} // namespace pellmora::test
