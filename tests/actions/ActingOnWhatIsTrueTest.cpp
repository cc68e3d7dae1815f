// Ways an act could believe what is no longer true, one row each: a copy edited in place with its
// times put back, a link that would change who may read a file, a checksum store someone else
// controls, a source replaced while it is copied, an ACL the target drops, a read cut short or
// written to while it ran. In every row the user's files end as they were.

#include "ActionTestKit.h"
#include "actions/DeleteCommand.h"
#include "platform/ChecksumCache.h"
#include "platform/MountTable.h"
#include "platform/MoveAcross.h"
#include "platform/PinnedFile.h"
#include "search/crc32tab.h"
#include "support/ExtendedAttributes.h"
#include "support/FileText.h"
#include "support/TestMount.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellmora;
using namespace pellmora::test;

namespace {

constexpr uint8_t ToTrash = 1, ForGood = 2, HardLinks = 3, Shared = 4;
constexpr uid_t Nobody = 65534;

// What a tag editor's "keep file dates" or `rsync -t --inplace` does: other bytes of the same
// length, written in place, and both times put back. Only the status-change time moves.
void EditKeepingTimes(const std::string& path) {
    struct stat before {};
    ASSERT_EQ(lstat(path.c_str(), &before), 0);
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(pwrite(fd, "EDIT", 4, 0), 4);
    close(fd);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

ino_t InodeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_ino;
}

// k stays unticked, t is ticked: one group of two equal files.
struct Pair {
    ListedTree Listed;
    ino_t TickedInode;
    Pair() {
        Listed.List("k", "same bytes", 1, false);
        Listed.List("t", "same bytes", 1, true);
        TickedInode = InodeOf(T());
    }
    std::string K() const { return Listed.Path("k"); }
    std::string T() const { return Listed.Path("t"); }
    QStringList Act(uint8_t choice) {
        ScriptedPrompter prompter;
        ScriptedDialog dialog;
        DialogExchange exchange;
        ActionParts parts{exchange, prompter};
        dialog.Choice = choice;
        DeleteSelectedFiles(Listed.State, dialog, parts);
        return prompter.Texts();
    }
    // t is still its own file, unticked by nobody, in its place.
    void ExpectTickedUntouched(const char* content) {
        EXPECT_EQ(InodeOf(T()), TickedInode);
        EXPECT_EQ(FileText(T()), content);
        EXPECT_TRUE(Listed.Trashed().empty());
        EXPECT_EQ(Listed.State.ResultList[1].Resolved, 0);
    }
};

QStringList Refused(const char* verb, const char* reason, const char* summary) {
    return {QString("Cannot %1 file \"t\"\n\r%2").arg(verb, reason), summary};
}
const char* const NoneLinked = "0 of 1 files were replaced by hard links.";
const char* const NoneDeleted = "0 of 1 files was deleted.";
const char* const NoneShared = "0 of 1 files share their data with a kept copy now.";

// The kept copy edited in place: no act may leave t's bytes only in it.
void KeptCopyEdited(uint8_t choice, const char* verb, const char* reason, const char* summary) {
    Pair pair;
    EditKeepingTimes(pair.K());
    EXPECT_EQ(pair.Act(choice), Refused(verb, reason, summary));
    pair.ExpectTickedUntouched("same bytes");
}

// The ticked file edited with its times put back: its status-change time tells, whatever the act.
void TickedEdited(uint8_t choice, const char* verb, const char* summary) {
    Pair pair;
    EditKeepingTimes(pair.T());
    EXPECT_EQ(pair.Act(choice), Refused(verb, "The file was changed after the search.", summary));
    pair.ExpectTickedUntouched("EDIT bytes");
}

// The ticked file edited where a rewrite leaves the status-change time as it was (FAT, exFAT,
// FUSE): only its bytes tell.
void TickedEditedUnseen(uint8_t choice, const char* verb, const char* summary) {
    Pair pair;
    EditKeepingTimes(pair.T());
    pair.Listed.Restamp(1);
    EXPECT_EQ(pair.Act(choice), Refused(verb, "The file was changed after the search.", summary));
    pair.ExpectTickedUntouched("EDIT bytes");
}

// A link would give t the kept copy's owner, mode and attributes.
void OtherAccess(const std::function<void(const std::string&)>& change, mode_t mode) {
    Pair pair;
    change(pair.T());
    pair.Listed.Restamp(1);
    EXPECT_EQ(pair.Act(HardLinks),
              Refused("replace", "The kept copy has other permissions or attributes.", NoneLinked));
    pair.ExpectTickedUntouched("same bytes");
    struct stat st {};
    lstat(pair.T().c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, mode);
}

void Chmod(const std::string& path, mode_t mode) {
    chmod(path.c_str(), mode);
}

// The store is refused with a reason that names it, and left exactly as it was.
void StoreRefused(const std::function<std::string(TempTree&)>& make, const char* reason) {
    TempTree tree;
    const std::string store = make(tree);
    const std::string before = FileText(store);
    std::string said;
    EXPECT_EQ(ChecksumCache::Open(store, said), nullptr);
    EXPECT_NE(said.find(reason), std::string::npos) << said;
    EXPECT_EQ(FileText(store), before);
}

// A move onto a tmpfs, or a ramfs that holds no ACL; the source on /tmp's own file system.
void MoveRefused(bool ramfs, const std::function<void(const std::string&)>& prepare,
                 const std::function<void(const std::string&)>& duringCopy, int error) {
    TempTree tree;
    const std::string target = tree.Dir("mnt") + "/";
    std::optional<TmpfsMount> tmpfs;
    std::optional<RamfsMount> noAcls;
    const bool mounted =
        ramfs ? noAcls.emplace(target).Mounted() : tmpfs.emplace(target, "8m").Mounted();
    ASSERT_TRUE(mounted);
    const std::string source = tree.Pattern("f.bin", 3 << 20, 5);
    prepare(source);
    const FileOpResult result = CopyThenRemove(source, target, [&] { duringCopy(source); });
    EXPECT_EQ(result.Error, error) << std::strerror(result.Error);
    EXPECT_TRUE(std::filesystem::exists(source));
    EXPECT_TRUE(std::filesystem::is_empty(target)) << "a copy was left behind";
}

struct Row {
    const char* Name;
    bool NeedsRoot; // mounts, or a file owned by somebody else
    std::function<void()> Check;
};

TEST(ActingOnWhatIsTrue, EveryActRefusesWhatIsNoLongerTrue) {
    const Row rows[] = {
        {"kept copy edited, then hard links", false,
         [] { KeptCopyEdited(HardLinks, "replace", "No kept copy of it is left.", NoneLinked); }},
        {"kept copy edited, then the trash", false,
         [] {
             KeptCopyEdited(ToTrash, "delete", "No unchanged copy of it is left.", NoneDeleted);
         }},
        {"kept copy edited, then a delete for good", false,
         [] {
             KeptCopyEdited(ForGood, "delete", "No unchanged copy of it is left.", NoneDeleted);
         }},
        {"ticked file edited, then the trash", false,
         [] { TickedEdited(ToTrash, "delete", NoneDeleted); }},
        {"ticked file edited, then a delete for good", false,
         [] { TickedEdited(ForGood, "delete", NoneDeleted); }},
        {"ticked file edited, then hard links", false,
         [] { TickedEdited(HardLinks, "replace", NoneLinked); }},
        {"ticked file edited, then shared data", false,
         [] { TickedEdited(Shared, "replace", NoneShared); }},
        {"ticked file edited unseen, then hard links", false,
         [] { TickedEditedUnseen(HardLinks, "replace", NoneLinked); }},
        {"ticked file edited unseen, then a delete for good", false,
         [] { TickedEditedUnseen(ForGood, "delete", NoneDeleted); }},
        {"a private copy of a kept copy others may read", false,
         [] { OtherAccess([](const std::string& t) { Chmod(t, 0600); }, 0600); }},
        {"an executable copy", false,
         [] { OtherAccess([](const std::string& t) { Chmod(t, 0755); }, 0755); }},
        {"a tagged copy", false,
         [] {
             OtherAccess([](const std::string& t) { SetAttribute(t, "user.xdg.tags", "tax"); },
                         0644);
         }},
        {"a store another user owns", true,
         [] {
             StoreRefused(
                 [](TempTree& tree) {
                     std::string reason;
                     ChecksumCache::Open(tree.Path("s.sqlite"), reason).reset();
                     const std::string store = tree.Path("s.sqlite");
                     EXPECT_EQ(chown(store.c_str(), Nobody, Nobody), 0);
                     return store;
                 },
                 ": not owned by you");
         }},
        {"a store others may write", false,
         [] {
             StoreRefused(
                 [](TempTree& tree) {
                     std::string reason;
                     ChecksumCache::Open(tree.Path("s.sqlite"), reason).reset();
                     Chmod(tree.Path("s.sqlite"), 0622);
                     return tree.Path("s.sqlite");
                 },
                 ": writable by others");
         }},
        {"a store in a folder others may write", false,
         [] {
             StoreRefused(
                 [](TempTree& tree) {
                     Chmod(tree.Dir("open"), 0777);
                     return tree.File("open/s.sqlite", "");
                 },
                 "open: writable by others");
         }},
        {"a store that is a symbolic link", false,
         [] {
             StoreRefused(
                 [](TempTree& tree) {
                     tree.File("victim", "");
                     tree.Symlink("s.sqlite", tree.Path("victim"));
                     return tree.Path("s.sqlite");
                 },
                 ": a symbolic link");
         }},
        {"the source replaced while it is moved", true,
         [] {
             MoveRefused(
                 false, [](const std::string&) {},
                 [](const std::string& source) {
                     std::filesystem::remove(source);
                     std::ofstream(source) << "a new version";
                 },
                 ChangedSinceListed);
         }},
        {"an ACL the target cannot hold", true,
         [] {
             MoveRefused(
                 true,
                 [](const std::string& source) {
                     SetAttribute(source, "system.posix_acl_access", AccessAcl());
                 },
                 [](const std::string&) {}, EOPNOTSUPP);
         }},
        {"a read cut short by a stop", false,
         [] {
             TempTree tree;
             unsigned char buffer[4];
             bool ok = true;
             ReadFileDigest(
                 tree.File("f", "12345678"), 8, buffer, 4, [] { return false; }, ok);
             EXPECT_FALSE(ok);
         }},
        {"a file written while it is read", false,
         [] {
             TempTree tree;
             const std::string path = tree.File("f", "12345678");
             unsigned char buffer[4];
             bool ok = false;
             ReadWitness witness;
             const auto write = [&] {
                 std::ofstream(path, std::ios::in | std::ios::out) << "X";
                 return true;
             };
             ReadFileDigest(path, 8, buffer, 4, write, ok, &witness);
             EXPECT_FALSE(witness.Steady);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        if (row.NeedsRoot && geteuid() != 0) continue;
        row.Check();
    }
}

// Checksums are remembered only where the kernel alone sets the status-change time.
TEST(ActingOnWhatIsTrue, OnlyFileSystemsThatKeepTheChangeTimeAreRemembered) {
    for (const char* type :
         {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "tmpfs", "zfs", "bcachefs"})
        EXPECT_TRUE(KeepsChangeTime(type)) << type;
    for (const char* type : {"vfat", "msdos", "exfat", "fuseblk", "fuse.exfat", "ntfs", "ntfs3",
                             "fuse.sshfs", "nfs", "overlay", "", "ext4x"})
        EXPECT_FALSE(KeepsChangeTime(type)) << type;
}

} // namespace
