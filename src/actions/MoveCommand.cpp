#include "actions/MoveCommand.h"

#include "actions/ShellFileOperation.h"
#include "platform/FileOperations.h"

namespace pellmora {

ActionOutcome MoveSelectedFiles(SearchState& state, ActionDialog& dialog, ActionParts& parts) {
    if (auto stop =
            ConfirmSelection(state, parts.Exchange, [&] { dialog.ShowModal(parts.Exchange); }))
        return *stop;
    const std::optional<std::string> target = NativeText(parts.Exchange.DialogPath);
    if (!target || !DirectoryIsPresent(*target)) {
        parts.Prompter.Error(QStringLiteral("Directory \"") + parts.Exchange.DialogPath +
                             QStringLiteral("\" is not exist."));
        return {ActionResult::Refused};
    }

    const int32_t done =
        VisitSelected(state, parts.Prompter,
                      [&](int32_t index, const std::string& path) -> std::optional<QString> {
                          const FileOpResult moved =
                              ShellFileOperation(path, *target, ShellOperation::Move);
                          if (moved.Ok()) return std::nullopt;
                          return CannotActText("move", state.ResultList[static_cast<size_t>(index)],
                                               FailureReason(moved.Error));
                      });
    parts.Prompter.Information(
        SummaryText(done, parts.Exchange.SelectedCount, " files were moved to specified folder."));
    return {ActionResult::Visited, done};
}

} // namespace pellmora
