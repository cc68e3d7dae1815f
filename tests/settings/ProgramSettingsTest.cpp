// The settings file as the program writes and reads it, and the size fields' key filter.

#include "settings/ProgramSettings.h"
#include "settings/LineListText.h"
#include "settings/SizeKeyFilter.h"
#include "support/TempTree.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace pellmora;
using pellmora::test::TempTree;

namespace {

const char* const EveryKey = "[Main]\nSaveState=1\n"
                             "[Masks]\nFileTypes=*.*\n"
                             "[Compare Mode]\nCompareMode=0\n"
                             "[Exclude Files]\nSkipZero=1\nSkipSysFolders=1\nSkipSysFiles=1\n"
                             "SkipFolders=\n"
                             "[FileSize Options]\nMinSizeEnable=0\nMinSize=0\nMinSizeUnit=1\n"
                             "MaxSizeEnable=0\nMaxSize=0\nMaxSizeUnit=1\n"
                             "[Directories]\nLines=FFFE\nKeep=FFFE\nOnlyWithKept=0\n"
                             "[Checksum Cache]\nEnabled=0\n";

struct ProgramSettingsTest : ::testing::Test {
    TempTree tree;
    QString path = QString::fromStdString(tree.Path("Pellmora.ini"));
    QLocale c = QLocale::c();

    std::string Stored() {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll().toStdString();
    }
    ProgramSettings Loaded(const std::string& text, ProgramSettings start = {}) {
        tree.File("Pellmora.ini", text);
        LoadProgramSettings(path, start, c);
        return start;
    }
};

TEST_F(ProgramSettingsTest, FirstStartWritesEveryKeyInOrder) {
    ProgramSettings settings;
    LoadProgramSettings(path, settings, c); // no file: nothing changes
    EXPECT_TRUE(settings.SaveState);
    EXPECT_EQ(settings.CompareMode, 0);
    EXPECT_EQ(StoreProgramSettings(path, settings, c), "");
    EXPECT_EQ(Stored(), EveryKey);
}

TEST_F(ProgramSettingsTest, EveryOptionComesBack) {
    ProgramSettings settings;
    settings.CompareMode = 1;
    settings.Options.MaskText = "*.jpg|*.txt";
    settings.Options.ExcludeZero = false;
    settings.Options.ProtectSysFiles = false;
    settings.Options.MinSize = {true, "2.5", SizeUnit::MB};
    settings.Options.MaxSize = {false, "700", SizeUnit::B};
    settings.Options.Directories = {"/home/u/Fotos/", "/tmp/\xE9t\xE9/", "/"};
    settings.Options.KeepDirectories = {"/home/u/Fotos/"};
    settings.Options.OnlyWithKept = true;
    settings.Options.SkipFolders = ".git|node_modules|/home/*/VMs";
    settings.CacheEnabled = true;
    settings.Window = {-20, 35, 1000, 700, true};
    ASSERT_EQ(StoreProgramSettings(path, settings, c), "");
    EXPECT_TRUE(
        Stored().ends_with("[Window]\nLeft=-20\nTop=35\nWidth=1000\nHeight=700\nMaximized=1\n"));
    ProgramSettings back;
    LoadProgramSettings(path, back, c);
    EXPECT_TRUE(back.CacheEnabled);
    EXPECT_EQ(back.Options.KeepDirectories, settings.Options.KeepDirectories);
    EXPECT_TRUE(back.Options.OnlyWithKept);
    EXPECT_EQ(back.Options.SkipFolders, settings.Options.SkipFolders);
    EXPECT_EQ(std::tie(back.Window.Left, back.Window.Top, back.Window.Width, back.Window.Height,
                       back.Window.Maximized),
              std::make_tuple(-20, 35, 1000, 700, true));
    EXPECT_EQ(back.CompareMode, 1);
    EXPECT_EQ(back.Options.MaskText, "*.jpg|*.txt");
    EXPECT_FALSE(back.Options.ExcludeZero);
    EXPECT_TRUE(back.Options.ProtectSysFolders);
    EXPECT_FALSE(back.Options.ProtectSysFiles);
    EXPECT_TRUE(back.Options.MinSize.Checked);
    EXPECT_EQ(back.Options.MinSize.Text, "2.5");
    EXPECT_EQ(back.Options.MinSize.Unit, SizeUnit::MB);
    EXPECT_EQ(back.Options.MaxSize.Text, "700");
    EXPECT_EQ(back.Options.MaxSize.Unit, SizeUnit::B);
    EXPECT_EQ(back.Options.Directories, settings.Options.Directories);
}

// A file from before keep and skipped folders: its folders are searched plainly.
TEST_F(ProgramSettingsTest, AnOlderFileReadsAsNoKeepOrSkippedFolders) {
    ProgramSettings start;
    start.Options.KeepDirectories = {"/x/"};
    start.Options.OnlyWithKept = true;
    start.Options.SkipFolders = ".git";
    const ProgramSettings back =
        Loaded("[Main]\nSaveState=1\n[Directories]\nLines=FFFE2F0078002F000D000A00\n", start);
    EXPECT_EQ(back.Options.Directories, TStringArr{"/x/"});
    EXPECT_TRUE(back.Options.KeepDirectories.empty());
    EXPECT_FALSE(back.Options.OnlyWithKept);
    EXPECT_TRUE(back.Options.SkipFolders.isEmpty());
}

TEST_F(ProgramSettingsTest, DirectoryListStoredAsHexOfTheLineList) {
    ProgramSettings settings;
    settings.Options.Directories = {"C:\\Data\\"};
    ASSERT_EQ(StoreProgramSettings(path, settings, c), "");
    EXPECT_NE(Stored().find("Lines=FFFE43003A005C0044006100740061005C000D000A00\n"),
              std::string::npos);
    // Far past the 2047 characters of a text value, every folder comes back whole.
    settings.Options.Directories.assign(60, "/srv/archive/photographs/2023/summer holiday/");
    ASSERT_EQ(StoreProgramSettings(path, settings, c), "");
    ProgramSettings back;
    LoadProgramSettings(path, back, c);
    EXPECT_EQ(back.Options.Directories, settings.Options.Directories);
}

TEST_F(ProgramSettingsTest, SaveStateFalseWritesOnlyItselfAndRestoresNothingElse) {
    tree.File("Pellmora.ini", EveryKey);
    std::string before = Stored();
    ProgramSettings settings;
    settings.SaveState = false;
    settings.CompareMode = 1;
    settings.Options.MaskText = "*.new";
    settings.CacheEnabled = true;
    ASSERT_EQ(StoreProgramSettings(path, settings, c), "");
    before.replace(before.find("SaveState=1"), 11, "SaveState=0");
    EXPECT_EQ(Stored(), before);

    const std::string text = "[Main]\nSaveState=0\n[Compare Mode]\nCompareMode=1\n"
                             "[Masks]\nFileTypes=*.txt\n[Checksum Cache]\nEnabled=1\n";
    const ProgramSettings back = Loaded(text);
    EXPECT_FALSE(back.SaveState);
    EXPECT_FALSE(back.CacheEnabled);
    EXPECT_EQ(back.CompareMode, 0);
    EXPECT_EQ(back.Options.MaskText, "*.*");
}

TEST_F(ProgramSettingsTest, StoredValuesThatDoNotConvertGiveTheDefaults) {
    const struct {
        const char* compare;
        const char* unit;
        int compareMode;
        SizeUnit minUnit;
    } cases[] = {{"2", "5", 0, SizeUnit::B},
                 {"abc", "-1", 0, SizeUnit::B},
                 {"1", "2", 1, SizeUnit::MB},
                 {"$1", "0", 1, SizeUnit::B}};
    for (const auto& k : cases) {
        ProgramSettings start;
        start.CompareMode = 1; // the window's values before reading
        start.Options.MinSize.Unit = SizeUnit::B;
        const ProgramSettings back =
            Loaded(std::string("[Compare Mode]\nCompareMode=") + k.compare +
                       "\n[FileSize Options]\nMinSizeUnit=" + k.unit + "\nMinSize=x\n",
                   start);
        EXPECT_EQ(back.CompareMode, k.compareMode) << k.compare;
        EXPECT_EQ(back.Options.MinSize.Unit, k.minUnit) << k.unit;
        EXPECT_EQ(back.Options.MinSize.Text, "0");
    }
}

TEST_F(ProgramSettingsTest, MissingUnitIsKbAndRealsUseTheLocale) {
    const QLocale comma(QLocale::German, QLocale::Germany);
    ProgramSettings settings;
    settings.Options.MinSize = {true, "1,5", SizeUnit::B};
    settings.Options.MaxSize = {true, "2.25", SizeUnit::KB}; // pasted with a point
    ASSERT_EQ(StoreProgramSettings(path, settings, comma), "");
    EXPECT_NE(Stored().find("MinSize=1,5\n"), std::string::npos);
    EXPECT_NE(Stored().find("MaxSize=2,25\n"), std::string::npos);
    ProgramSettings back = Loaded("[FileSize Options]\nMinSize=2.5\n");
    EXPECT_EQ(back.Options.MinSize.Unit, SizeUnit::KB);
    EXPECT_EQ(back.Options.MinSize.Text, "2.5");
}

// An emptied field means "no limit"; stored as 0 it would come back as a maximum of 0 bytes.
TEST_F(ProgramSettingsTest, EmptiedSizeFieldStaysEmpty) {
    ProgramSettings settings;
    settings.Options.MaxSize = {true, "", SizeUnit::KB};
    settings.Options.MinSize = {true, ",", SizeUnit::KB};
    ASSERT_EQ(StoreProgramSettings(path, settings, c), "");
    EXPECT_NE(Stored().find("MaxSize=\n"), std::string::npos);
    ProgramSettings back;
    LoadProgramSettings(path, back, c);
    EXPECT_EQ(back.Options.MaxSize.Text, "");
    EXPECT_EQ(back.Options.MinSize.Text, "");
}

TEST_F(ProgramSettingsTest, UnwritableFileFailsAtTheFirstWrite) {
    tree.Dir("Pellmora.ini");
    EXPECT_EQ(StoreProgramSettings(path, ProgramSettings{}, c), "Unable to write to " + path);
}

QString Typed(const QString& keys, QChar separator) {
    QString field;
    for (QChar key : keys)
        if (const std::optional<QChar> passed = SizeKeyFilter(key, field, separator))
            field += *passed;
    return field;
}

TEST(SizeKeyFilterTest, DigitsAndOneDecimalSeparator) {
    EXPECT_EQ(Typed("1.5.3", u','), "1,53");
    EXPECT_EQ(Typed("1,5,3", u'.'), "1.53");
    EXPECT_EQ(Typed("-12e3 kb", u'.'), "123");
    EXPECT_EQ(SizeKeyFilter(QChar(8), "1", u'.'), QChar(8));
    EXPECT_EQ(SizeKeyFilter(QChar(13), "1", u'.'), QChar(13));
    EXPECT_EQ(SizeKeyFilter(QChar(0x0663), "", u'.'), std::nullopt); // Arabic-Indic three
}

} // namespace
