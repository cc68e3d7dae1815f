// Where the two files are kept: beside the program or in the user's configuration folder.

#include "settings/ProgramFiles.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

using namespace pellmora;
using pellmora::test::TempTree;

namespace {

struct ProgramFilesTest : ::testing::Test {
    TempTree tree;
    QString app = QString::fromStdString(tree.Dir("bin"));
    ProgramLocation Location(bool writable, const QString& configHome = "/cfg") {
        return {app, configHome, "/home/u", [writable](const QString&) { return writable; }};
    }
};

TEST_F(ProgramFilesTest, BesideTheProgramWhenTheFileStandsThere) {
    tree.File("bin/Pellmora.ini", "");
    EXPECT_EQ(ProgramFilePath(Location(false), SettingsFileName), app + "/Pellmora.ini");
    // Each file is looked up on its own.
    EXPECT_EQ(ProgramFilePath(Location(false), MasksFileName), "/cfg/Pellmora/masks.ini");
}

TEST_F(ProgramFilesTest, BesideTheProgramWhenItsFolderIsWritable) {
    EXPECT_EQ(ProgramFilePath(Location(true), MasksFileName), app + "/masks.ini");
}

TEST_F(ProgramFilesTest, ConfigurationFolderOfAnInstalledProgram) {
    EXPECT_EQ(ProgramFilePath(Location(false), SettingsFileName), "/cfg/Pellmora/Pellmora.ini");
    EXPECT_EQ(ProgramFilePath(Location(false, ""), SettingsFileName),
              "/home/u/.config/Pellmora/Pellmora.ini");
    EXPECT_EQ(ProgramFilePath(Location(false, "relative/cfg"), SettingsFileName),
              "/home/u/.config/Pellmora/Pellmora.ini");
}

TEST_F(ProgramFilesTest, FolderInPlaceOfTheFileDoesNotCount) {
    tree.Dir("bin/Pellmora.ini");
    EXPECT_EQ(ProgramFilePath(Location(false), SettingsFileName), "/cfg/Pellmora/Pellmora.ini");
}

TEST_F(ProgramFilesTest, WritabilityIsAskedOfTheSystemByDefault) {
    ProgramLocation location{app + "/missing", "/cfg", "/home/u", {}};
    EXPECT_EQ(ProgramFilePath(location, SettingsFileName), "/cfg/Pellmora/Pellmora.ini");
    location.AppDir = app;
    EXPECT_EQ(ProgramFilePath(location, SettingsFileName), app + "/Pellmora.ini");
    EXPECT_EQ(ProgramFilePath(ProgramLocation{}, SettingsFileName), "");
}

} // namespace
