// "Delete Selected" with the two choices that keep every path, on real files: which copy is
// kept, the refusals, hard links on /tmp, shared data on a loop-mounted XFS, and the error of a
// file system that cannot share extents.

#include "ActionTestKit.h"
#include "actions/CopyGuard.h"
#include "actions/DeleteCommand.h"
#include "support/FileText.h"
#include "support/FolderNames.h"
#include "support/LoopMount.h"
#include "support/TestMount.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellmora;
using namespace pellmora::test;

namespace {

constexpr uint8_t HardLinks = 3;
constexpr uint8_t SharedData = 4;

struct stat StatOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st;
}

std::string Bytes(int64_t size, char seed) {
    std::string bytes(static_cast<size_t>(size), '\0');
    for (size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<char>(seed + k * 7 + k / 4096);
    return bytes;
}

struct ReplaceTest : ActionCommandTest {
    QStringList Run(ListedTree& l, uint8_t choice) {
        ScriptedPrompter asked;
        ActionParts p{exchange, asked};
        dialog.Choice = choice;
        DeleteSelectedFiles(l.State, dialog, p);
        return asked.Texts();
    }
};

// Each case lists k1, the ticked file and k2 (unticked), then changes the tree its own way.
TEST_F(ReplaceTest, HardLinksOnTheKeptCopyOrARefusalThatLeavesTheFile) {
    const QString summary = "1 of 1 files were replaced by hard links.";
    const QString none = "0 of 1 files were replaced by hard links.";
    struct Case {
        const char* Name;
        std::string Ticked = "t";
        std::function<void(ListedTree&)> Change;
        QStringList Texts;
        const char* LinkedTo; // the copy whose inode the ticked name shows afterwards
    };
    const auto rewrite = [](const char* name) {
        return [name](ListedTree& l) { l.Tree.File(name, "diff"); };
    };
    const Case cases[] = {
        {"the first kept copy", "t", [](ListedTree&) {}, {summary}, "k1"},
        {"a name that is no UTF-8", "t\xff\xfe", [](ListedTree&) {}, {summary}, "k1"},
        {"the first kept copy changed", "t", rewrite("k1"), {summary}, "k2"},
        {"every kept copy changed",
         "t",
         [&](ListedTree& l) {
             rewrite("k1")(l);
             rewrite("k2")(l);
         },
         {"Cannot replace file \"t\"\n\rNo kept copy of it is left.", none},
         "t"},
        {"every copy ticked",
         "t",
         [](ListedTree& l) { l.State.ResultList[0].Checked = l.State.ResultList[2].Checked = 1; },
         {"Cannot replace file \"k1\"\n\rNo kept copy of it is left.",
          "Cannot replace file \"t\"\n\rNo kept copy of it is left.",
          "Cannot replace file \"k2\"\n\rNo kept copy of it is left.",
          "0 of 3 files were replaced by hard links."},
         "t"},
        {"the ticked file changed",
         "t",
         [](ListedTree& l) {
             l.Tree.File("t", "diff");
             l.Tree.SetTime("t", 1700000000);
         },
         {"Cannot replace file \"t\"\n\rThe file was changed after the search.", none},
         "t"},
        {"linked to the kept copy since the search",
         "t",
         [](ListedTree& l) {
             unlink(l.Path("t").c_str());
             link(l.Path("k1").c_str(), l.Path("t").c_str());
         },
         {summary},
         "k1"},
    };
    for (const Case& c : cases) {
        ListedTree l;
        l.List("k1", "same", 1, false);
        l.List(c.Ticked, "same", 1, true);
        l.List("k2", "same", 1, false);
        c.Change(l);
        const ino_t before = StatOf(l.Path(c.Ticked)).st_ino;
        const std::string content = FileText(l.Path(c.Ticked));
        EXPECT_EQ(Run(l, HardLinks), c.Texts) << c.Name;
        const std::string linkedTo = c.LinkedTo == std::string("t") ? c.Ticked : c.LinkedTo;
        const ino_t expected = linkedTo == c.Ticked ? before : StatOf(l.Path(linkedTo)).st_ino;
        EXPECT_EQ(StatOf(l.Path(c.Ticked)).st_ino, expected) << c.Name;
        EXPECT_EQ(Resolved(l.State)[1], c.Texts == QStringList{summary} ? 1 : 0) << c.Name;
        EXPECT_EQ(FileText(l.Path(c.Ticked)), content) << c.Name;
        EXPECT_EQ(FolderNames(l.Tree.Root()),
                  (std::vector<std::string>{"data", "k1", "k2", c.Ticked}))
            << c.Name << ": no hidden name left";
    }
}

// On tmpfs: a kept copy there is no kept copy for a hard link from /tmp, and its extents cannot
// be shared (EOPNOTSUPP).
TEST_F(ReplaceTest, AnotherFileSystemOrOneWithoutSharedExtentsChangesNothing) {
    TmpfsMount mount(listed.Tree.Dir("tmpfs"));
    if (!mount.Mounted()) GTEST_SKIP() << "mounting needs root";
    listed.List("tmpfs/k", "same", 1, false);
    listed.List("t", "same", 1, true);
    const ino_t linkTarget = StatOf(listed.Path("t")).st_ino;
    EXPECT_EQ(Run(listed, HardLinks),
              (QStringList{"Cannot replace file \"t\"\n\rNo kept copy of it is on the same file "
                           "system.",
                           "0 of 1 files were replaced by hard links."}));
    EXPECT_EQ(StatOf(listed.Path("t")).st_ino, linkTarget);

    listed.List("tmpfs/s", "same", 1, true);
    listed.State.ResultList[1].Checked = 0;
    const ino_t shareTarget = StatOf(listed.Path("tmpfs/s")).st_ino;
    EXPECT_EQ(Run(listed, SharedData),
              (QStringList{"Cannot replace file \"s\"\n\rThis file system cannot share data "
                           "between files (copy-on-write).",
                           "0 of 1 files share their data with a kept copy now."}));
    EXPECT_EQ(StatOf(listed.Path("tmpfs/s")).st_ino, shareTarget);
    EXPECT_EQ(FileText(listed.Path("tmpfs/s")), "same");
    EXPECT_EQ(listed.State.ResultList[2].Checked, 1);
}

// t shares k's extents and keeps its inode and mode; d was given other bytes of the same size
// and its listed times back (as a file system that lets a rewrite keep its status-change time
// would), so it passes every check of ours, and the kernel refuses it.
TEST_F(ReplaceTest, SharedDataKeepsTheFileAndTheKernelRefusesOtherBytes) {
    LoopMount xfs(listed.Tree.Dir("xfs"));
    if (!xfs.Mounted()) GTEST_SKIP() << "needs root and mkfs.xfs";
    const std::string content = Bytes(3 << 20, 'a');
    listed.List("xfs/k", content, 1, false);
    listed.List("xfs/t", content, 1, true);
    listed.List("xfs/d", content, 1, true);
    chmod(listed.Path("xfs/t").c_str(), 0640);
    const struct stat listedD = StatOf(listed.Path("xfs/d"));
    const std::string other = Bytes(3 << 20, 'b');
    listed.Tree.File("xfs/d", other);
    const struct timespec times[2] = {listedD.st_atim, listedD.st_mtim};
    utimensat(AT_FDCWD, listed.Path("xfs/d").c_str(), times, 0);
    listed.Restamp(1);
    listed.Restamp(2);
    const struct stat listedT = StatOf(listed.Path("xfs/t"));

    EXPECT_EQ(Run(listed, SharedData),
              (QStringList{"Cannot replace file \"d\"\n\rThe contents differ from the kept copy.",
                           "1 of 2 files share their data with a kept copy now."}));
    const struct stat t = StatOf(listed.Path("xfs/t"));
    EXPECT_EQ(t.st_ino, listedT.st_ino);
    EXPECT_EQ(t.st_mode & 07777, 0640u);
    EXPECT_EQ(t.st_mtim.tv_nsec, listedT.st_mtim.tv_nsec);
    EXPECT_TRUE(AllExtentsShared(listed.Path("xfs/t")));
    EXPECT_EQ(FileText(listed.Path("xfs/t")), content);
    EXPECT_FALSE(AllExtentsShared(listed.Path("xfs/d")));
    EXPECT_EQ(FileText(listed.Path("xfs/d")), other);
    EXPECT_EQ(Resolved(listed.State), (std::vector<int32_t>{0, 1, 0}));
}

// A new name for the kept copy moves its status-change time; that is our own doing, so the next
// file of the batch, and the next batch, still find the kept copy unchanged.
TEST_F(ReplaceTest, OurOwnLinksDoNotMakeTheKeptCopyLookChanged) {
    listed.List("k", "same", 1, false);
    listed.List("t1", "same", 1, true);
    listed.List("t2", "same", 1, true);
    EXPECT_EQ(Run(listed, HardLinks), QStringList{"2 of 2 files were replaced by hard links."});
    EXPECT_TRUE(CopyGuard(listed.State).Unchanged(0));
    listed.List("t3", "same", 1, true);
    EXPECT_EQ(Run(listed, HardLinks), QStringList{"1 of 1 files were replaced by hard links."});
    EXPECT_EQ(StatOf(listed.Path("t3")).st_ino, StatOf(listed.Path("k")).st_ino);
}

} // namespace
