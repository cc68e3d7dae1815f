// The window without a mouse: Tab through every control and out of the list again, F1, a letter
// of its own for every button, and the list's keys shown in its menu.

#include "RecordingActions.h"
#include "RecordingPrompter.h"
#include "actions/ui/DeleteUnit.h"
#include "actions/ui/MoveUnit.h"
#include "actions/ui/RenameUnit.h"
#include "export/ui/ExportUnit.h"
#include "model/ui/DialogFrame.h"
#include "results/ResultStateBuilder.h"
#include "settings/ui/EditMaskUnit.h"
#include "settings/ui/MaskUnit.h"
#include "settings/ui/SettingsUnit.h"
#include "ui/AboutUnit.h"
#include "ui/TamberMain.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace pellmora;

namespace {

struct KeyboardTest : ::testing::Test {
    test::RecordingPrompter prompter;
    test::RecordingActions actions;
    std::vector<QUrl> opened;
    TMainForm form{prompter, [this](const QUrl& url) {
                       opened.push_back(url);
                       return true;
                   }};

    void SetUp() override {
        form.AttachFileActions(actions);
        form.State = test::ResultState(
            {"/d/", "/e/"}, {{.Name = "a", .Group = 1}, {.Name = "b", .Dir = 1, .Group = 1}});
        form.SetResultRowCount(2);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    template <typename W = QWidget> W* Get(const char* name) {
        return form.findChild<W*>(QString::fromLatin1(name));
    }
    // The controls that key reaches from start, one press at a time, until it is back.
    QStringList Walk(const char* start, Qt::KeyboardModifiers modifiers) {
        Get(start)->setFocus(Qt::TabFocusReason);
        QStringList visited{start};
        for (int press = 0; press < 60; ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
            const QString name = QApplication::focusWidget()->objectName();
            if (name == QLatin1String(start)) return visited;
            visited << name;
        }
        return visited << "(never back)";
    }
};

TEST_F(KeyboardTest, TabVisitsEveryControlInReadingOrderAndLeavesTheList) {
    // Disabled fields (the size limits while unticked) are passed over.
    const QStringList order = {"HelpButton",
                               "UpdateButton",
                               "SettingsButton",
                               "AboutButton",
                               "TreeView1",
                               "AddDirButton",
                               "RemoveDirButton",
                               "RemoveAllButton",
                               "DirectoriesListBox",
                               "FileTypesEdit",
                               "DefineMasksButton",
                               "SkipFoldersEdit",
                               "MinSizeCheck",
                               "MaxSizeCheck",
                               "OnlyWithKeptCheck",
                               "ExcludeZeroCheck",
                               "ProtectSysFoldersCheck",
                               "ProtectSysFilesCheck",
                               "HTMLabel5",
                               "StartButton",
                               "AdvListView1",
                               "ExportListButton",
                               "DeselectAllButton",
                               "RenameSelectedButton",
                               "MoveSelectedButton",
                               "DeleteSelectedButton"};
    EXPECT_EQ(Walk("HelpButton", {}).join(' ').toStdString(), order.join(' ').toStdString());
    QStringList backwards = order.mid(1);
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(Walk("HelpButton", Qt::ShiftModifier).join(' ').toStdString(),
              (QStringList{"HelpButton"} + backwards).join(' ').toStdString());

    // With a row selected, Tab still leaves the list, and the arrows move inside it.
    auto* list = Get<QTableView>("AdvListView1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(list->currentIndex().row(), 0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentIndex().row(), 1);
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "ExportListButton");
}

TEST_F(KeyboardTest, F1OpensTheHelpAndEnterTheDonationPage) {
    QTest::keyClick(Get("AdvListView1"), Qt::Key_F1);
    QTest::keyClick(Get("HTMLabel5"), Qt::Key_Return);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("/help.html"));
    EXPECT_TRUE(opened[1].toLocalFile().endsWith("/donation.html"));
}

// Each entry of the list's menu that has a key shows it, and the key does what the entry does.
TEST_F(KeyboardTest, TheListsMenuShowsItsKeys) {
    auto* list = Get<QTableView>("AdvListView1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    const QStringList shown = {
        "FileProperties1|Ctrl+P",      "Openfilewithassociatedprogram1|Ctrl+R",
        "Opencontainedfolder1|Ctrl+O", "Deletethisfile1|Del",
        "SelectAllinFolder1|Ctrl+S",   "SelectAllinSubdirectories|Ctrl+Shift+S"};
    QStringList keyed;
    for (QAction* action : Get<QMenu>("PopupMenu1")->actions()) {
        if (action->shortcut().isEmpty()) continue;
        EXPECT_TRUE(action->isShortcutVisibleInContextMenu());
        keyed << action->objectName() + "|" + action->shortcut().toString();
        // Pressed in the list, the key reaches the entry's command.
        if (action->objectName().startsWith("SelectAll")) continue; // ticks, no file action
        const QKeyCombination key = action->shortcut()[0];
        QTest::keyClick(list, key.key(), key.keyboardModifiers());
        action->trigger();
        ASSERT_EQ(actions.Calls.size(), 2) << action->objectName().toStdString();
        EXPECT_EQ(actions.Calls[0], actions.Calls[1]);
        actions.Calls.clear();
    }
    EXPECT_EQ(keyed.join(' ').toStdString(), shown.join(' ').toStdString());
}

// No two buttons of one window share a letter, and assistive tools read the caption without
// its "&".
TEST(ButtonLetters, EveryButtonHasALetterOfItsOwnInItsWindow) {
    test::RecordingPrompter prompter;
    TMainForm main(prompter, [](const QUrl&) { return true; });
    TDeleteForm deleteForm;
    TMoveForm moveForm;
    TRenameForm renameForm(prompter);
    TExportForm exportForm;
    TAboutForm about(prompter);
    TMaskForm masks(prompter, {});
    TEditMaskForm editMask(prompter);
    TSettingsForm settings(prompter);
    for (QWidget* window :
         std::initializer_list<QWidget*>{&main, &deleteForm, &moveForm, &renameForm, &exportForm,
                                         &about, &masks, &editMask, &settings}) {
        QSet<QChar> letters;
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (button->window() != window) continue; // a file dialog's own
            const QString caption = button->text();
            const qsizetype amp = caption.indexOf('&');
            ASSERT_GE(amp, 0) << caption.toStdString();
            const QChar letter = caption[amp + 1].toLower();
            EXPECT_FALSE(letters.contains(letter))
                << window->objectName().toStdString() << ": " << caption.toStdString();
            letters.insert(letter);
            EXPECT_EQ(button->accessibleName(), WithoutMnemonic(caption));
            EXPECT_FALSE(button->accessibleName().contains('&'));
        }
        EXPECT_FALSE(letters.isEmpty()) << window->objectName().toStdString();
    }
}

} // namespace
