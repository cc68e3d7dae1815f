// The export command from the button to the message box, and the report file on disk.

#include "export/ExportList.h"
#include "export/ReportFile.h"
#include "results/ResultStateBuilder.h"
#include "support/FileSizeLimit.h"
#include "support/TempTree.h"
#include "ui/RecordingPrompter.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace pellmora;
using pellmora::test::FileSizeLimit;
using pellmora::test::RecordedPrompt;
using pellmora::test::RecordingPrompter;
using pellmora::test::ResultState;
using pellmora::test::TempTree;

namespace {

// Answers like the dialog: "OK" with a typed name, or "Cancel".
class ScriptedDialog final : public ExportDialog {
  public:
    void ShowModal(DialogExchange& exchange) override {
        ++Shown;
        SeenChoice = exchange.DialogChoice;
        SeenPath = exchange.DialogPath;
        if (!Name) return;
        exchange.DialogChoice = 1;
        exchange.DialogPath = *Name;
    }
    std::optional<QString> Name;
    int Shown = 0;
    int SeenChoice = -1;
    QString SeenPath;
};

std::string Content(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

QStringList Entries(const std::string& folder) {
    return QDir(QString::fromStdString(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

DialogExchange Stale() {
    DialogExchange exchange;
    exchange.DialogChoice = 7;
    exchange.DialogPath = QStringLiteral("stale");
    return exchange;
}

struct ExportListTest : ::testing::Test {
    TempTree tree;
    SearchState state = ResultState({"/d/"}, {{.Name = "a"}, {.Name = "b"}});
    QString counts = QStringLiteral("1 + 1");
    TDirectoryList folders{"/d/"};
    DialogExchange exchange = Stale();
    ScriptedDialog dialog;
    RecordingPrompter prompter;
    ExportCommandParts parts{exchange,
                             dialog,
                             prompter,
                             {QLocale(QLocale::English, QLocale::UnitedStates),
                              [] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)); },
                              "ISO-8859-1"}};

    QString In(const std::string& relative) { return QString::fromStdString(tree.Path(relative)); }
    ExportResult Export(std::optional<QString> name) {
        dialog.Name = std::move(name);
        return ExportDuplicateList({state, counts, folders}, parts);
    }
    void ExpectPrompts(const std::vector<RecordedPrompt>& expected) {
        ASSERT_EQ(prompter.Prompts.size(), expected.size());
        for (size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(prompter.Prompts[k].Kind, expected[k].Kind) << k;
            EXPECT_EQ(prompter.Prompts[k].Text, expected[k].Text) << k;
        }
    }
};

TEST_F(ExportListTest, WritesTheReportAndSaysSo) {
    EXPECT_EQ(Export(In("list.txt")), ExportResult::Written);
    EXPECT_EQ(dialog.SeenChoice, 0) << "the exchange values are cleared before the dialog";
    EXPECT_EQ(dialog.SeenPath, "");
    EXPECT_EQ(Content(In("list.txt")), "/d/a\n/d/b\n");
    ExpectPrompts({{PromptKind::Information, "Export complete."}});
}

TEST_F(ExportListTest, NothingForAShortListOrACancel) {
    Export(std::nullopt);
    EXPECT_EQ(dialog.Shown, 1);
    state = ResultState({"/d/"}, {{.Name = "a"}});
    EXPECT_EQ(Export(In("one.html")), ExportResult::NotOffered);
    EXPECT_EQ(dialog.Shown, 1);
    EXPECT_TRUE(prompter.Prompts.empty());
    EXPECT_TRUE(Entries(tree.Root()).isEmpty());
}

TEST_F(ExportListTest, AMissingFolderIsNamedAndNothingIsWritten) {
    tree.File("file", "");
    const std::pair<QString, QString> cases[] = {
        {"", ""},
        {"report.html", ""},
        {In("nowhere/report.html"), In("nowhere/")},
        {In("file/report.html"), In("file/")},
    };
    for (const auto& [name, folder] : cases) {
        prompter.Prompts.clear();
        EXPECT_EQ(Export(name), ExportResult::MissingFolder) << name.toStdString();
        ExpectPrompts({{PromptKind::Error, "Directory \"" + folder + "\" is not exist."}});
    }
    EXPECT_EQ(Entries(tree.Root()), QStringList{"file"});
}

TEST_F(ExportListTest, AFailureIsReportedAndTheOldReportStays) {
    tree.File("old.html", "older report");
    tree.Dir("taken.html");
    const std::pair<QString, QString> cases[] = {
        {In("taken.html"), "I/O error 21"},          // a folder of that name
        {In("\u65e5\u672c.html"), "I/O error 84"},   // not spelt in the locale's set
        {In(std::string(300, 'n')), "I/O error 36"}, // too long for the file system
    };
    for (const auto& [name, text] : cases) {
        prompter.Prompts.clear();
        EXPECT_EQ(Export(name), ExportResult::Failed);
        ExpectPrompts({{PromptKind::ErrorReport, text}});
    }
    {
        // A large list, so that the write runs into the full disk.
        const TFileInfoType first = state.ResultList[0]; // growing the list moves its records
        for (int k = 0; k < 2000; ++k)
            AppendResult(state, first);
        BuildViewOrder(state);
        FileSizeLimit limit(4096);
        prompter.Prompts.clear();
        EXPECT_EQ(Export(In("old.html")), ExportResult::Failed);
    }
    ExpectPrompts({{PromptKind::ErrorReport, "I/O error 27"}});
    EXPECT_EQ(Content(In("old.html")), "older report");
    EXPECT_EQ(Entries(tree.Root()), (QStringList{"old.html", "taken.html"}));
}

TEST_F(ExportListTest, AnExistingReportIsReplacedWithoutAQuestion) {
    tree.File("r.htm", "old");
    EXPECT_EQ(Export(In("r.htm")), ExportResult::Written);
    EXPECT_EQ(Content(In("r.htm")).rfind("<!DOCTYPE HTML", 0), 0u);
    ExpectPrompts({{PromptKind::Information, "Export complete."}});
}

TEST(ReportFile, FailureTexts) {
    const std::pair<int, const char*> cases[] = {
        {ENOENT, "File not found"},      {ENOTDIR, "Invalid filename"},
        {EMFILE, "Too many open files"}, {EACCES, "File access denied"},
        {EROFS, "File access denied"},   {ENOSPC, "Disk full"},
        {EDQUOT, "Disk full"},           {EIO, "I/O error 5"},
    };
    for (const auto& [error, text] : cases)
        EXPECT_EQ(FileErrorText(error), text) << error;
}

} // namespace
