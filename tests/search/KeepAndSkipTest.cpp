// Keep folders, skipped folders and the trash, through whole searches of one tree: which groups
// are listed, which of their files are kept, and that the numbers and totals follow the groups
// listed.

#include "search/FolderMasks.h"
#include "search/SearchDriver.h"
#include "support/RecordingView.h"
#include "support/TempTree.h"
#include "support/TestMount.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellmora;
using pellmora::test::RecordingView;
using pellmora::test::TempTree;

namespace {

using Paths = std::set<std::string>;

struct Case {
    const char* Name;
    std::vector<std::string> Listed; // below the root; "" is the root itself
    std::vector<std::string> Keep;
    const char* Skip = "";
    bool OnlyWithKept = false;
    std::set<Paths> Groups;
    Paths Kept;
};

class KeepAndSkipTest : public ::testing::Test {
  protected:
    KeepAndSkipTest() {
        const char* old = std::getenv("XDG_DATA_HOME");
        if (old) savedDataHome_ = old;
        setenv("XDG_DATA_HOME", tree.Path("data").c_str(), 1);
        // Sizes differ by content, so each content is a group of its own.
        tree.File("master/a.txt", "AAAA");
        tree.File("master/sub/b.txt", "BBBBB");
        tree.File("master/only.txt", "KKKKKKK");
        tree.File("master/sub/only2.txt", "KKKKKKK");
        tree.File("down/a.txt", "AAAA");
        tree.File("down/b.txt", "BBBBB");
        tree.File("down/.git/a.txt", "AAAA");
        tree.File("down/node_modules/x/b.txt", "BBBBB");
        tree.File("down/c1.txt", "CCCCCC");
        tree.File("down/c2.txt", "CCCCCC");
        // Listed before the keep folder, a link reaches a kept folder under another path.
        tree.Symlink("down/lnk", tree.Path("master/sub"));
        // The home trash: never searched, nor a folder listed inside it.
        tree.File("data/Trash/files/a.txt", "AAAA");
        tree.File("data/Trash/info/a.txt.trashinfo", "[Trash Info]\n");
        // Not at the top of a mount: an ordinary folder.
        tree.File("down/.Trash-0/c3.txt", "CCCCCC");
        state.Locale = LocaleContext(QLocale::c());
        state.ProtectedFolders.clear();
    }
    ~KeepAndSkipTest() override {
        if (savedDataHome_)
            setenv("XDG_DATA_HOME", savedDataHome_->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }

    void Run(const Case& c) {
        SearchInputs inputs;
        for (const std::string& dir : c.Listed)
            inputs.Directories.push_back(tree.Path(dir));
        for (const std::string& dir : c.Keep)
            inputs.KeepDirectories.push_back(tree.Path(dir));
        inputs.SkipFolders = QString::fromUtf8(c.Skip).replace("<root>", tree.Root().c_str());
        inputs.OnlyWithKept = c.OnlyWithKept;
        state.StopFlag = 0;
        view = RecordingView();
        SearchStart(state, inputs, view, [] {});
    }

    std::string Relative(const TFileInfoType& file) const {
        return FullPath(state, file).substr(tree.Root().size());
    }

    // The groups as sets, after checking that they are numbered 1, 2, 3 ... in list order.
    std::set<Paths> Groups() const {
        std::vector<Paths> groups;
        for (const TFileInfoType& file : state.ResultList) {
            if (file.Group != static_cast<int32_t>(groups.size())) {
                EXPECT_EQ(file.Group, static_cast<int32_t>(groups.size()) + 1);
                groups.emplace_back();
            }
            groups.back().insert(Relative(file));
        }
        return {groups.begin(), groups.end()};
    }

    Paths Kept() const {
        Paths kept;
        for (const TFileInfoType& file : state.ResultList)
            if (file.Kept) kept.insert(Relative(file));
        return kept;
    }

    TempTree tree;
    SearchState state;
    RecordingView view;

  private:
    std::optional<std::string> savedDataHome_;
};

const Paths A = {"master/a.txt", "down/a.txt", "down/.git/a.txt"};
const Paths B = {"master/sub/b.txt", "down/b.txt", "down/node_modules/x/b.txt"};
const Paths C = {"down/c1.txt", "down/c2.txt", "down/.Trash-0/c3.txt"};
const Paths K = {"master/only.txt", "master/sub/only2.txt"};
const Paths AB = {"master/a.txt", "master/sub/b.txt"};

TEST_F(KeepAndSkipTest, GroupsAndKeptFilesOfEachSetting) {
    const Case cases[] = {
        {"nothing kept or skipped, the trash left out",
         {"master", "down", "data"},
         {},
         "",
         false,
         {A, B, C, K},
         {}},
        {"a keep folder: its group of kept files alone goes",
         {"master", "down"},
         {"master"},
         "",
         false,
         {A, B, C},
         AB},
        {"only groups with a kept file", {"master", "down"}, {"master"}, "", true, {A, B}, AB},
        {"a keep folder named only as kept", {"down"}, {"master"}, "", true, {A, B}, AB},
        {"a kept folder below a plain one",
         {""},
         {"master/sub"},
         "",
         false,
         {A, B, C, K},
         {"master/sub/b.txt", "master/sub/only2.txt"}},
        {"a link from a folder listed first into a keep folder",
         {"down", "master"},
         {"master"},
         "",
         false,
         {A, B, C},
         AB},
        {"a plain folder below a kept one, listed first",
         {"master/sub", "master", "down"},
         {"master"},
         "",
         false,
         {A, B, C},
         AB},
        {"name masks at any depth, blanks and empty masks ignored",
         {"master", "down", "data"},
         {},
         " .git || node_* |  ",
         false,
         {{"master/a.txt", "down/a.txt"}, {"master/sub/b.txt", "down/b.txt"}, C, K},
         {}},
        {"case counts", {"master", "down"}, {}, ".GIT|Node_modules", false, {A, B, C, K}, {}},
        {"a path mask; its stars stop at a slash",
         {"master", "down"},
         {},
         "<root>down/.g?t|<root>*/x|<root>*.git",
         false,
         {{"master/a.txt", "down/a.txt"}, B, C, K},
         {}},
        {"a listed folder that matches is not searched",
         {"master", "down"},
         {},
         "down",
         false,
         {K},
         {}},
        {"keep and skip together",
         {"down", "master"},
         {"master"},
         ".git|node_modules|.Trash-*",
         true,
         {{"master/a.txt", "down/a.txt"}, {"master/sub/b.txt", "down/b.txt"}},
         AB},
        {"a folder listed inside the trash",
         {"data/Trash/files", "master"},
         {},
         "",
         false,
         {K},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Run(c);
        EXPECT_EQ(Groups(), c.Groups);
        EXPECT_EQ(Kept(), c.Kept);
        // Totals and statistics count the groups listed.
        const auto groups = static_cast<int32_t>(c.Groups.size());
        const auto files = static_cast<int32_t>(state.ResultList.size());
        EXPECT_EQ(view.Duplicates, QString("%1 + %2").arg(groups).arg(files - groups));
        int64_t originals = 0;
        for (size_t k = 0; k < state.ResultList.size(); ++k)
            if (k == 0 || state.ResultList[k].Group != state.ResultList[k - 1].Group)
                originals += state.ResultList[k].Size;
        EXPECT_EQ(state.OriginalsSize, originals);
    }
}

// Kept files alone: nothing to list, and the report says so.
TEST_F(KeepAndSkipTest, KeptFilesAloneListNothing) {
    Run({"", {"master"}, {"master"}, "", false, {}, {}});
    EXPECT_TRUE(state.ResultList.empty());
    EXPECT_EQ(view.Duplicates, "0 + 0");
    EXPECT_TRUE(view.Information.endsWith("Duplicates Found: 0 "));
}

// The trash folders at the top of a mount, told from folders of the same names elsewhere.
TEST_F(KeepAndSkipTest, TrashAtTheTopOfAMount) {
    test::TmpfsMount volume(tree.Dir("vol"));
    if (!volume.Mounted()) GTEST_SKIP() << "mounting needs root";
    const std::string uid = std::to_string(getuid());
    tree.File("vol/a.txt", "AAAA");
    tree.File("vol/.Trash-" + uid + "/files/a.txt", "AAAA");
    tree.File("vol/.Trash/" + uid + "/files/a.txt", "AAAA");
    tree.File("vol/.Trash/other/a.txt", "AAAA");
    chmod(tree.Path("vol/.Trash").c_str(), 01777);
    Run({"", {"vol", "master"}, {}, "", false, {}, {}});
    EXPECT_EQ(Groups(),
              (std::set<Paths>{{"vol/a.txt", "vol/.Trash/other/a.txt", "master/a.txt"}, K}));
    Run({"",
         {"vol/.Trash-" + uid + "/files", "vol/.Trash/" + uid, "master"},
         {},
         "",
         false,
         {},
         {}});
    EXPECT_EQ(Groups(), (std::set<Paths>{K}));
}

TEST(FolderMaskTest, WildcardsNeverCrossASlash) {
    struct Match {
        const char* Mask;
        const char* Text;
        bool Matches;
    };
    const Match matches[] = {
        {"*", "", true},           {"?", "", false},
        {"?", "\xc3\xa9", true},   {"??", "\xc3\xa9", false},
        {"?", "\xff", true},       {"a*b", "ab", true},
        {"a*b", "a/b", false},     {"/x/*", "/x/y", true},
        {"/x/*", "/x/y/z", false}, {"/*/y", "/x/y", true},
        {"/x?y", "/x/y", false},   {"*.git", ".git", true},
        {"[a]", "[a]", true},      {"a*a*a", "aaaa", true},
        {"a*a*b", "aaaa", false},  {"/h/*/VMs", "/h/u/VMs", true},
    };
    for (const Match& m : matches)
        EXPECT_EQ(MatchesFolderMask(m.Mask, m.Text), m.Matches) << m.Mask << " " << m.Text;
    EXPECT_TRUE(SkipFolderMasks(QStringLiteral(" | \t|")).Empty());
    EXPECT_TRUE(SkipFolderMasks(QStringLiteral("/h/*/VMs")).Skips("/h/u/VMs/"));
    EXPECT_FALSE(SkipFolderMasks(QStringLiteral("/h/*/VMs")).Skips("/h/u/VMs/x/"));
}

} // namespace
