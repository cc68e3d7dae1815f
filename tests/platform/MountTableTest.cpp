#include "platform/MountTable.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace pellmora {
namespace {

constexpr const char* SampleMountInfo =
    "21 26 0:20 / /proc rw,relatime - proc proc rw\n"
    "23 26 0:6 / /dev rw,relatime shared:2 - devtmpfs devtmpfs rw,size=12335000k\n"
    "24 23 0:22 / /dev/shm rw,relatime shared:3 master:1 - tmpfs tmpfs rw\n"
    "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw,discard\n"
    "27 26 0:45 / /mnt/my\\040disk rw - fuse.sshfs host:/ rw\n"
    "garbage line\n"
    "28 26 x:y / /bad rw - ext4 /dev/x rw\n"
    "29 26 0:46 / /no-separator rw\n"
    "30 26 0:47 / /tmp rw - tmpfs tmpfs rw";

TEST(MountTableTest, ParsesTypesByDevice) {
    const MountTable table = MountTable::Parse(SampleMountInfo);
    ASSERT_NE(table.TypeOf(makedev(0, 20)), nullptr);
    EXPECT_EQ(*table.TypeOf(makedev(0, 20)), "proc");
    EXPECT_EQ(*table.TypeOf(makedev(0, 6)), "devtmpfs");
    EXPECT_EQ(*table.TypeOf(makedev(0, 22)), "tmpfs"); // after two optional fields
    EXPECT_EQ(*table.TypeOf(makedev(254, 0)), "ext4");
    EXPECT_EQ(*table.TypeOf(makedev(0, 45)), "fuse.sshfs");
    EXPECT_EQ(*table.TypeOf(makedev(0, 47)), "tmpfs"); // last line without a line feed
    EXPECT_EQ(table.TypeOf(makedev(0, 46)), nullptr);
    EXPECT_EQ(table.TypeOf(makedev(9, 9)), nullptr);
    EXPECT_EQ(MountTable::Parse("").TypeOf(makedev(0, 20)), nullptr);
}

TEST(MountTableTest, MountPointContainingIsTheDeepestWholeNamePrefix) {
    const MountTable table = MountTable::Parse(SampleMountInfo);
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/a.txt", "/"},  {"/dev/shm/x", "/dev/shm"},
        {"/dev/shmx/y", "/dev"}, {"/mnt/my disk/f", "/mnt/my disk"},
        {"/tmp", "/tmp"},        {"/bad/f", "/"},
    };
    for (const auto& [path, mountPoint] : cases)
        EXPECT_EQ(table.MountPointContaining(path), mountPoint) << path;
    EXPECT_EQ(MountTable::Parse("").MountPointContaining("/a"), "/");
}

TEST(MountTableTest, KernelTypesAreVirtualAndTmpfsIsNot) {
    for (const char* type : {"proc", "sysfs", "devtmpfs", "devpts", "cgroup2", "autofs"})
        EXPECT_TRUE(IsVirtualFileSystemType(type)) << type;
    for (const char* type : {"tmpfs", "ext4", "btrfs", "fuse.sshfs", "overlay", "proc2", ""})
        EXPECT_FALSE(IsVirtualFileSystemType(type)) << type;
}

TEST(MountTableTest, CheckOnTheRunningSystem) {
    struct stat procStat {};
    struct stat tmpStat {};
    ASSERT_EQ(stat("/tmp", &tmpStat), 0);
    VirtualFileSystemCheck check;
    EXPECT_FALSE(check.IsVirtual(tmpStat.st_dev));
    const MountTable table = MountTable::ReadCurrent();
    if (stat("/proc", &procStat) != 0 || !table.TypeOf(procStat.st_dev))
        GTEST_SKIP() << "no proc mount";
    EXPECT_TRUE(check.IsVirtual(procStat.st_dev));
    EXPECT_TRUE(check.IsVirtual(procStat.st_dev)); // remembered
    EXPECT_FALSE(check.IsVirtual(tmpStat.st_dev));
}

} // namespace
} // namespace pellmora
