// The link-then-trade replacement at the moments between its system calls: a failure or a
// change there leaves the path holding a whole file and no hidden name, and a taken hidden name
// is never touched.

#include "platform/LinkReplace.h"
#include "support/FileText.h"
#include "support/FolderNames.h"
#include "support/TempTree.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace pellmora;
using namespace pellmora::test;

namespace {

FileIdentity IdentityOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

TEST(LinkReplace, TheFileIsEitherAsItWasOrTheWholeLink) {
    struct Case {
        const char* Name;
        std::deque<std::string> HiddenNames; // handed out in turn
        // Runs between the link and the trade, in the tree's folder.
        std::function<int(const std::string& folder)> BeforeRename;
        int Error;
        std::vector<std::string> Left;
        const char* Content; // what t holds afterwards
    };
    const Case cases[] = {
        {"linked", {".h1"}, {}, 0, {"k", "t"}, "same"},
        {"failure between link and rename",
         {".h1"},
         [](const std::string&) { return EIO; },
         EIO,
         {"k", "t"},
         "same"},
        {"a taken hidden name is passed over",
         {".taken", ".h2"},
         {},
         0,
         {".taken", "k", "t"},
         "same"},
        {"the path took another file meanwhile",
         {".h1"},
         [](const std::string& folder) {
             std::filesystem::remove(folder + "t");
             std::ofstream(folder + "t") << "new!";
             return 0;
         },
         ChangedSinceListed,
         {"k", "t"},
         "new!"},
        {"the ticked file was written meanwhile",
         {".h1"},
         [](const std::string& folder) {
             std::ofstream(folder + "t", std::ios::in | std::ios::out) << "S";
             return 0;
         },
         ChangedSinceListed,
         {"k", "t"},
         "Same"},
    };
    for (const Case& c : cases) {
        TempTree tree;
        tree.File("k", "same");
        tree.File("t", "same");
        if (c.Left.front() == ".taken") tree.File(".taken", "someone else's");
        const PinnedFile kept(tree.Path("k"), *ReadFileStamp(tree.Path("k")));
        const PinnedFile ticked(tree.Path("t"), *ReadFileStamp(tree.Path("t")));
        const FileIdentity tickedIdentity = IdentityOf(tree.Path("t"));
        std::deque<std::string> names = c.HiddenNames;
        const std::string folder = tree.Root() + "/";
        LinkSteps steps{
            [&names] {
                const std::string name = names.front();
                names.pop_front();
                return name;
            },
            [&](const std::string&) { return c.BeforeRename ? c.BeforeRename(folder) : 0; }};
        EXPECT_EQ(ReplaceWithHardLink(kept, ticked, steps), c.Error) << c.Name;
        if (c.Error == 0) {
            EXPECT_EQ(IdentityOf(tree.Path("t")), kept.Stamp().Identity()) << c.Name;
        }
        if (c.Error == EIO) {
            EXPECT_EQ(IdentityOf(tree.Path("t")), tickedIdentity) << c.Name;
        }
        EXPECT_EQ(FileText(tree.Path("t")), c.Content) << c.Name;
        EXPECT_EQ(FileText(tree.Path("k")), "same") << c.Name;
        EXPECT_EQ(FolderNames(tree.Root()), c.Left) << c.Name;
        if (c.Left.front() == ".taken") {
            EXPECT_EQ(FileText(tree.Path(".taken")), "someone else's") << c.Name;
        }
    }
}

} // namespace
