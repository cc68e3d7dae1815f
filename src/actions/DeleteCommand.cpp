#include "actions/DeleteCommand.h"

#include "actions/CopyGuard.h"
#include "actions/ReplaceCommand.h"
#include "actions/ShellFileOperation.h"
#include "model/NativeText.h"
#include "platform/FileOperations.h"
#include "platform/PinnedFile.h"

namespace pellmora {

namespace {

QString CannotDeleteText(const TFileInfoType& file, const QString& reason) {
    return CannotActText("delete", file, reason);
}

StepOutcome CannotDelete(const TFileInfoType& file, const QString& reason) {
    return StepFailed("delete", file, reason);
}

// The copy among those that stay that holds the pinned file's very bytes: the one a delete for
// good leaves as the only copy.
StepOutcome CompareWithStaying(SearchState& state, const CopyGuard& guard, int32_t index,
                               const PinnedFile& ticked) {
    const TFileInfoType& file = state.ResultList[static_cast<size_t>(index)];
    for (int32_t other : guard.UnchangedCopies(index, KeptCopies::Unticked)) {
        const TFileInfoType& copy = state.ResultList[static_cast<size_t>(other)];
        const PinnedFile kept(FullPath(state, copy), VersionOf(copy));
        bool equal = false;
        if (!kept.Pinned()) continue;
        if (const int error = CompareContents(kept, ticked, equal))
            return StepFailedWith("delete", file, error);
        if (equal) return {std::nullopt, {}, other};
        return CannotDelete(file, ChangedText());
    }
    return CannotDelete(file, QStringLiteral("No unchanged copy of it is left."));
}

// Where no unticked copy was left (the user was warned), only the file's own identity counts.
StepOutcome DeleteForGood(SearchState& state, const CopyGuard& guard, int32_t index,
                          const std::string& path, bool dryRun) {
    TFileInfoType& file = state.ResultList[static_cast<size_t>(index)];
    PinnedFile ticked(path, VersionOf(file));
    if (!ticked.Pinned()) return StepFailedWith("delete", file, ticked.Error());
    StepOutcome outcome;
    if (!guard.Staying(index, KeptCopies::Unticked).empty())
        outcome = CompareWithStaying(state, guard, index, ticked);
    if (outcome.Failure || dryRun) return outcome;
    // Cleared in the record as well, even when the delete then fails: the search's attribute is
    // what the user was shown, and it is no longer true.
    if ((file.Attributes & 0x01u) != 0) {
        file.Attributes &= ~0x01u;
        ticked.MakeOwnerWritable(); // a failure shows in the delete that follows
    }
    if (const int error = DeletePinned(ticked)) return StepFailedWith("delete", file, error);
    return outcome;
}

StepOutcome DeleteTicked(SearchState& state, const CopyGuard& guard, DeleteChoice choice,
                         int32_t index, const std::string& path, bool dryRun) {
    const TFileInfoType& file = state.ResultList[static_cast<size_t>(index)];
    if (auto refusal = guard.DeletionRefusal(index, KeptCopies::Unticked))
        return CannotDelete(file, *refusal);
    if (choice == DeleteChoice::WithoutBackup)
        return DeleteForGood(state, guard, index, path, dryRun);
    // The trash can give the file back: the identity checked above is enough there.
    const std::vector<int32_t> staying = guard.UnchangedCopies(index, KeptCopies::Unticked);
    const StepOutcome done{std::nullopt, {}, staying.empty() ? -1 : staying.front()};
    if (dryRun) return done;
    if (const int error = ShellFileOperation(path, {}, ShellOperation::Delete).Error)
        return StepFailedWith("delete", file, error);
    return done;
}

// What the visit does to each ticked file, and how the summary ends.
struct Batch {
    FileStep Step;
    const char* Tail;
};

Batch BatchFor(SearchState& state, const CopyGuard& guard, DeleteChoice choice, bool dryRun) {
    if (choice == DeleteChoice::HardLink || choice == DeleteChoice::SharedData) {
        const ReplaceWay way =
            choice == DeleteChoice::HardLink ? ReplaceWay::HardLink : ReplaceWay::SharedData;
        return {[&state, &guard, way, dryRun](int32_t index, const std::string& path) {
                    return ReplaceTicked(state, guard, way, index, path, dryRun);
                },
                DeleteSummaryTail(choice)};
    }
    if (choice != DeleteChoice::WithoutBackup) choice = DeleteChoice::Trash;
    return {[&state, &guard, choice, dryRun](int32_t index, const std::string& path) {
                return DeleteTicked(state, guard, choice, index, path, dryRun);
            },
            DeleteSummaryTail(choice)};
}

} // namespace

ActionOutcome DeleteSelectedFiles(SearchState& state, DeleteDialog& dialog, ActionParts& parts) {
    if (auto stop = ConfirmSelection(state, parts.Exchange, [&] {
            dialog.ShowModal(parts.Exchange, GroupsLeftWithoutCopy(state));
        }))
        return *stop;
    const CopyGuard guard(state);
    const Batch batch = BatchFor(
        state, guard, static_cast<DeleteChoice>(parts.Exchange.DialogChoice), parts.DryRun);
    const int32_t done = VisitSelected(state, parts, batch.Step);
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

const char* DeleteSummaryTail(DeleteChoice choice) {
    switch (choice) {
    case DeleteChoice::HardLink:
        return ReplaceSummaryTail(ReplaceWay::HardLink);
    case DeleteChoice::SharedData:
        return ReplaceSummaryTail(ReplaceWay::SharedData);
    default:
        return " files was deleted.";
    }
}

QString EveryCopyWarning(int32_t groups) {
    if (groups <= 0) return {};
    return QStringLiteral("Every copy of ") + QString::number(groups) +
           (groups == 1 ? QStringLiteral(" group will be deleted.")
                        : QStringLiteral(" groups will be deleted."));
}

} // namespace pellmora
