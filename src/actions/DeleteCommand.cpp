#include "actions/DeleteCommand.h"

#include "actions/CopyGuard.h"
#include "actions/ReplaceCommand.h"
#include "actions/ShellFileOperation.h"
#include "model/NativeText.h"
#include "platform/FileOperations.h"

namespace pellmora {

namespace {

// Cleared in the record as well, even when the delete then fails: the search's attribute is
// what the user was shown, and it is no longer true.
void DropReadOnly(TFileInfoType& file, const std::string& path) {
    if ((file.Attributes & 0x01u) == 0) return;
    file.Attributes &= ~0x01u;
    MakeOwnerWritable(path); // a failure shows in the delete that follows
}

int DeleteListedFile(TFileInfoType& file, const std::string& path, DeleteChoice choice) {
    if (choice == DeleteChoice::Trash)
        return ShellFileOperation(path, {}, ShellOperation::Delete).Error;
    DropReadOnly(file, path);
    return DeleteFileForGood(path);
}

QString CannotDeleteText(const TFileInfoType& file, const QString& reason) {
    return CannotActText("delete", file, reason);
}

std::optional<QString> DeleteTicked(SearchState& state, const CopyGuard& guard, DeleteChoice choice,
                                    int32_t index, const std::string& path) {
    TFileInfoType& file = state.ResultList[static_cast<size_t>(index)];
    if (auto refusal = guard.DeletionRefusal(index, KeptCopies::Unticked))
        return CannotDeleteText(file, *refusal);
    if (const int error = DeleteListedFile(file, path, choice))
        return CannotDeleteText(file, ErrorCodeText(error));
    return std::nullopt;
}

// What the visit does to each ticked file, and how the summary ends.
struct Batch {
    FileStep Step;
    const char* Tail;
};

Batch BatchFor(SearchState& state, const CopyGuard& guard, DeleteChoice choice) {
    if (choice == DeleteChoice::HardLink || choice == DeleteChoice::SharedData) {
        const ReplaceWay way =
            choice == DeleteChoice::HardLink ? ReplaceWay::HardLink : ReplaceWay::SharedData;
        return {[&state, &guard, way](int32_t index, const std::string& path) {
                    return ReplaceTicked(state, guard, way, index, path);
                },
                ReplaceSummaryTail(way)};
    }
    if (choice != DeleteChoice::WithoutBackup) choice = DeleteChoice::Trash;
    return {[&state, &guard, choice](int32_t index, const std::string& path) {
                return DeleteTicked(state, guard, choice, index, path);
            },
            " files was deleted."};
}

} // namespace

ActionOutcome DeleteSelectedFiles(SearchState& state, DeleteDialog& dialog, ActionParts& parts) {
    if (auto stop = ConfirmSelection(state, parts.Exchange, [&] {
            dialog.ShowModal(parts.Exchange, GroupsLeftWithoutCopy(state));
        }))
        return *stop;
    const CopyGuard guard(state);
    const Batch batch =
        BatchFor(state, guard, static_cast<DeleteChoice>(parts.Exchange.DialogChoice));
    const int32_t done = VisitSelected(state, parts.Prompter, batch.Step);
    parts.Prompter.Information(SummaryText(done, parts.Exchange.SelectedCount, batch.Tail));
    return {ActionResult::Visited, done};
}

bool DeleteOneFile(SearchState& state, int32_t record, MessagePrompter& prompter) {
    if (record < 0 || static_cast<size_t>(record) >= state.ResultList.size()) return false;
    TFileInfoType& file = state.ResultList[static_cast<size_t>(record)];
    if (file.Resolved != 0 || file.Kept != 0) return false;
    const QString name = QLatin1Char('"') + Decoded(file.FileName) + QLatin1Char('"');
    if (prompter.Prompt(PromptKind::Confirm, QStringLiteral("Do you really want to delete ") + name,
                        {PromptButton::Yes, PromptButton::No}) != PromptButton::Yes)
        return false;

    const std::string path = FullPath(state, file);
    if (!FileIsPresent(path)) {
        prompter.Error(CannotFindText(file));
        return false;
    }
    if (auto refusal = CopyGuard(state).DeletionRefusal(record, KeptCopies::AllOthers)) {
        prompter.Error(CannotDeleteText(file, *refusal));
        return false;
    }
    if (const int error = ShellFileOperation(path, {}, ShellOperation::Delete).Error) {
        prompter.Error(CannotDeleteText(file, ErrorCodeText(error)));
        return false;
    }
    MarkResolved(file);
    prompter.Information(QStringLiteral("File ") + name +
                         QStringLiteral(" deleted successfully\n\r"));
    return true;
}

QString EveryCopyWarning(int32_t groups) {
    if (groups <= 0) return {};
    return QStringLiteral("Every copy of ") + QString::number(groups) +
           (groups == 1 ? QStringLiteral(" group will be deleted.")
                        : QStringLiteral(" groups will be deleted."));
}

} // namespace pellmora
