// The INI text file under the settings: what a hand-edited file keeps, what a write refuses,
// and that a failed replacement leaves the old file.

#include "platform/PrivateProfile.h"
#include "platform/SmallFile.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

using namespace pellmora;
using pellmora::test::TempTree;

namespace {

struct PrivateProfileTest : ::testing::Test {
    TempTree tree;
    std::string path = tree.Path("p.ini");

    std::string Contents(const std::string& file = "") {
        std::ifstream in(file.empty() ? path : file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    QString Get(const QString& section, const QString& key, const QString& def = "?") {
        return GetPrivateProfileString(section, key, def, 2048, path);
    }
    bool Set(const QString& section, const QString& key, const QString& value) {
        return WritePrivateProfileString(section, key, value, path);
    }
};

TEST_F(PrivateProfileTest, OtherLinesAreKeptByteForByte) {
    const std::string before = "\xEF\xBB\xBF# note \xFF\xFE\r\n[Main]\r\n SaveState = 1 \r\n"
                               "junk line\r\n\r\n[Other]\r\nx=\xC3\xA9\r\n";
    tree.File("p.ini", before);
    EXPECT_EQ(Get("main", "SAVESTATE"), "1");
    EXPECT_EQ(Get("Other", "x"), QString::fromUtf8("\xC3\xA9"));
    ASSERT_TRUE(Set("MAIN", "New", "v"));
    ASSERT_TRUE(Set("Main", "savestate", "0"));
    EXPECT_EQ(Contents(), "\xEF\xBB\xBF# note \xFF\xFE\r\n[Main]\r\nsavestate=0\r\n"
                          "junk line\r\nNew=v\r\n\r\n[Other]\r\nx=\xC3\xA9\r\n");
}

TEST_F(PrivateProfileTest, EveryValueComesBackAsWritten) {
    for (const QString& value : {QString("  padded "), QString("\"quoted\""), QString("\""),
                                 QString("a=b;c"), QString("[x]"), QString()}) {
        ASSERT_TRUE(Set("S", "k", value)) << value.toStdString();
        EXPECT_EQ(Get("S", "k"), value);
    }
}

TEST_F(PrivateProfileTest, NamesAndValuesThatWouldBreakTheFileAreRefused) {
    tree.File("p.ini", "[S]\nk=1\n");
    EXPECT_FALSE(Set("S", "k", "1\n[Main]\nSaveState=0"));
    EXPECT_FALSE(Set("S", "k", QString("a") + QChar(0)));
    EXPECT_FALSE(Set("S]x", "k", "1"));
    EXPECT_FALSE(Set("S\r", "k", "1"));
    EXPECT_FALSE(Set("S", "a=b", "1"));
    EXPECT_FALSE(Set("S", "  ", "1"));
    EXPECT_FALSE(Set("S", "[T]", "1"));
    EXPECT_FALSE(Set("S", ";k", "1"));
    EXPECT_EQ(Contents(), "[S]\nk=1\n");
}

TEST_F(PrivateProfileTest, ReadsAreCutToTheBuffer) {
    ASSERT_TRUE(Set("S", "k", QString(3000, u'x')));
    EXPECT_EQ(Get("S", "k").size(), 2047);
    EXPECT_EQ(GetPrivateProfileString("S", "missing", QString(3000, u'd'), 2048, path).size(),
              2047);
    ASSERT_TRUE(Set("Second", "k", "1"));
    EXPECT_EQ(GetPrivateProfileString(std::nullopt, std::nullopt, "", 8192, path),
              QString("S") + QChar(0) + "Second" + QChar(0));
    EXPECT_EQ(GetPrivateProfileString(std::nullopt, std::nullopt, "", 5, path),
              QString("S") + QChar(0) + "S" + QChar(0));
}

TEST_F(PrivateProfileTest, FirstSectionAndKeyOfAName) {
    tree.File("p.ini", "k=outside\n[S]\nk=first\nk=second\n[s]\nk=third\n");
    EXPECT_EQ(Get("S", "k"), "first");
    ASSERT_TRUE(Set("S", "k", "new"));
    EXPECT_EQ(Contents(), "k=outside\n[S]\nk=new\nk=second\n[s]\nk=third\n");
}

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Get("S", "k", "d"), "d");
    ASSERT_TRUE(Set("S", "k", "1"));
    EXPECT_EQ(Get("T", "k", "d"), "d");
    EXPECT_EQ(Get("S", "j", "d"), "d");
    EXPECT_TRUE(WritePrivateProfileString(std::nullopt, std::nullopt, std::nullopt, path));
    EXPECT_TRUE(WritePrivateProfileString("T", std::nullopt, std::nullopt, path));
    EXPECT_EQ(Contents(), "[S]\nk=1\n");
}

TEST_F(PrivateProfileTest, UnreadableTargetsAreDefaultsAndRefuseWrites) {
    tree.Dir("p.ini");
    EXPECT_EQ(Get("S", "k", "d"), "d");
    EXPECT_FALSE(Set("S", "k", "1"));
    const std::string fifo = tree.Path("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "d", 2048, fifo), "d"); // does not block
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "1", fifo));
}

TEST_F(PrivateProfileTest, ReplacementGoesThroughLinksAndKeepsPermissions) {
    tree.File("real.ini", "[S]\nk=1\n");
    ::chmod(tree.Path("real.ini").c_str(), 0640);
    tree.Symlink("p.ini", tree.Path("real.ini"));
    ASSERT_TRUE(Set("S", "k", "2"));
    struct stat link {};
    ASSERT_EQ(::lstat(path.c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(Contents(tree.Path("real.ini")), "[S]\nk=2\n");
    struct stat real {};
    ::stat(tree.Path("real.ini").c_str(), &real);
    EXPECT_EQ(real.st_mode & 07777, 0640u);
}

TEST_F(PrivateProfileTest, ReplacementMakesMissingFoldersAndLeavesNoTemporary) {
    const std::string nested = tree.Path("config/Pellmora/masks.ini");
    EXPECT_EQ(ReplaceSmallFile(nested, "abc"), 0);
    EXPECT_EQ(Contents(nested), "abc");
    struct stat folder {};
    ::stat(tree.Path("config/Pellmora").c_str(), &folder);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_NE(ReplaceSmallFile(tree.Path("config/Pellmora/masks.ini/x"), "abc"), 0);
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(tree.Path("config/Pellmora")))
        entries += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(entries, 1);
}

TEST_F(PrivateProfileTest, FileTooLargeForSettingsIsNotTaken) {
    tree.File("p.ini", "[S]\nk=1\n" + std::string(100, 'x'));
    EXPECT_FALSE(ReadSmallFile(path, 50).has_value());
    EXPECT_TRUE(ReadSmallFile(path, 200).has_value());
}

} // namespace
