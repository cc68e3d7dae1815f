#pragma once
// "Export List to File": asks for the report file, writes every view row to it and says how it
// went. Does nothing for a list of fewer than two files.

#include "export/DuplicateReport.h"
#include "export/ExportDialog.h"
#include "model/MessagePrompter.h"

namespace pellmora {

struct ExportCommandParts {
    DialogExchange& Exchange;
    ExportDialog& Dialog;
    MessagePrompter& Prompter;
    ReportEnvironment Environment;
};

enum class ExportResult { NotOffered, Cancelled, MissingFolder, Failed, Written };

ExportResult ExportDuplicateList(const ReportSource& source, ExportCommandParts& parts);

} // namespace pellmora
