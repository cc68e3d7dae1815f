#include "model/MessagePrompter.h"

#include "model/TextFormats.h"

namespace pellmora {

QString PromptCaption(PromptKind kind) {
    switch (kind) {
    case PromptKind::Error:
        return QStringLiteral("Error");
    case PromptKind::Information:
        return QStringLiteral("Information");
    case PromptKind::Confirm:
        return QStringLiteral("Confirm");
    case PromptKind::ErrorReport:
        return QStringLiteral("Pellmora");
    }
    return {};
}

QString ErrorReportText(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.')) return text + QLatin1Char('.');
    return text;
}

QString MessageBoxText(PromptKind kind, const QString& text) {
    return WithLineBreaks(kind == PromptKind::ErrorReport ? ErrorReportText(text) : text);
}

} // namespace pellmora
