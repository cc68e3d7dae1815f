#include "export/ExportList.h"

#include "export/ReportFile.h"

namespace pellmora {

ExportResult ExportDuplicateList(const ReportSource& source, ExportCommandParts& parts) {
    if (source.State.ResultList.size() < 2) return ExportResult::NotOffered;
    parts.Exchange.DialogChoice = 0;
    parts.Exchange.DialogPath.clear();
    parts.Dialog.ShowModal(parts.Exchange);
    if (parts.Exchange.DialogChoice == 0) return ExportResult::Cancelled;

    const ReportOutcome outcome =
        WriteDuplicateReport(parts.Exchange.DialogPath, source, parts.Environment);
    switch (outcome.Result) {
    case ReportOutcome::Status::MissingFolder:
        parts.Prompter.Error(outcome.Text);
        return ExportResult::MissingFolder;
    case ReportOutcome::Status::Failed:
        parts.Prompter.ErrorReport(outcome.Text);
        return ExportResult::Failed;
    case ReportOutcome::Status::Written:
        break;
    }
    parts.Prompter.Information(QStringLiteral("Export complete."));
    return ExportResult::Written;
}

} // namespace pellmora
