#include "platform/DriveList.h"

#include "platform/ContentFile.h"
#include "platform/DirectoryListing.h"
#include "support/TempTree.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace pellmora {
namespace {

TEST(DriveListTest, WithSlashEndsEveryFolderOnceAndLeavesEmptyAlone) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"/", "/"}, {"/a", "/a/"}, {"/a/", "/a/"}, {"a b", "a b/"}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(WithSlash(path), expected) << path;
}

// The picker's tree must show the folders the walk would enter, links to folders included.
TEST(DriveListTest, SubfoldersAreTheWalksSubfolders) {
    test::TempTree tree;
    tree.Dir("empty");
    tree.File("full/file.txt", "x");
    tree.File("file.txt", "abc");
    tree.Symlink("to-full", tree.Path("full"));
    tree.Symlink("to-file", tree.Path("file.txt"));
    tree.Symlink("dangling", tree.Path("nowhere"));

    DirectoryListing listing;
    ASSERT_TRUE(listing.Open(tree.Root()));
    listing.ReadEntries();
    std::vector<std::string> walked;
    for (const uint32_t i : listing.FindSubfolders())
        walked.emplace_back(listing.Name(i));

    std::vector<std::string> names{"stale"};
    EXPECT_EQ(ListSubfolders(tree.Root(), names), 3);
    EXPECT_EQ(names, walked);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"empty", "full", "to-full"}));

    EXPECT_TRUE(HasSubfolder(tree.Root()));
    EXPECT_FALSE(HasSubfolder(tree.Path("empty")));
    EXPECT_FALSE(HasSubfolder(tree.Path("full")));
    EXPECT_EQ(ListSubfolders(tree.Path("missing"), names), 0);
    EXPECT_TRUE(names.empty());
}

} // namespace
} // namespace pellmora
