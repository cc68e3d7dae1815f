#include "platform/Trash.h"
#include "platform/FileOperations.h"
#include "support/BoundedChild.h"
#include "support/FileText.h"
#include "support/TempTree.h"
#include "support/TestMount.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {
namespace {

namespace fs = std::filesystem;
using test::FileText;
using test::TempTree;

TEST(TrashTest, InfoPathKeepsEveryByteThroughPercentEncoding) {
    const std::pair<std::string, std::string> cases[] = {
        {"/home/u/a-b_c.~1/x.TXT", "/home/u/a-b_c.~1/x.TXT"},
        {"/with space/100%.txt", "/with%20space/100%25.txt"},
        {"/\xc3\xbc"
         "ber#?&=+;",
         "/%C3%BCber%23%3F%26%3D%2B%3B"},
        {"rel/\xff\x01\n", "rel/%FF%01%0A"},
    };
    for (const auto& [path, encoded] : cases)
        EXPECT_EQ(PercentEncodePath(path), encoded);
    EXPECT_EQ(TrashInfoText("/a b", 0).substr(0, 31), "[Trash Info]\nPath=/a%20b\nDeleti");
    EXPECT_EQ(TrashInfoText("x", 0).size(), 53u); // DeletionDate=YYYY-MM-DDThh:mm:ss
}

// Runs TrashFile in a bounded child whose current folder is an empty folder of its own, with the
// environment the case gives; optionally as the unprivileged user.
struct TrashRun {
    std::string DataHome; // XDG_DATA_HOME
    std::string Home;
    bool AsNobody = false;
};

int TrashInChild(const std::string& path, const TrashRun& run, const std::string& cwd) {
    return test::RunBounded([&] {
        if (run.AsNobody && !test::DropToNobody()) return 254;
        if (chdir(cwd.c_str()) != 0) return 253;
        setenv("XDG_DATA_HOME", run.DataHome.c_str(), 1);
        setenv("HOME", run.Home.c_str(), 1);
        return TrashFile(path).Error;
    });
}

std::string CommandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

bool HaveTrashCli() {
    return std::system("command -v trash-restore >/dev/null 2>&1 && command -v python3 "
                       ">/dev/null 2>&1") == 0;
}

// The Path of the only info file in the trash, decoded to bytes by Python's URL decoder.
std::string DecodedInfoPath(const std::string& trash) {
    const std::string info = FileText(fs::directory_iterator(trash + "info")->path());
    const size_t start = info.find("\nPath=") + 6;
    const std::string encoded = info.substr(start, info.find('\n', start) - start);
    const std::string hex =
        CommandOutput("python3 -c 'import sys, urllib.parse; "
                      "print(urllib.parse.unquote_to_bytes(sys.argv[1]).hex())' '" +
                      encoded + "'");
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size() && hex[i] != '\n'; i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// trash-cli, the independent client: its listing, then it restores what was trashed from under
// folder. It decodes Path as UTF-8, so it is asked to restore only names that are UTF-8.
std::string ListAndRestoreWithTrashCli(const std::string& folder, const std::string& home,
                                       bool restore) {
    const std::string env = "env HOME='" + home + "' XDG_DATA_HOME='" + home + "/data' ";
    const std::string listing = CommandOutput(env + "timeout 20 trash-list 2>&1");
    if (restore)
        std::system(
            ("cd '" + folder + "' && echo 0 | " + env + "timeout 20 trash-restore >/dev/null 2>&1")
                .c_str());
    return listing;
}

struct TrickyName {
    std::string Name;
    bool Utf8;
};

const TrickyName TrickyNames[] = {
    {"plain.txt", true},
    {"with space.txt", true},
    {"100%.txt", true},
    {"\xc3\xbcml\xc3\xa4ut \xe2\x82\xac.txt", true},
    {"not utf8 \xff\xfe.bin", false},
    {std::string(250, 'n') + ".txt", true}, // too long for an info file name of its own
};

// In the home trash the info file keeps the absolute path; in the trash at the top of another
// mount (a tmpfs made here), the path relative to that top.
TEST(TrashTest, TrashedFilesAreListedAndRestoredToTheirExactPaths) {
    if (!HaveTrashCli()) GTEST_SKIP() << "trash-cli is not installed";
    const std::string topTrash = ".Trash-" + std::to_string(getuid()) + "/";
    for (const bool onMount : {false, true}) {
        for (const auto& [name, utf8] : TrickyNames) {
            TempTree tree;
            const std::string home = tree.Dir("home");
            const std::string top = tree.Dir("mnt");
            test::TmpfsMount mount(top);
            if (onMount && !mount.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
            const std::string folder = tree.Dir(onMount ? "mnt/sub dir" : "sub dir");
            const std::string file = folder + "/" + name;
            tree.File(file.substr(tree.Root().size()), "content of " + name);
            const std::string cwd = tree.Dir("cwd");
            ASSERT_EQ(TrashInChild(file, {home + "/data", home}, cwd), 0) << name;
            EXPECT_FALSE(FileIsPresent(file));
            EXPECT_TRUE(fs::is_empty(cwd));
            const std::string trash = onMount ? top + "/" + topTrash : home + "/data/Trash/";
            EXPECT_EQ(DecodedInfoPath(trash), onMount ? "sub dir/" + name : file);

            const std::string listing = ListAndRestoreWithTrashCli(folder, home, utf8);
            if (!utf8) continue;
            EXPECT_NE(listing.find(file), std::string::npos) << listing;
            EXPECT_EQ(FileText(file), "content of " + name) << "not restored: " << name;
            EXPECT_TRUE(fs::is_empty(trash + "info")) << name;
        }
    }
}

struct TopDirCase {
    const char* Setup;
    int Error;
    const char* TrashFolder; // below the mount
};

TEST(TrashTest, TopDirTrashIsChosenOnlyWhereItIsSafe) {
    const std::string uid = std::to_string(getuid());
    const TopDirCase cases[] = {
        {"none", 0, ".Trash-"}, {"sticky", 0, ".Trash/"},     {"plain", 0, ".Trash-"},
        {"link", EXDEV, ""},    {"stickylink", 0, ".Trash-"},
    };
    for (const TopDirCase& c : cases) {
        TempTree tree;
        const std::string top = tree.Dir("mnt");
        test::TmpfsMount mount(top);
        if (!mount.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
        const std::string setup = c.Setup;
        const std::string elsewhere = tree.Dir("elsewhere");
        if (setup == "sticky" || setup == "plain") {
            tree.Dir("mnt/.Trash");
            chmod(tree.Path("mnt/.Trash").c_str(), setup == "sticky" ? 01777 : 0777);
        }
        if (setup == "link") tree.Symlink("mnt/.Trash-" + uid, elsewhere);
        if (setup == "stickylink") {
            chmod(elsewhere.c_str(), 01777);
            tree.Symlink("mnt/.Trash", elsewhere);
        }
        const std::string file = tree.File("mnt/f.txt", "x");
        const std::string cwd = tree.Dir("cwd");
        EXPECT_EQ(TrashInChild(file, {tree.Path("data"), tree.Root()}, cwd), c.Error) << c.Setup;
        EXPECT_TRUE(fs::is_empty(cwd));
        EXPECT_TRUE(fs::is_empty(elsewhere)) << c.Setup;
        if (c.Error) {
            EXPECT_EQ(FileText(file), "x") << c.Setup;
            continue;
        }
        EXPECT_EQ(FileText(top + "/" + c.TrashFolder + uid + "/files/f.txt"), "x") << c.Setup;
    }
}

// A second mount of the home trash's own device cannot rename into it, so the file goes to the
// trash at the top of that mount.
TEST(TrashTest, AFileSeenThroughABindMountGoesToThatMountsTrash) {
    TempTree tree;
    const std::string bind = tree.Dir("bind");
    test::BindMount mount(tree.Dir("real"), bind);
    if (!mount.Mounted()) GTEST_SKIP() << "cannot bind-mount here";
    const std::string file = tree.File("bind/f.txt", "x");
    const std::string cwd = tree.Dir("cwd");
    ASSERT_EQ(TrashInChild(file, {tree.Path("data"), tree.Path("home")}, cwd), 0);
    const std::string trash = bind + "/.Trash-" + std::to_string(getuid()) + "/";
    EXPECT_EQ(FileText(trash + "files/f.txt"), "x");
    EXPECT_NE(FileText(trash + "info/f.txt.trashinfo").find("\nPath=f.txt\n"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(tree.Path("data/Trash/info")));
    EXPECT_TRUE(fs::is_empty(cwd));
}

struct RefusedCase {
    const char* What;
    int Error;
};

// Where no trash can take the file it must stay where it was, with the reason, and nothing may
// appear in the current folder or hang; an info file written before a refused rename goes again.
// The permission cases run as the unprivileged user.
TEST(TrashTest, AFileNoTrashCanTakeStaysWhereItWas) {
    const RefusedCase cases[] = {
        {"read-only mount", EROFS},  {"unwritable topdir", EXDEV},    {"missing data home", EACCES},
        {"unwritable info", EACCES}, {"foreign topdir trash", EXDEV}, {"locked folder", EACCES},
    };
    for (const RefusedCase& c : cases) {
        const std::string what = c.What;
        TempTree tree;
        chmod(tree.Root().c_str(), 0755);
        const std::string top = tree.Dir("mnt");
        test::TmpfsMount mount(top);
        if (!mount.Mounted() || !test::GiveToNobody(tree.Root()))
            GTEST_SKIP() << "needs root to mount and to change owners";
        const std::string cwd = tree.Dir("cwd");
        test::GiveToNobody(cwd);
        const bool onMount =
            what != "missing data home" && what != "unwritable info" && what != "locked folder";
        const std::string file = tree.File(onMount ? "mnt/own/f.txt" : "own/f.txt", "x");
        if (what != "locked folder") test::GiveToNobody(tree.Path(onMount ? "mnt/own" : "own"));
        TrashRun run{tree.Path("data"), tree.Path("home"), true};
        if (what == "read-only mount") {
            ASSERT_TRUE(mount.MakeReadOnly());
        }
        if (what == "missing data home") {
            tree.Dir("locked");
            run.DataHome = tree.Path("locked/data");
        }
        if (what == "unwritable info") {
            tree.Dir("data/Trash/files");
            tree.Dir("data/Trash/info");
            test::GiveToNobody(tree.Path("data"));
            chmod(tree.Path("data/Trash/info").c_str(), 0500);
        }
        if (what == "foreign topdir trash")
            tree.Dir("mnt/.Trash-" + std::to_string(test::NobodyId));
        if (what == "unwritable topdir") {
            ASSERT_EQ(lchown(top.c_str(), 0, 0), 0);
        }

        EXPECT_EQ(TrashInChild(file, run, cwd), c.Error) << c.What;
        EXPECT_EQ(FileText(file), "x") << c.What;
        EXPECT_TRUE(fs::is_empty(cwd)) << c.What;
        for (const char* folder : {"data/Trash/files", "data/Trash/info"}) {
            const std::string trashed = tree.Path(folder);
            EXPECT_TRUE(!fs::exists(trashed) || fs::is_empty(trashed)) << c.What;
        }
    }
}

TEST(TrashTest, AMissingOrRelativeDataHomeNeverLeavesTheHomeAndTakenNamesGetFreeOnes) {
    TempTree tree;
    const std::string cwd = tree.Dir("cwd");
    const TrashRun run{tree.Path("new/data"), tree.Path("home")};
    const std::string first = tree.File("a/same.txt", "first");
    ASSERT_EQ(TrashInChild(first, run, cwd), 0);
    const std::string second = tree.File("b/same.txt", "second");
    ASSERT_EQ(TrashInChild(second, run, cwd), 0);
    const std::string trash = tree.Path("new/data/Trash/");
    EXPECT_EQ(FileText(trash + "files/same.txt"), "first");
    EXPECT_EQ(FileText(trash + "files/same (2).txt"), "second");
    EXPECT_NE(FileText(trash + "info/same (2).txt.trashinfo").find("Path=" + second + "\n"),
              std::string::npos);
    // A relative XDG_DATA_HOME is not used: the trash is then the one below $HOME.
    const std::string third = tree.File("c/same.txt", "third");
    ASSERT_EQ(TrashInChild(third, {"relative/data", tree.Path("home")}, cwd), 0);
    EXPECT_EQ(FileText(tree.Path("home/.local/share/Trash/files/same.txt")), "third");
    EXPECT_TRUE(fs::is_empty(cwd));
}

} // namespace
} // namespace pellmora
