#pragma once
// Writing a report file: the folder must exist, the name must be one the report's character set
// can spell, and the file is replaced in one step, so a failed export leaves no half-written report
// and keeps an older one of that name as it was.

#include "export/DuplicateReport.h"

#include <QString>

namespace pellmora {

struct ReportOutcome {
    enum class Status { Written, MissingFolder, Failed };
    Status Result = Status::Written;
    // MissingFolder: the error message; Failed: the failure text, without the general error
    // report's closing period.
    QString Text;
    bool Ok() const { return Result == Status::Written; }
};

// The folder part of a report name: everything up to and including its last "/".
QString ReportFolder(const QString& reportName);

// "File not found", "File access denied", "Disk full", ..., or "I/O error N".
QString FileErrorText(int error);

// Writes the report named reportName (as typed; relative to the current folder when it does
// not start with "/"), in the format its extension chooses.
ReportOutcome WriteDuplicateReport(const QString& reportName, const ReportSource& source,
                                   const ReportEnvironment& environment);

} // namespace pellmora
