// The delete, move and rename dialogs: texts, the answers they leave, and what they keep.

#include "actions/ui/DeleteUnit.h"
#include "actions/ui/MoveUnit.h"
#include "actions/ui/RenameUnit.h"
#include "support/TempTree.h"
#include "ui/RecordingPrompter.h"

#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>

using namespace pellmora;
using pellmora::test::RecordingPrompter;
using pellmora::test::TempTree;

namespace {

// Runs act once dialog shows modally; act must close it.
void WhileShown(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        EXPECT_TRUE(dialog.isVisible());
        act();
        if (!dialog.isVisible()) return;
        ADD_FAILURE() << "the dialog stayed open";
        dialog.reject();
    });
}

// On the caption's first letters: a radio button takes clicks on its indicator and text only.
void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

TEST(DeleteForm, CaptionsCountAndWarningAndTheRememberedOption) {
    TDeleteForm form;
    EXPECT_EQ(form.windowTitle(), "Remove Duplicate Files");
    EXPECT_EQ(form.RecyclerRadio->text(), "Move files to the Trash");
    EXPECT_EQ(form.Image1->accessibleName(), "Move files to the Trash");
    EXPECT_EQ(form.DeleteRadio->text(), "Delete files without backup");
    EXPECT_TRUE(form.RecyclerRadio->isChecked());
    EXPECT_EQ(form.Image1->iconSize(), QSize(32, 32));
    for (const char* name : {"Image1", "RecyclerRadio", "Image2", "DeleteRadio", "DelCountLabel",
                             "OKButton", "CancelButton"})
        EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;

    struct Case {
        int32_t Count, Groups;
        const char* Question;
        const char* Warning;
    };
    const Case cases[] = {
        {1, 0, "Do you really want to delete 1 file?", ""},
        {2, 1, "Do you really want to delete 2 files?", "Every copy of 1 group will be deleted."},
        {7, 3, "Do you really want to delete 7 files?", "Every copy of 3 groups will be deleted."},
    };
    DialogExchange exchange;
    for (const Case& c : cases) {
        exchange.SelectedCount = c.Count;
        WhileShown(form, [&] {
            EXPECT_EQ(form.DelCountLabel->text(), c.Question);
            EXPECT_EQ(form.WarningLabel->text(), c.Warning);
            Click(form.CancelButton);
        });
        form.ShowModal(exchange, c.Groups);
        EXPECT_EQ(exchange.DialogChoice, 0);
    }

    WhileShown(form, [&] {
        Click(form.Image2); // the icon picks the option beside it
        Click(form.OKButton);
    });
    form.ShowModal(exchange, 0);
    EXPECT_EQ(exchange.DialogChoice, 2);
    exchange.DialogChoice = 0;
    WhileShown(form, [&] { Click(form.OKButton); });
    form.ShowModal(exchange, 0);
    EXPECT_EQ(exchange.DialogChoice, 2) << "the option stays for the next delete";
    WhileShown(form, [&] {
        Click(form.Image1);
        Click(form.OKButton);
    });
    form.ShowModal(exchange, 0);
    EXPECT_EQ(exchange.DialogChoice, 1);
    exchange.DialogChoice = 0;
    WhileShown(form, [&] { form.reject(); }); // the title bar's close
    form.ShowModal(exchange, 0);
    EXPECT_EQ(exchange.DialogChoice, 0);
}

// The two options that keep every path: their answers, the red line that belongs to hard links
// only, and a count that asks to replace, without the group warning: no copy is lost.
TEST(DeleteForm, HardLinksAndSharedDataAnswerThreeAndFour) {
    TDeleteForm form;
    EXPECT_EQ(form.HardLinkRadio->text(), "Replace with hard links to a kept copy");
    EXPECT_EQ(form.ShareRadio->text(), "Share the data of a kept copy (copy-on-write)");
    EXPECT_EQ(form.LinkWarningLabel->text(),
              "Linked files share one content: a change to one changes all of them.");
    EXPECT_EQ(form.LinkWarningLabel->styleSheet(), form.WarningLabel->styleSheet());

    const QString replace = "Do you really want to replace 2 files?";
    const QString remove = "Do you really want to delete 2 files?";
    const QString everyCopy = "Every copy of 1 group will be deleted.";
    struct Case {
        QRadioButton* Radio;
        uint8_t Choice;
        bool LinkWarning;
        QString Question, Warning;
    };
    const Case cases[] = {
        {form.HardLinkRadio, 3, true, replace, ""},
        {form.ShareRadio, 4, false, replace, ""},
        {form.HardLinkRadio, 3, true, replace, ""},
        {form.DeleteRadio, 2, false, remove, everyCopy},
    };
    DialogExchange exchange;
    exchange.SelectedCount = 2;
    for (const Case& c : cases) {
        WhileShown(form, [&] {
            Click(c.Radio);
            EXPECT_EQ(form.LinkWarningLabel->isVisible(), c.LinkWarning) << c.Choice;
            EXPECT_EQ(form.DelCountLabel->text(), c.Question) << c.Choice;
            EXPECT_EQ(form.WarningLabel->text(), c.Warning) << c.Choice;
            EXPECT_EQ(form.WarningLabel->isVisible(), !c.Warning.isEmpty()) << c.Choice;
            Click(form.OKButton);
        });
        form.ShowModal(exchange, 1);
        EXPECT_EQ(exchange.DialogChoice, c.Choice);
    }
    form.HardLinkRadio->setChecked(true);
    exchange.DialogChoice = 0;
    WhileShown(form, [&] {
        EXPECT_EQ(form.focusWidget(), form.HardLinkRadio) << "the remembered option";
        EXPECT_TRUE(form.LinkWarningLabel->isVisible());
        Click(form.OKButton);
    });
    form.ShowModal(exchange, 0);
    EXPECT_EQ(exchange.DialogChoice, 3);
}

TEST(MoveForm, DocumentsFirstThenTheTypedFolderAndTheBrowser) {
    TMoveForm form;
    EXPECT_EQ(form.windowTitle(), "Move duplicate files to specified directory");
    EXPECT_EQ(form.DirectoryEdit->text(),
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(form.Label2->text(),
              "Attention! There is no option to move your files back automatically.");
    EXPECT_EQ(form.DirectoryDialog->windowTitle(), "Select directory to move files");
    EXPECT_EQ(form.DirectoryDialog->fileMode(), QFileDialog::Directory);

    DialogExchange exchange;
    exchange.SelectedCount = 1;
    WhileShown(form, [&] {
        EXPECT_EQ(form.DelCountLabel->text(), "Do you really want to move 1 file?");
        form.DirectoryEdit->setText(" typed/");
        Click(form.OKButton);
    });
    form.ShowModal(exchange);
    EXPECT_EQ(exchange.DialogChoice, 1);
    EXPECT_EQ(exchange.DialogPath, " typed/");

    TempTree tree;
    const QString picked = QString::fromStdString(tree.Dir("picked"));
    const auto browse = [&](const QString& inEdit, const QString& opensAt, bool accept) {
        form.DirectoryEdit->setText(inEdit);
        QTimer::singleShot(0, form.DirectoryDialog, [&] {
            EXPECT_EQ(QDir(form.DirectoryDialog->directory()).canonicalPath(),
                      QDir(opensAt).canonicalPath());
            if (!accept) return form.DirectoryDialog->reject();
            form.DirectoryDialog->setDirectory(picked);
            static_cast<QDialog*>(form.DirectoryDialog)->accept();
        });
        form.SelectDirectoryButtonClick();
    };
    browse("", QDir::currentPath(), false);
    EXPECT_EQ(form.DirectoryEdit->text(), "") << "a cancelled browser changes nothing";
    browse(QString::fromStdString(tree.Root()), QString::fromStdString(tree.Root()), true);
    EXPECT_EQ(QDir(form.DirectoryEdit->text()).canonicalPath(), QDir(picked).canonicalPath());
}

TEST(RenameForm, SampleLabelsChecksAndTheAnswer) {
    RecordingPrompter prompter;
    TRenameForm form(prompter);
    EXPECT_EQ(form.windowTitle(), "Rename duplicate files");
    EXPECT_TRUE(form.SampleLabel->font().bold());
    DialogExchange exchange;
    exchange.SelectedCount = 3;
    WhileShown(form, [&] {
        EXPECT_EQ(form.RenameSampleLabel->text(), "_Duplicate_Filename.ext");
        EXPECT_EQ(form.MainLabel->text(), "Rename Files with a Prefix:");
        EXPECT_EQ(form.DelCountLabel->text(), "Do you really want to rename 3 files?");
        Click(form.PostfixRadioButton);
        EXPECT_EQ(form.RenameSampleLabel->text(), "Filename_Duplicate_.ext");
        EXPECT_EQ(form.MainLabel->text(), "Rename Files with a Postfix:");
        form.PrefixEdit->clear();
        QTest::keyClicks(form.PrefixEdit, "<b>");
        EXPECT_EQ(form.RenameSampleLabel->text(), "Filename<b>.ext");
        EXPECT_EQ(form.RenameSampleLabel->textFormat(), Qt::PlainText);
        form.PrefixEdit->clear();
        Click(form.OKButton); // refused: the dialog stays
        form.PrefixEdit->setText("a:b");
        Click(form.OKButton);
        EXPECT_TRUE(form.isVisible());
        form.PrefixEdit->setText(" .copy ");
        Click(form.OKButton);
    });
    form.ShowModal(exchange);
    ASSERT_EQ(prompter.Prompts.size(), 2u);
    EXPECT_EQ(prompter.Prompts[0].Text, "Please, enter a prefix.");
    EXPECT_TRUE(prompter.Prompts[1].Text.startsWith("The following symbols are not acceptable"));
    EXPECT_EQ(exchange.DialogChoice, 1);
    EXPECT_EQ(exchange.RenameAffix, " .copy ");

    exchange.DialogChoice = 0;
    WhileShown(form, [&] {
        EXPECT_EQ(form.RenameSampleLabel->text(), "Filename .copy .ext") << "kept from before";
        Click(form.CancelButton);
    });
    form.ShowModal(exchange);
    EXPECT_EQ(exchange.DialogChoice, 0);
}

} // namespace
