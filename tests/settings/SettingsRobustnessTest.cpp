// The settings file and "masks.ini" come from outside the program: whatever bytes they hold,
// reading them ends, does not crash, and leaves the options that did not convert at their
// defaults.

#include "settings/MaskCatalogue.h"
#include "settings/ProgramSettings.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <random>

using namespace pellmora;
using pellmora::test::TempTree;

namespace {

std::string RandomBytes(std::mt19937& random, size_t size, const std::string& alphabet) {
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = alphabet.empty() ? static_cast<char>(random() & 0xFF)
                             : alphabet[random() % alphabet.size()];
    return bytes;
}

std::vector<std::string> HostileContents() {
    std::mt19937 random(20240229);
    const std::string valid = "[Main]\r\nSaveState=1\r\n[Directories]\r\nLines=FFFE2F000D000A00\r\n"
                              "[FileSize Options]\r\nMinSize=1.5\r\nMinSizeUnit=2\r\n";
    std::vector<std::string> contents = {
        "",
        "\xFF\xFE",
        "\xFE\xFF\x00[",
        "\xEF\xBB\xBF[Main\n=\n==\n[]\n[\n]\n",
        std::string(3u << 20, '['),
        "[Directories]\nLines=" + std::string(4u << 20, 'F') + "\n",
        "[Directories]\nLines=FFFE" + std::string(1u << 20, '0') + "\n",
        "[Directories]\nLines=FEFF" + RandomBytes(random, 4096, "0123456789ABCDEF") + "\n",
        "[Directories]\nLines=EFBBBF" + RandomBytes(random, 4096, "0123456789abcdef") + "\n",
        std::string(1u << 18, '\n') + std::string(1u << 20, '\r'),
        std::string("[Main]\0SaveState=1\0", 20),
    };
    // The same file in UTF-16, as another editor may save it.
    std::string utf16 = "\xFF\xFE";
    for (char c : valid)
        utf16 += std::string{c, '\0'};
    contents.push_back(utf16);
    for (size_t cut = 0; cut < valid.size(); cut += 7)
        contents.push_back(valid.substr(0, cut));
    for (int i = 0; i < 80; ++i) {
        std::string mutated = valid;
        for (int k = 0; k < 4; ++k)
            mutated[random() % mutated.size()] = static_cast<char>(random() & 0xFF);
        contents.push_back(mutated);
        contents.push_back(RandomBytes(random, random() % 600, i % 2 ? "" : "[]=\r\n$0x1A;"));
    }
    return contents;
}

TEST(SettingsRobustnessTest, SettingsReaderTakesAnyBytes) {
    TempTree tree;
    const QString path = QString::fromStdString(tree.Path("Pellmora.ini"));
    const std::vector<std::string> contents = HostileContents();
    for (size_t i = 0; i < contents.size(); ++i) {
        const std::string& bytes = contents[i];
        tree.File("Pellmora.ini", bytes);
        ProgramSettings settings;
        LoadProgramSettings(path, settings, QLocale::c());
        ASSERT_TRUE(settings.CompareMode == 0 || settings.CompareMode == 1);
        ASSERT_GE(static_cast<int>(settings.Options.MinSize.Unit), 0);
        ASSERT_LE(static_cast<int>(settings.Options.MinSize.Unit), 2);
        ASSERT_LE(settings.Options.Directories.size(), bytes.size());
        // What came back can be stored (a sample: every store syncs thirteen files).
        if (i % 24 == 0) {
            ASSERT_EQ(StoreProgramSettings(path, settings, QLocale::c()), "") << i;
        }
    }
}

TEST(SettingsRobustnessTest, DefaultsSurviveAFolderOrAnUnreadableFile) {
    TempTree tree;
    tree.Dir("Pellmora.ini");
    ProgramSettings settings;
    LoadProgramSettings(QString::fromStdString(tree.Path("Pellmora.ini")), settings, QLocale::c());
    const ProgramSettings defaults;
    EXPECT_EQ(settings.SaveState, defaults.SaveState);
    EXPECT_EQ(settings.Options.MaskText, defaults.Options.MaskText);
    EXPECT_EQ(settings.Options.ExcludeZero, defaults.Options.ExcludeZero);
    EXPECT_EQ(settings.Options.MinSize.Text, defaults.Options.MinSize.Text);
    EXPECT_FALSE(ReadMaskFile(QString::fromStdString(tree.Path("Pellmora.ini"))).has_value());
}

TEST(SettingsRobustnessTest, MaskReaderTakesAnyBytes) {
    TempTree tree;
    const QString path = QString::fromStdString(tree.Path("masks.ini"));
    for (const std::string& bytes : HostileContents()) {
        tree.File("masks.ini", bytes);
        const std::optional<QStringList> lines = ReadMaskFile(path);
        ASSERT_TRUE(lines.has_value());
        MaskCatalogue catalogue;
        catalogue.Load(*lines);
        catalogue.CheckFrom("*.*|*.jpg");
        ASSERT_GE(catalogue.Count(), 1); // "Any File | *.*" at least
        for (const MaskEntry& entry : catalogue.Entries())
            ASSERT_FALSE(HasRefusedSymbol(MaskOf(entry.Text)));
    }
}

} // namespace
