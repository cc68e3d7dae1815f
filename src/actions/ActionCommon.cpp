#include "actions/ActionCommon.h"

#include "model/NativeText.h"
#include "platform/ContentFile.h"
#include "platform/FileOperations.h"
#include "platform/PinnedFile.h"

#include <QFile>
#include <cerrno>

#include <cerrno>

namespace pellmora {

bool IsSelected(const TFileInfoType& file) {
    return file.Checked != 0 && MayBeTicked(file);
}

bool CountSelected(const SearchState& state, DialogExchange& exchange) {
    if (state.ResultList.size() < 2) return false;
    int32_t count = 0;
    for (const TFileInfoType& file : state.ResultList)
        count += IsSelected(file) ? 1 : 0;
    exchange.SelectedCount = count;
    return count > 0;
}

std::optional<ActionOutcome> ConfirmSelection(const SearchState& state, DialogExchange& exchange,
                                              const std::function<void()>& showDialog) {
    if (!CountSelected(state, exchange)) return ActionOutcome{};
    exchange.DialogChoice = 0;
    exchange.DialogPath.clear();
    exchange.RenameAffix.clear();
    showDialog();
    if (exchange.DialogChoice == 0) return ActionOutcome{ActionResult::Cancelled};
    return std::nullopt;
}

void MarkResolved(TFileInfoType& file) {
    file.Checked = 0;
    file.Resolved = 1;
}

int32_t VisitSelected(SearchState& state, ActionParts& parts, const FileStep& step) {
    int32_t done = 0;
    for (size_t k = 0; k < state.ResultList.size(); ++k) {
        if (!IsSelected(state.ResultList[k])) continue;
        if (parts.StopRequested && parts.StopRequested()) break;
        const auto index = static_cast<int32_t>(k);
        const std::string path = FullPath(state, state.ResultList[k]);
        StepOutcome outcome;
        if (FileIsPresent(path)) {
            outcome = step(index, path);
        } else {
            outcome.Failure = CannotFindText(state.ResultList[k]);
            outcome.Reason = QString::fromStdString(SystemErrorText(ENOENT));
        }
        if (parts.Observer) parts.Observer(index, outcome);
        if (!outcome.Failure) {
            if (!parts.DryRun) MarkResolved(state.ResultList[k]);
            ++done;
            continue;
        }
        const PromptButton answer = parts.Prompter.Prompt(PromptKind::Error, *outcome.Failure,
                                                          {PromptButton::Ok, PromptButton::Abort});
        if (answer == PromptButton::Abort) break;
    }
    return done;
}

StepOutcome StepFailed(const char* verb, const TFileInfoType& file, const QString& reason) {
    return {CannotActText(verb, file, reason), reason, -1};
}

StepOutcome StepFailedWith(const char* verb, const TFileInfoType& file, int error) {
    if (error == ChangedSinceListed) return StepFailed(verb, file, ChangedText());
    return {CannotActText(verb, file, ErrorCodeText(error)),
            QString::fromStdString(SystemErrorText(error)), -1};
}

std::optional<std::string> NativeText(const QString& text) {
    if (text.contains(QChar(u'\0'))) return std::nullopt;
    return QFile::encodeName(text).toStdString();
}

QString CannotFindText(const TFileInfoType& file) {
    return QStringLiteral("Cannot find file \"") + Decoded(file.FileName) + QLatin1Char('"');
}

QString CannotActText(const char* verb, const TFileInfoType& file, const QString& reason) {
    return QStringLiteral("Cannot ") + QLatin1String(verb) + QStringLiteral(" file \"") +
           Decoded(file.FileName) + QStringLiteral("\"\n\r") + reason;
}

QString ErrorCodeText(int error) {
    return QStringLiteral("Error code: ") + QString::number(static_cast<unsigned>(error)) +
           QStringLiteral(" (") + QString::fromLocal8Bit(SystemErrorText(error)) + QLatin1Char(')');
}

// The kernel answers a request to share extents on a file system without them in any of three
// ways; to the user they all mean the same.
QString ShareErrorText(int error) {
    if (error == EOPNOTSUPP || error == ENOTTY || error == EINVAL)
        return QStringLiteral("This file system cannot share data between files (copy-on-write).");
    return ErrorCodeText(error);
}

QString ChangedText() {
    return QStringLiteral("The file was changed after the search.");
}

QString SummaryText(int32_t done, int32_t selected, const char* tail) {
    return QString::number(done) + QStringLiteral(" of ") + QString::number(selected) +
           QLatin1String(tail);
}

QString CountQuestion(const char* text, int32_t count) {
    return QLatin1String(text) + QString::number(count) +
           (count == 1 ? QStringLiteral(" file?") : QStringLiteral(" files?"));
}

} // namespace pellmora
