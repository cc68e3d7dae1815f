// The report's bytes, line by line, for a small list under fixed clocks and locales.

#include "export/DuplicateReport.h"
#include "results/ResultStateBuilder.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace pellmora;
using pellmora::test::ListedFile;
using pellmora::test::ResultState;

namespace {

int32_t DosDate(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<int32_t>((static_cast<uint32_t>(year - 1980) << 25) |
                                (static_cast<uint32_t>(month) << 21) | (day << 16) | (hour << 11) |
                                (minute << 5) | (second / 2));
}

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

// Two groups in two folders; the view sorted by name, so numbers and bands are not those of
// the result list. One row resolved, one without a valid date, one written at midnight.
SearchState SampleState() {
    SearchState state = ResultState(
        {"/data/a&b/", "/data/\xce\xa9mega/"},
        {{.Name = "Tom & Jerry.avi",
          .Dir = 0,
          .Group = 1,
          .Size = 1536000,
          .Date = DosDate(2021, 3, 4, 13, 5, 8)},
         {.Name = "copy.avi", .Dir = 1, .Group = 1, .Size = 1536000, .Date = 0, .Resolved = 1},
         {.Name = "caf\xc3\xa9.txt",
          .Dir = 0,
          .Group = 2,
          .Size = 12,
          .Date = DosDate(2020, 12, 31, 0, 0, 0)},
         {.Name = "bad\xff.txt",
          .Dir = 1,
          .Group = 2,
          .Size = 12,
          .Date = DosDate(2020, 12, 31, 23, 59, 58)}});
    state.ViewOrder = {{3, 0}, {2, 0}, {1, 1}, {0, 1}};
    state.OriginalsSize = 1536012;
    state.DuplicatesSize = 1536012;
    return state;
}

const QString Counts = QStringLiteral("2 + 2");
const TDirectoryList Folders = {"/data/", "/more/\xe2\x82\xac/"};

ReportEnvironment FixedAt(const QLocale& locale, QDate date, QTime time) {
    return {locale, [=] { return QDateTime(date, time); }, "UTF-8"};
}

std::string Html(const SearchState& state, const ReportEnvironment& environment,
                 const TDirectoryList& folders = Folders) {
    CharsetEncoder encoder(environment.Charset);
    return HtmlReport({state, Counts, folders}, environment, encoder);
}

const std::string HtmlHead = R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">
<html>
<head>
)";

const std::string HtmlStyle = R"(<STYLE type="text/css">
<!--
BODY {
	COLOR: #4B4B4B;
	FONT-SIZE: 14px;
	FONT-FAMILY:  Tahoma, Verbana, Helvetica, sans-serif;
	BACKGROUND-COLOR: white;
}
A {COLOR: #004080}
A:visited {COLOR: #004080}
A:hover {COLOR: #f60}
P {MARGIN-TOP: 15px;MARGIN-BOTTOM: 15px;padding-left:20px;}
TABLE.duplist {WIDTH: 100%;font-size : 14px;}
--></STYLE>
</head>
<body>
<h1>List of Duplicate Files</h1>
)";

const std::string TableHead = R"(</ul>
</p>
<p><font color="#ff0000">This list includes original files and duplicates.</font></p>
<TABLE class="duplist" cellSpacing=1 cellPadding=1 border=0 bgcolor="#4B4B4B">
  <TBODY>
    <TR bgcolor="#dddddd">
      <TD style="padding-left:5px;" width="30px"> <b>#</b> </TD>
      <TD style="padding-left:10px;" width="20%"> <b>File Name</b> </TD>
      <TD style="padding-left:10px;" width="40%"> <b>Path</b> </TD>
      <TD style="padding-left:10px;" width="10%"> <b>Dup. Group</b> </TD>
      <TD style="padding-left:10px;" width="10%"> <b>Size</b> </TD>
      <TD style="padding-left:10px;" width="20%"> <b>Date of Modification</b> </TD>
    </TR>
)";

// The names in UTF-8; the byte that is not UTF-8 as the window shows it, a replacement character.
const std::string EnglishRows = R"(    <TR bgcolor="#ffffff">
      <TD>1</TD>
      <TD>bad�.txt</TD>
      <TD><a href="file:///data/Ωmega/">/data/Ωmega/</a></TD>
      <TD>2</TD>
      <TD>12</TD>
      <TD>12/31/20 11:59:58 PM</TD>
    </TR>
    <TR bgcolor="#ffffff">
      <TD>2</TD>
      <TD>café.txt</TD>
      <TD><a href="file:///data/a&b/">/data/a&b/</a></TD>
      <TD>2</TD>
      <TD>12</TD>
      <TD>12/31/20</TD>
    </TR>
    <TR bgcolor="#C0DCC0">
      <TD>3</TD>
      <TD>copy.avi</TD>
      <TD><a href="file:///data/Ωmega/">/data/Ωmega/</a></TD>
      <TD>1</TD>
      <TD>1536000</TD>
    </TR>
    <TR bgcolor="#C0DCC0">
      <TD>4</TD>
      <TD>Tom & Jerry.avi</TD>
      <TD><a href="file:///data/a&b/">/data/a&b/</a></TD>
      <TD>1</TD>
      <TD>1536000</TD>
      <TD>3/4/21 1:05:08 PM</TD>
    </TR>
  </TBODY>
</TABLE>
</body>
</html>
)";

TEST(DuplicateReport, HtmlReportOfASortedListInEnglish) {
    const SearchState state = SampleState();
    const std::string expected =
        HtmlHead + "<meta charset=\"UTF-8\">\n" +
        "\t<title>List of Duplicate Files - March 6, 2024,  9:30:15 PM</title>\n" + HtmlStyle +
        "<p><b>Date of search:</b> Wednesday, March 6, 2024,  9:30:15 PM<br>\n" +
        "<b>Number of original files and duplicates:</b> 2 + 2<br>\n"
        "<b>Total size of original files:</b> 1.46 MB<br>\n"
        "<b>Total size of duplicate files:</b> 1.46 MB<br>\n"
        "<ul>\n"
        "<b>Search duplicates in:</b>\n"
        "<li>/data/</li>\n"
        "<li>/more/\xe2\x82\xac/</li>\n" +
        TableHead + EnglishRows;
    EXPECT_EQ(Html(state, FixedAt(English, QDate(2024, 3, 5), QTime(21, 30, 15))), expected);
}

TEST(DuplicateReport, GermanMonthWeekdayTimeAndDecimalComma) {
    SearchState state = SampleState();
    state.Locale = LocaleContext(German);
    const std::string html = Html(state, FixedAt(German, QDate(2024, 3, 5), QTime(8, 7, 6)));
    for (const std::string line :
         {"\t<title>List of Duplicate Files - M\xc3\xa4rz 5, 2024,  08:07:06</title>\n",
          "<p><b>Date of search:</b> Dienstag, M\xc3\xa4rz 5, 2024,  08:07:06<br>\n",
          "<b>Total size of original files:</b> 1,46 MB<br>\n",
          "      <TD>04.03.21 13:05:08</TD>\n", "      <TD>31.12.20</TD>\n"})
        EXPECT_NE(html.find(line), std::string::npos) << line;
}

TEST(DuplicateReport, TheDateRunsThreeHoursAheadButTheClockDoesNot) {
    struct Case {
        QDate Date;
        QTime Time;
        const char* Title;
        const char* Search;
    } cases[] = {
        {{2024, 3, 5}, {20, 59, 59}, "March 5, 2024,  8:59:59 PM", "Tuesday, March 5, 2024,  "},
        {{2024, 3, 5}, {21, 0, 0}, "March 6, 2024,  9:00:00 PM", "Wednesday, March 6, 2024,  "},
        {{2023, 12, 31},
         {23, 59, 59},
         "January 1, 2024,  11:59:59 PM",
         "Monday, January 1, 2024,  "},
        {{2024, 2, 29}, {0, 0, 0}, "February 29, 2024,  12:00:00 AM", "Thursday, February 29, "},
    };
    const SearchState state = SampleState();
    for (const Case& c : cases) {
        const std::string html = Html(state, FixedAt(English, c.Date, c.Time));
        EXPECT_NE(html.find(std::string(" - ") + c.Title + "</title>\n"), std::string::npos)
            << c.Title;
        EXPECT_NE(html.find(std::string("<b>Date of search:</b> ") + c.Search), std::string::npos)
            << c.Search;
    }
}

TEST(DuplicateReport, AnEmptyFolderListLeavesTheBoldLabelAlone) {
    const std::string html =
        Html(SampleState(), FixedAt(English, QDate(2024, 1, 1), QTime(12, 0)), {});
    EXPECT_NE(html.find("<ul>\n<b>Search duplicates in:</b>\n</ul>\n"), std::string::npos);
}

// In a set without the Greek letter, and for the name that is not UTF-8, "?".
TEST(DuplicateReport, TextReportListsFullPathsInViewOrder) {
    const SearchState state = SampleState();
    CharsetEncoder encoder("ISO-8859-1");
    EXPECT_EQ(TextReport({state, Counts, Folders}, encoder),
              "/data/?mega/bad?.txt\n/data/a&b/caf\xe9.txt\n/data/?mega/copy.avi\n"
              "/data/a&b/Tom & Jerry.avi\n");
}

TEST(DuplicateReport, ThePageNamesTheSetItIsWrittenIn) {
    ReportEnvironment latin = FixedAt(English, QDate(2024, 1, 1), QTime(12, 0));
    latin.Charset = "ISO-8859-1";
    const std::string head = HtmlHead + "<meta charset=\"ISO-8859-1\">\n\t<title>";
    EXPECT_EQ(Html(SampleState(), latin).rfind(head, 0), 0u);
}

TEST(DuplicateReport, AFolderSearchedUnderARelativeNameLinksToItsAbsolutePath) {
    SearchState state = ResultState({"./rel/"}, {{.Name = "a"}, {.Name = "b"}});
    const std::string html = Html(state, FixedAt(English, QDate(2024, 1, 1), QTime(12, 0)));
    const std::string href =
        "<a href=\"file:///" + QDir::currentPath().mid(1).toStdString() + "/./rel/\">./rel/</a>";
    EXPECT_NE(html.find(href), std::string::npos) << html;
}

TEST(DuplicateReport, FormatFollowsTheExactTxtExtension) {
    const std::pair<const char*, ReportFormat> cases[] = {
        {"/tmp/list.txt", ReportFormat::Text},     {"/tmp/.txt", ReportFormat::Text},
        {"/tmp/list.TXT", ReportFormat::Html},     {"/tmp/list.Txt", ReportFormat::Html},
        {"/tmp/list.html", ReportFormat::Html},    {"/tmp/list.htm", ReportFormat::Html},
        {"/tmp/list", ReportFormat::Html},         {"/tmp/list.txt.bak", ReportFormat::Html},
        {"/tmp/dir.txt/list", ReportFormat::Html}, {"", ReportFormat::Html},
        {"list.txt", ReportFormat::Text},          {"/tmp/list.txt ", ReportFormat::Html},
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(ReportFormatOf(QString::fromUtf8(name)), format) << name;
}

} // namespace
