// The report dialog, and an export from the window's button through the dialog to the file.

#include "RecordingPrompter.h"
#include "export/ExportList.h"
#include "export/ui/ExportUnit.h"
#include "support/TempTree.h"
#include "ui/TamberMain.h"

#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace pellmora;
using pellmora::test::RecordingPrompter;
using pellmora::test::TempTree;

namespace {

// Once the dialog runs modally: types name (when given) and presses the button.
void AnswerLater(TExportForm& form, std::optional<QString> name, QPushButton* button) {
    QTimer::singleShot(0, &form, [&form, name, button] {
        EXPECT_TRUE(form.isVisible());
        if (name) form.FileEdit->setText(*name);
        QTest::mouseClick(button, Qt::LeftButton);
    });
}

TEST(ExportForm, ControlsCaptionsAndTheSaveDialog) {
    TExportForm form;
    EXPECT_EQ(form.windowTitle(), "Export List of Duplicates to External File");
    EXPECT_EQ(form.Label1->text(), "Export List of Files to HTML Document/TXT File");
    EXPECT_EQ(form.Label2->text(), "Hint: sort order affects the output list");
    EXPECT_EQ(form.SelectFileButton->text(), "&Browse");
    EXPECT_EQ(form.OKButton->text(), "&OK");
    EXPECT_EQ(form.CancelButton->text(), "&Cancel");
    EXPECT_EQ(form.FileEdit->text(), "");
    for (const char* name : {"Label1", "FileEdit", "SelectFileButton", "Label2", "OKButton",
                             "CancelButton", "SaveDialog1"})
        EXPECT_NE(form.findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    QFileDialog* save = form.SaveDialog1;
    EXPECT_EQ(save->windowTitle(), "Save List of Duplicates to File:");
    EXPECT_EQ(save->nameFilters(), (QStringList{"HTML files (*.htm*)", "Text files (*.txt)"}));
    EXPECT_EQ(save->defaultSuffix(), "html");
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(save->testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(ExportForm, OkTakesTheTypedNameAsTypedAndCancelAnswersZero) {
    TExportForm form;
    DialogExchange exchange;
    AnswerLater(form, QStringLiteral(" /tmp/report "), form.OKButton);
    form.ShowModal(exchange);
    EXPECT_EQ(exchange.DialogChoice, 1);
    EXPECT_EQ(exchange.DialogPath, " /tmp/report ");

    exchange = {};
    AnswerLater(form, std::nullopt, form.CancelButton);
    form.ShowModal(exchange);
    EXPECT_EQ(exchange.DialogChoice, 0);
    EXPECT_EQ(form.FileEdit->text(), " /tmp/report ") << "the name stays for the next export";

    QTimer::singleShot(0, &form, [&form] { form.reject(); }); // closed by its title bar
    form.ShowModal(exchange);
    EXPECT_EQ(exchange.DialogChoice, 0);
}

// The real command behind the window's button, with the dialog the program shows.
class ExportOnlyActions final : public FileActions {
  public:
    void DeleteSelected(SearchState&) override {}
    void MoveSelected(SearchState&) override {}
    void RenameSelected(SearchState&) override {}
    void DeleteThisFile(SearchState&, int32_t) override {}
    void OpenContainingFolder(const SearchState&, int32_t) override {}
    void OpenWithAssociatedProgram(const SearchState&, int32_t) override {}
    void ShowFileProperties(const SearchState&, int32_t) override {}
    void PicturePreview(const SearchState&, int32_t) override {}

    ExportOnlyActions(TExportForm& dialog, MessagePrompter& prompter)
        : dialog_(dialog), prompter_(prompter) {}
    void ExportList(const SearchState& state, const QString& duplicateText,
                    const TDirectoryList& folders) override {
        ExportCommandParts parts{
            exchange_, dialog_, prompter_, {QLocale(QLocale::English, QLocale::UnitedStates)}};
        ExportDuplicateList({state, duplicateText, folders}, parts);
    }

  private:
    DialogExchange exchange_;
    TExportForm& dialog_;
    MessagePrompter& prompter_;
};

TEST(ExportForm, TheWindowExportsItsSortedViewThroughTheDialog) {
    RecordingPrompter prompter;
    TMainForm window{prompter, [](const QUrl&) { return true; }};
    TExportForm dialog;
    ExportOnlyActions actions(dialog, prompter);
    window.AttachFileActions(actions);
    TempTree tree;
    tree.File("a/zeta.txt", "duplicate content");
    tree.File("b/alpha.txt", "duplicate content");
    window.AddDirectory(tree.Root());
    auto* start = window.findChild<QPushButton*>(QStringLiteral("StartButton"));
    QTest::mouseClick(start, Qt::LeftButton);
    auto* header =
        window.findChild<QTableView*>(QStringLiteral("AdvListView1"))->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    prompter.Prompts.clear();

    const QString name = QString::fromStdString(tree.Path("list.txt"));
    AnswerLater(dialog, name, dialog.OKButton);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("ExportListButton")),
                      Qt::LeftButton);
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(),
              tree.Path("b/alpha.txt") + "\n" + tree.Path("a/zeta.txt") + "\n");
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Text, "Export complete.");
}

} // namespace
