#include "platform/FileOperations.h"
#include "platform/FreeName.h"
#include "platform/PinnedFile.h"
#include "support/BoundedChild.h"
#include "support/FileText.h"
#include "support/TempTree.h"
#include "support/TestMount.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace pellmora {
namespace {

using test::FileText;
using test::TempTree;

struct CandidateCase {
    const char* Name;
    int Number;
    const char* Expected;
};

TEST(FreeNameTest, CandidatesSplitTheExtensionAtTheLastDotButNotALeadingOne) {
    const CandidateCase cases[] = {
        {"a.txt", 1, "a.txt"},
        {"a.txt", 2, "a (2).txt"},
        {"photo.2009.jpg", 3, "photo.2009 (3).jpg"},
        {"README", 2, "README (2)"},
        {".profile", 2, ".profile (2)"},
        {".config.bak", 2, ".config (2).bak"},
        {"a.", 2, "a (2)."},
        {"archive.tar.gz", 12, "archive.tar (12).gz"},
    };
    for (const CandidateCase& c : cases)
        EXPECT_EQ(CandidateName(c.Name, c.Number), c.Expected) << c.Name << " " << c.Number;
}

TEST(FreeNameTest, ShortenedCandidatesFitKeepTheExtensionAndNeverSplitACharacter) {
    std::string longName;
    for (int i = 0; i < 125; ++i)
        longName += "\xc3\xa9"; // 250 bytes of "é"
    for (const int n : {1, 2, 100}) {
        const std::string candidate = CandidateName(longName + ".txt", n, 245);
        EXPECT_LE(candidate.size(), 245u);
        EXPECT_EQ(candidate.substr(candidate.size() - 4), ".txt");
        const size_t base = candidate.rfind(n == 1 ? ".txt" : " (");
        EXPECT_EQ(base % 2, 0u) << "a two-byte character was cut: " << candidate;
    }
    const std::string oddExtension = "x." + std::string(300, 'e');
    EXPECT_LE(CandidateName(oddExtension, 2, 245).size(), 245u);
    EXPECT_EQ(CandidateName("short.txt", 2, 245), "short (2).txt");
}

struct TakenCase {
    const char* Name;
    int TakenCopies; // the name itself, then "(2)", ... already in the target
};

// Moves within one file system and renames must never replace anything: each case fills the
// target with copies of the name and expects the first free one, the existing files unchanged.
TEST(FileOperationsTest, MovesAndRenamesTakeTheFirstFreeNameAndReplaceNothing) {
    const TakenCase cases[] = {{"a.txt", 1},    {"a.txt", 2},          {"README", 1},
                               {".profile", 1}, {"photo.2009.jpg", 3}, {"free.txt", 0}};
    for (const bool rename : {false, true}) {
        for (const TakenCase& c : cases) {
            TempTree tree;
            const std::string source = tree.File("from/" + std::string(c.Name), "moved");
            const std::string target = tree.Dir(rename ? "from" : "to") + "/";
            const std::string newName = rename ? "renamed" + std::string(c.Name) : c.Name;
            for (int n = 1; n <= c.TakenCopies; ++n)
                tree.File((rename ? "from/" : "to/") + CandidateName(newName, n), "old");
            const FileOpResult result =
                rename ? RenameInPlace(source, newName) : MoveIntoDirectory(source, target);
            ASSERT_TRUE(result.Ok()) << c.Name << ": " << result.Error;
            EXPECT_EQ(result.FinalPath, target + CandidateName(newName, c.TakenCopies + 1));
            EXPECT_EQ(FileText(result.FinalPath), "moved");
            EXPECT_FALSE(FileIsPresent(source));
            for (int n = 1; n <= c.TakenCopies; ++n)
                EXPECT_EQ(FileText(target + CandidateName(newName, n)), "old") << c.Name;
        }
    }
}

TEST(FileOperationsTest, ARenameOntoANameTakenMeanwhileFailsAndNoOpsStayNoOps) {
    TempTree tree;
    const std::string from = tree.File("a", "mine");
    const std::string to = tree.File("b", "theirs");
    EXPECT_EQ(RenameNoReplace(from, to), EEXIST);
    EXPECT_EQ(FileText(from), "mine");
    EXPECT_EQ(FileText(to), "theirs");
    // Already there: not renamed to "a (2)".
    EXPECT_EQ(MoveIntoDirectory(from, tree.Root() + ".").FinalPath, from);
    EXPECT_EQ(RenameInPlace(from, "a").FinalPath, from);
    EXPECT_EQ(FileText(from), "mine");
    EXPECT_EQ(RenameInPlace(from, "x/y").Error, EINVAL);
    EXPECT_EQ(RenameInPlace(from, "..").Error, EINVAL);
    EXPECT_EQ(MoveIntoDirectory(tree.Path("missing"), tree.Root()).Error, ENOENT);
}

TEST(FileOperationsTest, AMoveAcrossFileSystemsKeepsModeAndTimeAndAvoidsTakenNames) {
    TempTree tree;
    const std::string target = tree.Dir("mnt") + "/";
    test::TmpfsMount mount(target);
    if (!mount.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string source = tree.Pattern("a.bin", 200000, 7);
    const std::string content = FileText(source);
    chmod(source.c_str(), 0640);
    const struct timespec times[2] = {{1000000000, 123456789}, {1200000000, 987654321}};
    utimensat(AT_FDCWD, source.c_str(), times, 0);
    const std::string taken = tree.File("mnt/a.bin", "old");

    const FileOpResult result = MoveIntoDirectory(source, target);
    ASSERT_TRUE(result.Ok()) << result.Error;
    EXPECT_EQ(result.FinalPath, target + "a (2).bin");
    EXPECT_FALSE(FileIsPresent(source));
    EXPECT_EQ(FileText(result.FinalPath), content);
    EXPECT_EQ(FileText(taken), "old");
    struct stat st {};
    ASSERT_EQ(stat(result.FinalPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 987654321);
}

// Either failure leaves the source as it was and nothing in the target: a target too small for
// the copy, and a source folder the user may read but not change (the copy is complete by the
// time the source would go, so it must be taken back).
TEST(FileOperationsTest, AFailedMoveAcrossFileSystemsLeavesTheSourceAndNoCopy) {
    for (const bool full : {true, false}) {
        TempTree tree;
        chmod(tree.Root().c_str(), 0755);
        const std::string target = tree.Dir("mnt") + "/";
        test::TmpfsMount mount(target, full ? "64k" : "1m");
        if (!mount.Mounted() || !test::GiveToNobody(target))
            GTEST_SKIP() << "needs root to mount and to change owners";
        const std::string source = tree.Pattern("locked/f.bin", full ? 1 << 20 : 1000, 3);
        const std::string content = FileText(source);

        const int error = test::RunBounded([&] {
            if (!full && !test::DropToNobody()) return 254;
            return MoveIntoDirectory(source, target).Error;
        });
        EXPECT_EQ(error, full ? ENOSPC : EACCES);
        EXPECT_EQ(FileText(source), content);
        EXPECT_TRUE(std::filesystem::is_empty(target)) << "a copy was left behind";
    }
}

TEST(FileOperationsTest, StampPinAndDeleteSeeTheEntryItself) {
    TempTree tree;
    const std::string file = tree.File("f", "12345");
    const std::string link = tree.Symlink("l", file);
    const struct timespec times[2] = {{5, 0}, {1300000000, 42}};
    utimensat(AT_FDCWD, file.c_str(), times, 0);

    const std::optional<FileStamp> stamp = ReadFileStamp(file);
    ASSERT_TRUE(stamp);
    EXPECT_TRUE(stamp->IsRegular);
    EXPECT_EQ(stamp->Size, 5);
    EXPECT_EQ(stamp->ModTimeNs, 1300000000LL * 1000000000 + 42);
    ASSERT_TRUE(ReadFileStamp(link));
    EXPECT_FALSE(ReadFileStamp(link)->IsRegular);
    EXPECT_NE(ReadFileStamp(link)->Inode, stamp->Inode);
    EXPECT_FALSE(ReadFileStamp(tree.Path("missing")));

    chmod(file.c_str(), 0444);
    PinnedFile pinned(file, *ReadFileStamp(file));
    ASSERT_TRUE(pinned.Pinned());
    EXPECT_FALSE(PinnedFile(link, *ReadFileStamp(file)).Pinned()) << "a link is never followed";
    EXPECT_EQ(pinned.MakeOwnerWritable(), 0);
    struct stat st {};
    stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_TRUE(pinned.StillUnchanged()) << "our own change of mode is accepted";

    EXPECT_EQ(DeletePinned(pinned), 0);
    EXPECT_TRUE(FileIsPresent(link) == false && std::filesystem::is_symlink(link));
    EXPECT_EQ(DeletePinned(pinned), ENOENT);
}

} // namespace
} // namespace pellmora
