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
        VisitSelected(state, parts, [&](int32_t index, const std::string& path) -> StepOutcome {
            const FileOpResult moved = ShellFileOperation(path, *target, ShellOperation::Move);
            if (moved.Ok()) return {};
            return StepFailedWith("move", state.ResultList[static_cast<size_t>(index)],
                                  moved.Error);
        });
    parts.Prompter.Information(
        SummaryText(done, parts.Exchange.SelectedCount, " files were moved to specified folder."));
    return {ActionResult::Visited, done};
}

} // namespace pellmora
