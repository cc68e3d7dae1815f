// The Settings dialog, the mask dialogs and the window's settings file, driven as a user would.

#include "../../ui/RecordingPrompter.h"
#include "platform/ChecksumCache.h"
#include "settings/LineListText.h"
#include "settings/ui/EditMaskUnit.h"
#include "settings/ui/MaskUnit.h"
#include "settings/ui/SettingsUnit.h"
#include "support/TempTree.h"
#include "ui/TamberMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace pellmora;
using pellmora::test::RecordingPrompter;
using pellmora::test::TempTree;

namespace {

template <typename W> W* Child(QWidget& parent, const char* name) {
    W* w = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Answers the next modal dialog once it is up.
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        act(modal);
    });
}

// Answers "No" to a confirmation box, "OK" otherwise.
class AnsweringPrompter final : public MessagePrompter {
  public:
    PromptButton Prompt(PromptKind kind, const QString& text,
                        const QList<PromptButton>& buttons) override {
        Prompts.push_back({kind, text});
        return buttons.contains(Answer) ? Answer : buttons.front();
    }
    PromptButton Answer = PromptButton::Ok;
    std::vector<pellmora::test::RecordedPrompt> Prompts;
};

TEST(SettingsFormTest, ShowsAndTakesBackTheValues) {
    AnsweringPrompter prompter;
    TSettingsForm form(prompter);
    form.SaveState = false;
    form.CompareMode = 1;
    form.CacheEnabled = true;
    form.FormShow();
    EXPECT_EQ(Child<QRadioButton>(form, "CRCRadioButton")->text(),
              "CRC32 + XXH3-128 Checksums + FileSize");
    EXPECT_TRUE(Child<QCheckBox>(form, "CacheCheckBox")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>(form, "SaveProgramStateCheck")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(form, "ByteByByteRadioButton")->isChecked());
    Child<QCheckBox>(form, "SaveProgramStateCheck")->setChecked(true);
    Child<QRadioButton>(form, "CRCRadioButton")->setChecked(true);
    QTest::mouseClick(Child<QCheckBox>(form, "CacheCheckBox"), Qt::LeftButton);
    form.CancelButtonClick();
    EXPECT_FALSE(form.SaveState);
    EXPECT_EQ(form.CompareMode, 1);
    EXPECT_TRUE(form.CacheEnabled);
    form.OKButtonClick();
    EXPECT_TRUE(form.SaveState);
    EXPECT_EQ(form.CompareMode, 0);
    EXPECT_FALSE(form.CacheEnabled);
    EXPECT_EQ(form.size(), QSize(403, 257));
}

// "Forget" empties the store there and then; a store it must not touch is reported instead.
TEST(SettingsFormTest, ForgetEmptiesTheStore) {
    TempTree tree;
    AnsweringPrompter prompter;
    TSettingsForm form(prompter);
    form.CacheFile = tree.Path("Pellmora/checksums.sqlite");
    const CacheKey key{"/x", 1, 2, 3, 4, 5};
    std::string reason;
    auto cache = ChecksumCache::Open(form.CacheFile, reason, {200, 0});
    ASSERT_NE(cache, nullptr) << reason;
    cache->StoreWholeFile(key, {1, 2, 3}, 1000);
    cache->Finish();
    cache.reset();
    QTest::mouseClick(Child<QPushButton>(form, "ForgetButton"), Qt::LeftButton);
    EXPECT_TRUE(prompter.Prompts.empty());
    EXPECT_FALSE(ChecksumCache::Open(form.CacheFile, reason)->Find(key).WholeFile);

    form.CacheFile = tree.File("garbage", "not a database");
    QTest::mouseClick(Child<QPushButton>(form, "ForgetButton"), Qt::LeftButton);
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Kind, PromptKind::Error);
    EXPECT_TRUE(prompter.Prompts[0].Text.startsWith("Cannot forget the remembered checksums.\n\r"));
    EXPECT_EQ(QFile(QString::fromStdString(form.CacheFile)).size(), 14);
}

struct MaskFormTest : ::testing::Test {
    TempTree tree;
    AnsweringPrompter prompter;
    ProgramLocation location{QString::fromStdString(tree.Dir("bin")), "/cfg", "/home/u",
                             [](const QString&) { return true; }};
    QString masksPath = QString::fromStdString(tree.Path("bin/masks.ini"));
    TMaskForm form{prompter, location};
    TEditMaskForm edit{prompter};

    MaskFormTest() { form.AttachEditForm(&edit); }
    QListWidget* List() { return Child<QListWidget>(form, "MaskListBox"); }
    QStringList Shown() {
        QStringList texts;
        for (int i = 0; i < List()->count(); ++i)
            texts.push_back(List()->item(i)->text());
        return texts;
    }
    void Tick(int row, bool on = true) {
        List()->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    QStringList Stored() {
        QFile file(masksPath);
        file.open(QIODevice::ReadOnly);
        return LinesOfText(file.readAll());
    }
    void Select(int row) { List()->setCurrentRow(row); }
    bool Enabled(const char* name) { return Child<QPushButton>(form, name)->isEnabled(); }
};

TEST_F(MaskFormTest, FirstShowingBuiltInsThenTheFileReplacesTheMisspelledCatchAll) {
    form.FormShow();
    EXPECT_EQ(Shown(), QStringList({"Any Fle | *.*", "JPEG Images | *.jpg"}));
    EXPECT_EQ(List()->item(0)->checkState(), Qt::Checked); // FileTypes "*.*"
    form.done(QDialog::Rejected);
    EXPECT_EQ(Stored(), QStringList({"Any Fle | *.*", "JPEG Images | *.jpg"}));
    form.FormShow();
    EXPECT_EQ(Shown(), QStringList({"Any File | *.*", "JPEG Images | *.jpg"}));
    EXPECT_EQ(List()->item(0)->checkState(), Qt::Checked); // FileTypes "*.*"
}

TEST_F(MaskFormTest, OkJoinsTheCheckedMasksAndCloseBoxLeavesThemAlone) {
    tree.File("bin/masks.ini", "Text | *.txt\r\nJPEG Images | *.jpg\r\n"); // 8-bit text
    form.FileTypes = "*.jpg";
    form.show(); // the close box
    EXPECT_EQ(Shown(), QStringList({"Any File | *.*", "JPEG Images | *.jpg", "Text | *.txt"}));
    Tick(2);
    form.close();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(form.FileTypes, "*.jpg");
    EXPECT_EQ(Stored(), Shown());
    form.show();
    Tick(1);
    Tick(2);
    form.OKButtonClick();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.FileTypes, "*.jpg|*.txt");
    QFile file(masksPath);
    file.open(QIODevice::ReadOnly);
    EXPECT_TRUE(file.readAll().startsWith("\xFF\xFE")); // written back as UTF-16
}

TEST_F(MaskFormTest, CheckBoxRuleAndTheEmptySelection) {
    tree.File("bin/masks.ini", "\xEF\xBB\xBFJPEG Images | *.jpg\n\n");
    form.FileTypes = "*.jpg";
    form.FormShow();
    ASSERT_EQ(Shown(), QStringList({"", "Any File | *.*", "JPEG Images | *.jpg"}));
    Tick(1);
    EXPECT_EQ(List()->item(2)->checkState(), Qt::Unchecked);
    Tick(2);
    EXPECT_EQ(List()->item(1)->checkState(), Qt::Unchecked);
    Tick(2, false);
    Tick(0);
    form.OKButtonClick();
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Text, "Please select at least one file mask");
    EXPECT_EQ(form.FileTypes, "*.jpg");
}

TEST_F(MaskFormTest, AddEditDeleteWithTheButtonRule) {
    form.FormShow();
    EXPECT_FALSE(Enabled("EditMaskButton"));
    WhenModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Add File Mask");
        Child<QLineEdit>(*dialog, "MaskEdit")->setText("a:b");
        Child<QPushButton>(*dialog, "OKButton")->click(); // refused, stays open
        Child<QLineEdit>(*dialog, "MaskEdit")->setText(" *.txt ");
        Child<QLineEdit>(*dialog, "DescriptionEdit")->setText("Text|Files");
        Child<QPushButton>(*dialog, "OKButton")->click();
    });
    form.AddMaskButtonClick();
    EXPECT_EQ(Shown(), QStringList({"Any Fle | *.*", "JPEG Images | *.jpg", "Text_Files | *.txt"}));
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Text, RefusedSymbolsMessage);

    Select(2);
    EXPECT_TRUE(Enabled("EditMaskButton"));
    WhenModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Edit File Mask");
        EXPECT_EQ(Child<QLineEdit>(*dialog, "MaskEdit")->text(), "*.txt");
        EXPECT_EQ(Child<QLineEdit>(*dialog, "DescriptionEdit")->text(), "Text_Files");
        Child<QLineEdit>(*dialog, "DescriptionEdit")->setText("");
        Child<QLineEdit>(*dialog, "MaskEdit")->setText("*.a");
        Child<QPushButton>(*dialog, "OKButton")->click();
    });
    form.EditMaskButtonClick();
    EXPECT_EQ(Shown().back(), "*.a"); // in place until the next loading

    Select(0);
    prompter.Answer = PromptButton::No;
    form.DeleteMaskButtonClick();
    EXPECT_EQ(Shown().size(), 3);
    prompter.Answer = PromptButton::Yes;
    form.DeleteMaskButtonClick();
    EXPECT_EQ(Shown(), QStringList({"JPEG Images | *.jpg", "*.a"}));
    EXPECT_EQ(prompter.Prompts.back().Text, "Please let me remove this ugly mask, Master?");
    EXPECT_EQ(prompter.Prompts.back().Kind, PromptKind::Confirm);
    EXPECT_FALSE(Enabled("DeleteMaskButton"));
}

TEST_F(MaskFormTest, UnwritableCatalogueIsReportedOnceAndTheDialogCloses) {
    tree.Dir("bin/masks.ini");
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.close();
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Text, "Cannot create file " + masksPath);
}

struct WindowSettingsTest : ::testing::Test {
    TempTree tree;
    RecordingPrompter prompter;
    ProgramLocation location{QString::fromStdString(tree.Dir("bin")), "/cfg", "/home/u",
                             [](const QString&) { return true; }};
    QString iniPath = QString::fromStdString(tree.Path("bin/Pellmora.ini"));

    std::unique_ptr<TMainForm> Window() {
        return std::make_unique<TMainForm>(
            prompter, [](const QUrl&) { return true; }, nullptr, location);
    }
};

TEST_F(WindowSettingsTest, OptionsComeBackAtTheNextStart) {
    {
        auto form = Window();
        Child<QCheckBox>(*form, "ExcludeZeroCheck")->setChecked(false);
        Child<QCheckBox>(*form, "MaxSizeCheck")->setChecked(true);
        Child<QLineEdit>(*form, "MaxSizeEdit")->setText("12");
        Child<QComboBox>(*form, "MaxSizeBox")->setCurrentIndex(2);
        form->AddDirectory("/tmp/\xE9t\xE9/");
        form->AddDirectory("/srv/pictures/");
        // The user ticks the second entry: a keep folder.
        Child<QListWidget>(*form, "DirectoriesListBox")->item(1)->setCheckState(Qt::Checked);
        Child<QLineEdit>(*form, "SkipFoldersEdit")->setText(".git|@eaDir");
        Child<QCheckBox>(*form, "OnlyWithKeptCheck")->setChecked(true);
        form->State.CompareMode = 1;
        form->close();
    }
    auto form = Window();
    EXPECT_FALSE(Child<QCheckBox>(*form, "ExcludeZeroCheck")->isChecked());
    EXPECT_TRUE(Child<QLineEdit>(*form, "MaxSizeEdit")->isEnabled());
    EXPECT_EQ(Child<QLineEdit>(*form, "MaxSizeEdit")->text(), "12");
    EXPECT_EQ(Child<QComboBox>(*form, "MaxSizeBox")->currentIndex(), 2);
    EXPECT_FALSE(Child<QLineEdit>(*form, "MinSizeEdit")->isEnabled());
    const SearchInputs inputs = form->ReadInputs();
    EXPECT_EQ(inputs.Directories, (TStringArr{"/tmp/\xE9t\xE9/", "/srv/pictures/"}));
    EXPECT_EQ(inputs.KeepDirectories, TStringArr{"/srv/pictures/"});
    EXPECT_EQ(inputs.SkipFolders, ".git|@eaDir");
    EXPECT_TRUE(inputs.OnlyWithKept);
    EXPECT_EQ(Child<QListWidget>(*form, "DirectoriesListBox")->item(0)->checkState(),
              Qt::Unchecked);
    EXPECT_EQ(form->State.CompareMode, 1);
    EXPECT_TRUE(prompter.Prompts.empty());
}

TEST_F(WindowSettingsTest, UnwritableSettingsFileIsReportedOnceAndTheWindowCloses) {
    tree.Dir("bin/Pellmora.ini");
    auto form = Window();
    form->show();
    EXPECT_TRUE(form->close());
    ASSERT_EQ(prompter.Prompts.size(), 1u);
    EXPECT_EQ(prompter.Prompts[0].Kind, PromptKind::Error);
    EXPECT_EQ(prompter.Prompts[0].Text, "Unable to write to " + iniPath);
}

TEST_F(WindowSettingsTest, SizeFieldKeyFilterUnderADecimalComma) {
    auto form = Window();
    auto* edit = Child<QLineEdit>(*form, "MinSizeEdit");
    edit->setLocale(QLocale(QLocale::German, QLocale::Germany));
    edit->setEnabled(true);
    edit->clear();
    QTest::keyClicks(edit, "1.5.3x-");
    EXPECT_EQ(edit->text(), "1,53");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1,5");
}

TEST_F(WindowSettingsTest, SettingsButtonChangesTheInMemoryValuesOnly) {
    auto form = Window();
    TSettingsForm settings(prompter);
    form->AttachDialogs(nullptr, &settings);
    WhenModal([](QWidget* dialog) {
        Child<QCheckBox>(*dialog, "SaveProgramStateCheck")->setChecked(false);
        Child<QRadioButton>(*dialog, "ByteByByteRadioButton")->setChecked(true);
        Child<QCheckBox>(*dialog, "CacheCheckBox")->setChecked(true);
        Child<QPushButton>(*dialog, "OKButton")->click();
    });
    form->SettingsButtonClick();
    EXPECT_FALSE(form->SaveState);
    EXPECT_EQ(form->State.CompareMode, 1);
    EXPECT_TRUE(form->CacheEnabled);
    EXPECT_FALSE(QFile::exists(iniPath));
}

// The choice is written after the options, comes back at the next start, and names the store of
// each search; the window comes back where it was.
TEST_F(WindowSettingsTest, CacheChoiceAndWindowComeBackAndReachTheSearch) {
    const QRect place(20, 30, 770, 500);
    {
        auto form = Window();
        EXPECT_FALSE(form->CacheEnabled);
        form->StartButtonClick();
        EXPECT_EQ(form->State.ChecksumCacheFile, "");
        form->CacheEnabled = true;
        form->show();
        form->setGeometry(place);
        form->close();
    }
    QFile file(iniPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[Directories]\nLines=FFFE\nKeep=FFFE\nOnlyWithKept=0\n"
                                        "[Checksum Cache]\nEnabled=1\n[Window]\n"));
    auto form = Window();
    EXPECT_EQ(form->geometry(), place);
    EXPECT_TRUE(form->CacheEnabled);
    form->StartButtonClick(); // no folder: refused, after the state was set
    EXPECT_EQ(form->State.ChecksumCacheFile, ChecksumCache::DefaultFile());
}

} // namespace
