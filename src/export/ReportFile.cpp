#include "export/ReportFile.h"

#include "platform/AtomicFile.h"
#include "platform/FileOperations.h"

#include <QFile>

#include <cerrno>

namespace pellmora {

QString ReportFolder(const QString& reportName) {
    return reportName.left(reportName.lastIndexOf(QLatin1Char('/')) + 1);
}

QString FileErrorText(int error) {
    switch (error) {
    case ENOENT:
        return QStringLiteral("File not found");
    case ENOTDIR:
        return QStringLiteral("Invalid filename");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("File access denied");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("I/O error %1").arg(error);
    }
}

namespace {

ReportOutcome Failure(int error) {
    return {ReportOutcome::Status::Failed, FileErrorText(error)};
}

} // namespace

ReportOutcome WriteDuplicateReport(const QString& reportName, const ReportSource& source,
                                   const ReportEnvironment& environment) {
    const QString folder = ReportFolder(reportName);
    if (!DirectoryIsPresent(QFile::encodeName(folder).toStdString())) {
        return {ReportOutcome::Status::MissingFolder,
                QStringLiteral("Directory \"") + folder + QStringLiteral("\" is not exist.")};
    }
    CharsetEncoder encoder(environment.Charset);
    // A name the locale's character set cannot spell is one its user cannot read or type.
    int unmapped = 0;
    encoder.Encode(reportName, &unmapped);
    if (unmapped > 0) return Failure(EILSEQ);
    const std::string bytes = ReportFormatOf(reportName) == ReportFormat::Text
                                  ? TextReport(source, encoder)
                                  : HtmlReport(source, environment, encoder);
    const int error = WriteFileAtomically(QFile::encodeName(reportName).toStdString(), bytes);
    if (error != 0) return Failure(error);
    return {};
}

} // namespace pellmora
