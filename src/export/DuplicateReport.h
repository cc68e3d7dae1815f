#pragma once
// The bytes of a duplicate-list report: an HTML page with a summary and a table of every view
// row, or a plain list of full paths. Every line ends in LF; names, paths and the other texts
// are in the character set of the user's locale, written without HTML escaping so that the
// report reads the same as the list.

#include "model/DuplicateTypes.h"
#include "platform/Charset.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>
#include <string>

namespace pellmora {

// What the report shows, as the window or the command line has it at export time.
struct ReportSource {
    const SearchState& State;      // rows in ViewOrder order; totals
    const QString& DuplicateText;  // the "Original files + duplicates:" box, as shown
    const TDirectoryList& Folders; // the searched folders, native bytes, in list order
};

// The moment of the export, the user's regional settings and character set, fixed by tests.
struct ReportEnvironment {
    QLocale Locale;
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };
    std::string Charset = LocaleCharset();
};

enum class ReportFormat { Html, Text };

// Text for a name whose extension is exactly ".txt" (the letter case counts), HTML otherwise.
ReportFormat ReportFormatOf(const QString& reportName);

std::string HtmlReport(const ReportSource& source, const ReportEnvironment& environment,
                       CharsetEncoder& encoder);
std::string TextReport(const ReportSource& source, CharsetEncoder& encoder);

} // namespace pellmora
