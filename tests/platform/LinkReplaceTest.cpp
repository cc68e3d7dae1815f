// The link-then-rename replacement at the moments between its system calls: a failure there
// leaves the file and no hidden name, and a taken hidden name is never touched.

#include "platform/LinkReplace.h"
#include "support/FileText.h"
#include "support/FolderNames.h"
#include "support/TempTree.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <filesystem>
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
        std::function<int(const std::string&)> BeforeRename;
        bool WrongKept; // kept's identity no longer the one given
        int Error;
        std::vector<std::string> Left;
    };
    const Case cases[] = {
        {"linked", {".h1"}, {}, false, 0, {"k", "t"}},
        {"failure between link and rename",
         {".h1"},
         [](const std::string&) { return EIO; },
         false,
         EIO,
         {"k", "t"}},
        {"a taken hidden name is passed over",
         {".taken", ".h2"},
         {},
         false,
         0,
         {".taken", "k", "t"}},
        {"kept replaced since it was listed", {".h1"}, {}, true, ESTALE, {"k", "t"}},
    };
    for (const Case& c : cases) {
        TempTree tree;
        tree.File("k", "same");
        tree.File("t", "same");
        tree.File(".taken", "someone else's");
        if (c.Left.front() != ".taken") std::filesystem::remove(tree.Path(".taken"));
        const FileIdentity kept = IdentityOf(tree.Path("k"));
        const FileIdentity ticked = IdentityOf(tree.Path("t"));
        std::deque<std::string> names = c.HiddenNames;
        LinkSteps steps{[&names] {
                            const std::string name = names.front();
                            names.pop_front();
                            return name;
                        },
                        c.BeforeRename};
        const FileIdentity given = c.WrongKept ? FileIdentity{} : kept;
        EXPECT_EQ(ReplaceWithHardLink(tree.Path("k"), given, tree.Path("t"), steps), c.Error)
            << c.Name;
        EXPECT_EQ(IdentityOf(tree.Path("t")), c.Error ? ticked : kept) << c.Name;
        EXPECT_EQ(FileText(tree.Path("t")), "same") << c.Name;
        EXPECT_EQ(FolderNames(tree.Root()), c.Left) << c.Name;
        if (c.Left.front() == ".taken") {
            EXPECT_EQ(FileText(tree.Path(".taken")), "someone else's") << c.Name;
        }
    }
}

TEST(LinkReplace, ATargetThatIsTheKeptFileAlreadyStaysAsItIs) {
    TempTree tree;
    tree.File("k", "same");
    std::filesystem::create_hard_link(tree.Path("k"), tree.Path("t"));
    const FileIdentity kept = IdentityOf(tree.Path("k"));
    EXPECT_EQ(ReplaceWithHardLink(tree.Path("k"), kept, tree.Path("t")), 0);
    EXPECT_EQ(IdentityOf(tree.Path("t")), kept);
    EXPECT_EQ(FolderNames(tree.Root()), (std::vector<std::string>{"k", "t"}));
}

} // namespace
