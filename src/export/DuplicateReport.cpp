#include "export/DuplicateReport.h"

#include "model/NativeText.h"
#include "model/TextFormats.h"

#include <QDir>

#include <algorithm>
#include <optional>
#include <vector>

namespace pellmora {

namespace {

template <typename... Parts> void Line(std::string& out, const Parts&... parts) {
    (out.append(parts), ...);
    out.append("\n");
}

// The encoded texts of DirTable, made once per folder however many files it holds.
class FolderTexts {
  public:
    FolderTexts(const SearchState& state, CharsetEncoder& encoder)
        : state_(state), encoder_(encoder), texts_(state.DirTable.size()) {}

    // The folder as listed, ending in "/".
    const std::string& Text(int32_t dirIndex) { return Entry(dirIndex).Text; }
    // The folder as a browser opens it: absolute, without its leading "/".
    const std::string& Href(int32_t dirIndex) { return Entry(dirIndex).Href; }

  private:
    struct Texts {
        std::string Text;
        std::string Href;
    };

    const Texts& Entry(int32_t dirIndex) {
        std::optional<Texts>& slot = texts_[static_cast<size_t>(dirIndex)];
        if (!slot) slot = Make(state_.DirTable[static_cast<size_t>(dirIndex)]);
        return *slot;
    }

    // A folder searched under a relative name still needs an absolute link.
    Texts Make(const std::string& dir) {
        const QString shown = Decoded(dir);
        const QString absolute =
            dir.starts_with('/') ? shown : QDir::currentPath() + QLatin1Char('/') + shown;
        return {encoder_.Encode(shown), encoder_.Encode(absolute.mid(1))};
    }

    const SearchState& state_;
    CharsetEncoder& encoder_;
    std::vector<std::optional<Texts>> texts_;
};

// "mmmm d, yyyy,  ": the date three hours ahead, so that from 21:00 on it is the next day's.
std::string ReportDate(const QDateTime& now, const QLocale& locale, bool withWeekday,
                       CharsetEncoder& encoder) {
    const QDate date = now.time().hour() >= 21 ? now.date().addDays(1) : now.date();
    QString text = locale.monthName(date.month(), QLocale::LongFormat) + QLatin1Char(' ') +
                   QString::number(date.day()) + QStringLiteral(", ") +
                   QString::number(date.year()) + QStringLiteral(",  ");
    if (withWeekday)
        text.prepend(locale.dayName(date.dayOfWeek(), QLocale::LongFormat) + QStringLiteral(", "));
    return encoder.Encode(text) + encoder.Encode(LongTimeText(now.time(), locale));
}

constexpr const char* Head[] = {
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">",
    "<html>",
    "<head>",
};

constexpr const char* Style[] = {
    "<STYLE type=\"text/css\">",
    "<!--",
    "BODY {",
    "\tCOLOR: #4B4B4B;",
    "\tFONT-SIZE: 14px;",
    "\tFONT-FAMILY:  Tahoma, Verbana, Helvetica, sans-serif;",
    "\tBACKGROUND-COLOR: white;",
    "}",
    "A {COLOR: #004080}",
    "A:visited {COLOR: #004080}",
    "A:hover {COLOR: #f60}",
    "P {MARGIN-TOP: 15px;MARGIN-BOTTOM: 15px;padding-left:20px;}",
    "TABLE.duplist {WIDTH: 100%;font-size : 14px;}",
    "--></STYLE>",
    "</head>",
    "<body>",
    "<h1>List of Duplicate Files</h1>",
};

constexpr const char* TableHead[] = {
    "</ul>",
    "</p>",
    "<p><font color=\"#ff0000\">This list includes original files and duplicates.</font></p>",
    "<TABLE class=\"duplist\" cellSpacing=1 cellPadding=1 border=0 bgcolor=\"#4B4B4B\">",
    "  <TBODY>",
    "    <TR bgcolor=\"#dddddd\">",
    "      <TD style=\"padding-left:5px;\" width=\"30px\"> <b>#</b> </TD>",
    "      <TD style=\"padding-left:10px;\" width=\"20%\"> <b>File Name</b> </TD>",
    "      <TD style=\"padding-left:10px;\" width=\"40%\"> <b>Path</b> </TD>",
    "      <TD style=\"padding-left:10px;\" width=\"10%\"> <b>Dup. Group</b> </TD>",
    "      <TD style=\"padding-left:10px;\" width=\"10%\"> <b>Size</b> </TD>",
    "      <TD style=\"padding-left:10px;\" width=\"20%\"> <b>Date of Modification</b> </TD>",
    "    </TR>",
};

constexpr const char* Tail[] = {"  </TBODY>", "</TABLE>", "</body>", "</html>"};

template <size_t N> void Lines(std::string& out, const char* const (&lines)[N]) {
    for (const char* line : lines)
        Line(out, line);
}

void Summary(std::string& out, const ReportSource& source, const ReportEnvironment& environment,
             CharsetEncoder& encoder) {
    const QLocale& numbers = source.State.Locale.Format();
    Line(out, "<p><b>Date of search:</b> ",
         ReportDate(environment.Now(), environment.Locale, true, encoder), "<br>");
    Line(out, "<b>Number of original files and duplicates:</b> ",
         encoder.Encode(source.DuplicateText), "<br>");
    Line(out, "<b>Total size of original files:</b> ",
         encoder.Encode(SizeText(source.State.OriginalsSize, numbers)), "<br>");
    Line(out, "<b>Total size of duplicate files:</b> ",
         encoder.Encode(SizeText(source.State.DuplicatesSize, numbers)), "<br>");
    Line(out, "<ul>");
    Line(out, "<b>Search duplicates in:</b>");
    for (const std::string& folder : source.Folders)
        Line(out, "<li>", encoder.Encode(Decoded(folder)), "</li>");
}

void Row(std::string& out, int32_t q, const ReportSource& source, const QLocale& locale,
         FolderTexts& folders, CharsetEncoder& encoder) {
    const TSortEntry& entry = source.State.ViewOrder[static_cast<size_t>(q)];
    const TFileInfoType& file = source.State.ResultList[static_cast<size_t>(entry.Index)];
    Line(out, "    <TR bgcolor=\"", (entry.Key & 1) ? "#C0DCC0" : "#ffffff", "\">");
    Line(out, "      <TD>", std::to_string(q + 1), "</TD>");
    Line(out, "      <TD>", encoder.Encode(Decoded(file.FileName)), "</TD>");
    Line(out, "      <TD><a href=\"file:///", folders.Href(file.DirIndex), "\">",
         folders.Text(file.DirIndex), "</a></TD>");
    Line(out, "      <TD>", std::to_string(file.Group), "</TD>");
    Line(out, "      <TD>", std::to_string(file.Size), "</TD>");
    const QString date = ModifiedText(file.FileDate, locale);
    if (!date.isEmpty()) Line(out, "      <TD>", encoder.Encode(date), "</TD>");
    Line(out, "    </TR>");
}

int32_t RowCount(const SearchState& state) {
    return static_cast<int32_t>(std::min(state.ResultList.size(), state.ViewOrder.size()));
}

} // namespace

ReportFormat ReportFormatOf(const QString& reportName) {
    const qsizetype dot = reportName.lastIndexOf(QLatin1Char('.'));
    const bool extension = dot >= 0 && reportName.indexOf(QLatin1Char('/'), dot) < 0;
    return extension && reportName.mid(dot) == QLatin1String(".txt") ? ReportFormat::Text
                                                                     : ReportFormat::Html;
}

std::string HtmlReport(const ReportSource& source, const ReportEnvironment& environment,
                       CharsetEncoder& encoder) {
    std::string out;
    Lines(out, Head);
    Line(out, "<meta charset=\"", encoder.Charset(), "\">");
    Line(out, "\t<title>List of Duplicate Files - ",
         ReportDate(environment.Now(), environment.Locale, false, encoder), "</title>");
    Lines(out, Style);
    Summary(out, source, environment, encoder);
    Lines(out, TableHead);
    FolderTexts folders(source.State, encoder);
    const int32_t rows = RowCount(source.State);
    for (int32_t q = 0; q < rows; ++q)
        Row(out, q, source, environment.Locale, folders, encoder);
    Lines(out, Tail);
    return out;
}

std::string TextReport(const ReportSource& source, CharsetEncoder& encoder) {
    std::string out;
    FolderTexts folders(source.State, encoder);
    const int32_t rows = RowCount(source.State);
    for (int32_t q = 0; q < rows; ++q) {
        const auto index =
            static_cast<size_t>(source.State.ViewOrder[static_cast<size_t>(q)].Index);
        const TFileInfoType& file = source.State.ResultList[index];
        Line(out, folders.Text(file.DirIndex), encoder.Encode(Decoded(file.FileName)));
    }
    return out;
}

} // namespace pellmora
