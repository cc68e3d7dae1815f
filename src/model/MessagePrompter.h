#pragma once
// Every modal message box of the program goes through this interface, so that tests can
// answer them and the commands stay free of widgets.

#include <QList>
#include <QString>

namespace pellmora {

enum class PromptKind { Error, Information, Confirm, ErrorReport };
enum class PromptButton { Ok, Abort, Yes, No };

class MessagePrompter {
  public:
    virtual ~MessagePrompter() = default;
    // Shows text with the caption of its kind and returns the button pressed.
    virtual PromptButton Prompt(PromptKind kind, const QString& text,
                                const QList<PromptButton>& buttons) = 0;

    void Error(const QString& text) { Prompt(PromptKind::Error, text, {PromptButton::Ok}); }
    void Information(const QString& text) {
        Prompt(PromptKind::Information, text, {PromptButton::Ok});
    }
    void ErrorReport(const QString& text) {
        Prompt(PromptKind::ErrorReport, text, {PromptButton::Ok});
    }
};

// Caption of a message box: "Error", "Information", "Confirm", or the program's title.
QString PromptCaption(PromptKind kind);

// The general error report's text: a period is appended when the last character sorts after it.
QString ErrorReportText(const QString& text);

// What a message box shows for text: the general error report's period added, and each
// "\n\r" of the program's messages as one line break.
QString MessageBoxText(PromptKind kind, const QString& text);

} // namespace pellmora
