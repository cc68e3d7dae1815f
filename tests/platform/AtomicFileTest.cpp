#include "platform/AtomicFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempTree.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellmora;
using pellmora::test::FileSizeLimit;
using pellmora::test::TempTree;

namespace {

std::string Content(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

QStringList Entries(const std::string& folder) {
    return QDir(QString::fromStdString(folder))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
}

mode_t Mode(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(AtomicFile, CreatesOrReplacesTheFileAndLeavesNothingElse) {
    TempTree tree;
    const std::string path = tree.Path("report.html");
    const mode_t mask = umask(022);
    EXPECT_EQ(WriteFileAtomically(path, "first"), 0);
    EXPECT_EQ(Mode(path), 0644u);
    chmod(path.c_str(), 0600);
    EXPECT_EQ(WriteFileAtomically(path, "second, longer"), 0);
    umask(mask);
    EXPECT_EQ(Content(path), "second, longer");
    EXPECT_EQ(Mode(path), 0600u) << "an existing file keeps its permissions";
    EXPECT_EQ(Entries(tree.Root()), QStringList{"report.html"});
    EXPECT_EQ(WriteFileAtomically(path, ""), 0);
    EXPECT_EQ(Content(path), "");
}

TEST(AtomicFile, ALinkIsKeptAndItsTargetReplaced) {
    TempTree tree;
    const std::string real = tree.File("real/settings.ini", "old");
    const std::string link = tree.Symlink("settings.ini", real);
    EXPECT_EQ(WriteFileAtomically(link, "new"), 0);
    EXPECT_EQ(Content(real), "new");
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(AtomicFile, AFailureKeepsTheOldFileAndRemovesThePartialOne) {
    TempTree tree;
    const std::string path = tree.File("out/report.html", "the old report");
    const std::string big(64 * 1024, 'x');
    {
        FileSizeLimit limit(4096); // a full disk in the middle of the write
        EXPECT_EQ(WriteFileAtomically(path, big), EFBIG);
    }
    EXPECT_EQ(Content(path), "the old report");
    EXPECT_EQ(Entries(tree.Path("out")), QStringList{"report.html"});

    tree.Dir("out/taken");
    EXPECT_EQ(WriteFileAtomically(tree.Path("out/taken"), "x"), EISDIR);
    EXPECT_EQ(WriteFileAtomically(tree.Path("missing/report.html"), "x"), ENOENT);
    EXPECT_EQ(WriteFileAtomically(tree.Path("out/" + std::string(300, 'n')), "x"), ENAMETOOLONG);
    EXPECT_EQ(Entries(tree.Path("out")), (QStringList{"report.html", "taken"}));
}

TEST(AtomicFile, AnUnwritableFolderIsRefused) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
    TempTree tree;
    const std::string path = tree.File("ro/report.html", "kept");
    chmod(tree.Path("ro").c_str(), 0555);
    EXPECT_EQ(WriteFileAtomically(path, "x"), EACCES);
    chmod(tree.Path("ro").c_str(), 0755);
    EXPECT_EQ(Content(path), "kept");
}

} // namespace
