#include "actions/RenameCommand.h"

#include "actions/ShellFileOperation.h"
#include "platform/FreeName.h"

namespace pellmora {

std::string PostfixBase(const std::string& name) {
    return SplitExtension(name).Base;
}

std::string RenamedName(const std::string& name, const std::string& affix, RenameChoice choice) {
    if (choice == RenameChoice::Prefix) return affix + name;
    const SplitName split = SplitExtension(name);
    return split.Base + affix + split.Extension;
}

std::optional<QString> RenameAffixProblem(const QString& affix) {
    if (affix.isEmpty()) return QStringLiteral("Please, enter a prefix.");
    for (const QChar c : QStringLiteral("\"<>|*/\\?:"))
        if (affix.contains(c))
            return QStringLiteral("The following symbols are not acceptable in file names:\n\r"
                                  "  \\ / : * ? \" < > | ");
    return std::nullopt;
}

ActionOutcome RenameSelectedFiles(SearchState& state, ActionDialog& dialog, ActionParts& parts) {
    if (auto stop =
            ConfirmSelection(state, parts.Exchange, [&] { dialog.ShowModal(parts.Exchange); }))
        return *stop;
    const std::optional<std::string> affix = NativeText(parts.Exchange.RenameAffix);
    if (!affix || RenameAffixProblem(parts.Exchange.RenameAffix)) return {ActionResult::Refused};
    const auto choice =
        parts.Exchange.DialogChoice == 2 ? RenameChoice::Prefix : RenameChoice::Postfix;

    const int32_t done =
        VisitSelected(state, parts, [&](int32_t index, const std::string& path) -> StepOutcome {
            const TFileInfoType& file = state.ResultList[static_cast<size_t>(index)];
            const std::string newPath = state.DirTable[static_cast<size_t>(file.DirIndex)] +
                                        RenamedName(file.FileName, *affix, choice);
            const FileOpResult renamed = ShellFileOperation(path, newPath, ShellOperation::Rename);
            if (renamed.Ok()) return {};
            return StepFailedWith("rename", file, renamed.Error);
        });
    parts.Prompter.Information(
        SummaryText(done, parts.Exchange.SelectedCount, " files were renamed."));
    return {ActionResult::Visited, done};
}

} // namespace pellmora
