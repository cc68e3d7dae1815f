#include "platform/FileOperations.h"
#include "support/ExtendedAttributes.h"
#include "support/FileText.h"
#include "support/TempTree.h"
#include "support/TestMount.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace pellmora {
namespace {

using test::AccessAcl;
using test::FileText;
using test::SetAttribute;
using test::TempTree;

using Attributes = std::map<std::string, std::string>;

Attributes ReadAttributes(const std::string& path) {
    Attributes attributes;
    char names[4096];
    const ssize_t length = listxattr(path.c_str(), names, sizeof names);
    for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
        char value[4096];
        const ssize_t size = getxattr(path.c_str(), names + at, value, sizeof value);
        attributes[names + at] =
            std::string(value, static_cast<size_t>(std::max<ssize_t>(size, 0)));
    }
    return attributes;
}

// Data at the start and in the middle of 16 MiB, the rest holes: larger than the 1 MiB target,
// so a copy that fills the holes fails for want of space.
void MakeSparse(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(pwrite(fd, "head", 4, 0), 4);
    EXPECT_EQ(pwrite(fd, "middle", 6, 8 << 20), 6);
    EXPECT_EQ(ftruncate(fd, 16 << 20), 0);
    close(fd);
}

struct MoveCase {
    const char* Name;
    std::function<void(const std::string& source)> Prepare;
    const char* MountSize = "1m"; // TmpfsMount hands it on as the mount's size option
    int Error = 0;
};

// A move onto a tmpfs keeps what mv keeps (content, mode, attributes, ACLs, holes); a failure on
// the way, here attributes the target has no room for, leaves the source as it was and no copy.
TEST(MoveAcrossTest, KeepsAttributesAclsAndHolesOrNothingAtAll) {
    const MoveCase cases[] = {
        {"plain file", [](const std::string&) {}},
        {"user, trusted and security attributes",
         [](const std::string& source) {
             SetAttribute(source, "user.comment", "kept");
             SetAttribute(source, "user.empty", "");
             SetAttribute(source, "trusted.origin", "root only");
             SetAttribute(source, "security.pellmora", "label");
         }},
        {"access ACL",
         [](const std::string& source) {
             SetAttribute(source, "system.posix_acl_access", AccessAcl());
         }},
        {"sparse file", MakeSparse},
        // Two inodes' room: the folder and the copy, none left for any user attribute.
        {"no room for an attribute",
         [](const std::string& source) { SetAttribute(source, "user.comment", "lost"); },
         "1m,nr_inodes=2", ENOSPC},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TempTree tree;
        const std::string target = tree.Dir("mnt") + "/";
        test::TmpfsMount mount(target, c.MountSize);
        if (!mount.Mounted()) GTEST_SKIP() << "needs root to mount a tmpfs";
        const std::string source = tree.Pattern("f.bin", 300000, 5);
        chmod(source.c_str(), 0640);
        c.Prepare(source);
        struct stat before {};
        ASSERT_EQ(stat(source.c_str(), &before), 0);
        const std::string content = FileText(source);
        const Attributes attributes = ReadAttributes(source);

        const FileOpResult result = MoveIntoDirectory(source, target);
        ASSERT_EQ(result.Error, c.Error) << std::strerror(result.Error);
        if (c.Error) {
            EXPECT_EQ(FileText(source), content);
            EXPECT_EQ(ReadAttributes(source), attributes);
            EXPECT_TRUE(std::filesystem::is_empty(target)) << "a copy was left behind";
            continue;
        }
        EXPECT_FALSE(FileIsPresent(source));
        struct stat after {};
        ASSERT_EQ(stat(result.FinalPath.c_str(), &after), 0);
        EXPECT_EQ(FileText(result.FinalPath), content);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(ReadAttributes(result.FinalPath), attributes);
        EXPECT_LE(after.st_blocks, before.st_blocks) << "holes were filled";
    }
}

} // namespace
} // namespace pellmora
