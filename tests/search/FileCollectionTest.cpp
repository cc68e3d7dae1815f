#include "search/FileCollection.h"

#include "platform/DirectoryListing.h"
#include "platform/MountTable.h"
#include "support/TempTree.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pellmora {
namespace {

using Names = std::vector<std::string>;

class FileCollectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        inputs.Directories = {tree.Root()};
        inputs.ProtectSysFolders = false; // the temporary folder may lie anywhere
        Fresh();
    }

    // A fresh state for another run in the same test.
    void Fresh() {
        state = SearchState();
        state.StopFlag = 0;
        pumps = 0;
    }

    void Run() {
        ReadSizeLimits(state, inputs, QLocale::c());
        SplitMasks(state, inputs.MaskText);
        CollectListedDirectories(state, inputs, OperationControl(state.StopFlag, [this] {
                                     ++pumps;
                                     if (onPump) onPump();
                                 }));
    }

    std::string Relative(const std::string& path) const {
        return path.rfind(tree.Root(), 0) == 0 ? path.substr(tree.Root().size()) : "!" + path;
    }

    // ScanList as paths below the root, in ScanList order.
    Names Collected() const {
        Names paths;
        for (const TFileInfoType& file : state.ScanList)
            paths.push_back(Relative(FullPath(state, file)));
        return paths;
    }

    Names Dirs() const {
        Names dirs;
        for (const std::string& dir : state.DirTable)
            dirs.push_back(Relative(dir));
        return dirs;
    }

    // A folder's names in the order the file system lists them.
    Names Listing(const std::string& relative) const {
        Names names;
        for (const auto& entry : fs::directory_iterator(tree.Path(relative)))
            names.push_back(entry.path().filename().string());
        return names;
    }

    test::TempTree tree;
    SearchInputs inputs;
    SearchState state;
    int pumps = 0;
    std::function<void()> onPump;
};

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST_F(FileCollectionTest, WalkOrderIsMaskByMaskInListingOrderThenSubfoldersDepthFirst) {
    for (const char* name : {"a.txt", "b.jpg", "c.txt", "d.jpg", "e.png", "s1/x.jpg", "s1/y.txt",
                             "s1/deep/z.txt", "s2/lib.dll", "s3/w.txt"})
        tree.File(name, "content");
    inputs.MaskText = "*.txt|*.jpg";
    Run();

    // Expected order, built from the listings the test reads itself.
    Names expected;
    std::function<void(const std::string&)> walk = [&](const std::string& dir) {
        for (const char* ext : {".txt", ".jpg"})
            for (const std::string& name : Listing(dir))
                if (EndsWith(name, ext) && fs::is_regular_file(tree.Path(dir + name)))
                    expected.push_back(dir + name);
        for (const std::string& name : Listing(dir))
            if (fs::is_directory(tree.Path(dir + name))) walk(dir + name + "/");
    };
    walk("");
    EXPECT_EQ(Collected(), expected);
    ASSERT_EQ(state.ScanLast + 1, 8);

    // DirTable in order of first accepted file; s2/ contributed nothing and has no entry.
    Names expectedDirs;
    for (const std::string& path : expected) {
        const std::string dir = path.substr(0, path.rfind('/') + 1);
        if (std::find(expectedDirs.begin(), expectedDirs.end(), dir) == expectedDirs.end())
            expectedDirs.push_back(dir);
    }
    EXPECT_EQ(Dirs(), expectedDirs);
    EXPECT_EQ(state.DirLast + 1, 4);
    EXPECT_EQ(std::count(expectedDirs.begin(), expectedDirs.end(), "s2/"), 0);
    // Once per folder entered (5) and once per folder that got its first file (4).
    EXPECT_EQ(pumps, 9);
    EXPECT_EQ(state.CurrentDir, tree.Root());
}

TEST_F(FileCollectionTest, RecordsCarryListingValues) {
    tree.File("a.txt", "12345");
    tree.SetTime("a.txt", 1614834369);
    tree.File("ro.txt", "1");
    chmod(tree.Path("ro.txt").c_str(), 0444);
    Run();
    ASSERT_EQ(state.ScanList.size(), 2u);
    for (const TFileInfoType& file : state.ScanList) {
        EXPECT_EQ(file.DirIndex, 0);
        EXPECT_EQ(file.Crc, 0u);
        EXPECT_EQ(file.Group, 0);
        EXPECT_EQ(file.Checked + file.Resolved + file.Candidate, 0);
        struct stat st {};
        ASSERT_EQ(lstat(FullPath(state, file).c_str(), &st), 0);
        EXPECT_EQ(file.Device, static_cast<uint64_t>(st.st_dev));
        EXPECT_EQ(file.Inode, static_cast<uint64_t>(st.st_ino));
        EXPECT_EQ(file.ModTimeNs, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec);
        if (file.FileName == "a.txt") {
            EXPECT_EQ(file.Size, 5);
            EXPECT_EQ(file.FileDate, DosDateTime(1614834369));
            EXPECT_NE(file.FileDate, 0);
            EXPECT_EQ(file.Attributes, 0x80u);
        } else {
            EXPECT_EQ(file.Attributes, 0x01u);
        }
    }
}

TEST_F(FileCollectionTest, FileMatchedByTwoMasksIsTakenOnce) {
    tree.File("a.jpg", "x");
    tree.File("b.JPG", "x");
    tree.File("c.txt", "x");
    inputs.MaskText = "*.jpg|*.JPG";
    Run();
    Names collected = Collected();
    std::sort(collected.begin(), collected.end());
    EXPECT_EQ(collected, (Names{"a.jpg", "b.JPG"}));

    Fresh();
    inputs.MaskText = "*.jpg|*.*|*.txt|";
    Run();
    EXPECT_EQ(state.ScanList.size(), 3u);
    EXPECT_EQ(state.MaskCount, 4);
}

TEST_F(FileCollectionTest, ListedFoldersNestedRepeatedOrMissing) {
    tree.File("x/a/f1", "1");
    tree.File("x/a/b/f2", "2");
    tree.File("x/ab/f3", "3");
    tree.File("plain", "4");
    // x/a/b/ comes first but lies inside x/a, so x/a/ is walked in its place.
    inputs.Directories = {tree.Path("x/a/b/"),
                          tree.Path("x/a"),
                          tree.Path("x/ab/"),
                          tree.Path("x/a/"),
                          tree.Path("missing/"),
                          tree.Path("plain"),
                          ""};
    Run();
    const Names collected = Collected();
    EXPECT_EQ(collected.size(), 3u);
    EXPECT_EQ(std::count(collected.begin(), collected.end(), "x/ab/f3"), 1);
    const Names dirs = Dirs();
    ASSERT_EQ(dirs.size(), 3u);
    EXPECT_EQ(dirs[0], "x/a/");
    EXPECT_EQ(std::count(dirs.begin(), dirs.end(), "x/a/b/"), 1);
    EXPECT_EQ(state.CurrentDir, "");

    // Texts are compared case-sensitively: another spelling is another folder.
    tree.File("X/AB/f4", "4");
    Fresh();
    inputs.Directories = {tree.Path("x/ab/"), tree.Path("X/AB/")};
    Run();
    EXPECT_EQ(Collected(), (Names{"x/ab/f3", "X/AB/f4"}));
}

TEST_F(FileCollectionTest, SizeLimitsFromText) {
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    auto limits = [&](SizeLimitInput min, SizeLimitInput max, const QLocale& locale) {
        SearchInputs in;
        in.MinSize = min;
        in.MaxSize = max;
        SearchState s;
        ReadSizeLimits(s, in, locale);
        return std::pair<int64_t, int64_t>(s.MinSize, s.MaxSize);
    };
    using L = SizeLimitInput;
    using P = std::pair<int64_t, int64_t>;
    EXPECT_EQ(limits({true, "1.5", SizeUnit::KB}, {true, "2", SizeUnit::MB}, c), P(1536, 2097152));
    EXPECT_EQ(limits({true, "1,5", SizeUnit::KB}, {true, "0", SizeUnit::B}, german), P(1536, 0));
    EXPECT_EQ(limits({true, "1,5", SizeUnit::KB}, {true, "2.5", SizeUnit::B}, c), P(1536, 2));
    EXPECT_EQ(limits({true, "1.000", SizeUnit::B}, {true, "1,000", SizeUnit::B}, c), P(1, 1));
    EXPECT_EQ(limits({true, "abc", SizeUnit::KB}, {true, "abc", SizeUnit::B}, c), P(0, -1));
    EXPECT_EQ(limits({true, "", SizeUnit::KB}, {true, "", SizeUnit::KB}, c), P(0, -1));
    EXPECT_EQ(limits({false, "5", SizeUnit::KB}, {false, "5", SizeUnit::KB}, c), P(0, -1));
    EXPECT_EQ(limits({true, "0.9", SizeUnit::B}, {true, "-3", SizeUnit::KB}, c), P(0, -3072));
    // Out of range or not a number: held within 64 bits, never undefined.
    EXPECT_EQ(limits({true, "1e30", SizeUnit::MB}, {true, "nan", SizeUnit::B}, c),
              P(INT64_MAX, -1));
    EXPECT_EQ(limits({true, "5", SizeUnit::B}, L{}, c), P(5, -1));
}

TEST_F(FileCollectionTest, SizeLimitsAndZeroSizeRuleAtTheBounds) {
    tree.Pattern("s1535", 1535, 1);
    tree.Pattern("s1536", 1536, 2);
    tree.Pattern("s2048", 2048, 3);
    tree.Pattern("s2049", 2049, 4);
    tree.File("empty", "");
    inputs.MinSize = {true, "1.5", SizeUnit::KB};
    inputs.MaxSize = {true, "2", SizeUnit::KB};
    Run();
    Names collected = Collected();
    std::sort(collected.begin(), collected.end());
    EXPECT_EQ(collected, (Names{"s1536", "s2048"}));

    auto runWith = [&](bool excludeZero, SizeLimitInput max) {
        Fresh();
        inputs.MinSize = {};
        inputs.MaxSize = max;
        inputs.ExcludeZero = excludeZero;
        Run();
        return Collected();
    };
    EXPECT_EQ(runWith(false, {true, "0", SizeUnit::B}), (Names{"empty"}));
    EXPECT_TRUE(runWith(true, {true, "0", SizeUnit::B}).empty());
    EXPECT_EQ(runWith(true, {}).size(), 4u);
    EXPECT_EQ(runWith(false, {}).size(), 5u);
}

TEST_F(FileCollectionTest, SystemFilesSkippedButSuchFoldersWalked) {
    for (const char* name : {"LIB.DLL", "driver.Sys", "x.ocx", "lib.dll.bak", "x.dll/inside.txt"})
        tree.File(name, "data");
    Run();
    Names collected = Collected();
    std::sort(collected.begin(), collected.end());
    EXPECT_EQ(collected, (Names{"lib.dll.bak", "x.dll/inside.txt"}));

    Fresh();
    inputs.ProtectSysFiles = false;
    Run();
    EXPECT_EQ(state.ScanList.size(), 5u);
}

TEST_F(FileCollectionTest, ProtectedFoldersAsciiCaselessAndLinkedFromOutside) {
    tree.File("var/lib/f.txt", "f");
    tree.File("var/lib-x/g.txt", "g");
    tree.File("var/Lib/deep/h.txt", "h");
    tree.Symlink("tmp/link", tree.Path("var/lib"));
    state.ProtectedFolders = {"", tree.Root() + "VAR/LIB/"};
    inputs.ProtectSysFolders = true;
    Run();
    Names collected = Collected();
    std::sort(collected.begin(), collected.end());
    // var/lib/ and var/Lib/ are protected; the link reaches var/lib under its own path.
    EXPECT_EQ(collected, (Names{"tmp/link/f.txt", "var/lib-x/g.txt"}));

    // The protected folder listed itself: nothing, not even a yield.
    Fresh();
    state.ProtectedFolders = {tree.Root() + "VAR/LIB/"};
    inputs.Directories = {tree.Path("var/lib")};
    Run();
    EXPECT_TRUE(state.ScanList.empty());
    EXPECT_EQ(pumps, 0);

    Fresh();
    state.ProtectedFolders = {tree.Root() + "VAR/LIB/"};
    inputs.ProtectSysFolders = false;
    Run();
    EXPECT_EQ(Collected(), (Names{"var/lib/f.txt"}));
}

TEST_F(FileCollectionTest, OnlyRegularFilesAreCollected) {
    tree.File("real.txt", "r");
    tree.Symlink("link.txt", tree.Path("real.txt"));
    tree.Symlink("dangling.txt", tree.Path("nowhere"));
    ASSERT_EQ(mkfifo(tree.Path("pipe.txt").c_str(), 0644), 0);
    inputs.ExcludeZero = false;
    Run();
    EXPECT_EQ(Collected(), (Names{"real.txt"}));
}

TEST_F(FileCollectionTest, HardLinkedFileCollectedOnceAtItsFirstPlace) {
    tree.File("orig.txt", "same");
    tree.Dir("sub");
    ASSERT_EQ(link(tree.Path("orig.txt").c_str(), tree.Path("sub/link.txt").c_str()), 0);
    tree.File("other/x.txt", "x");
    Run();
    Names collected = Collected();
    EXPECT_EQ(collected.front(), "orig.txt"); // a folder's own files come before its subfolders
    EXPECT_EQ(std::count(collected.begin(), collected.end(), "sub/link.txt"), 0);
    EXPECT_EQ(collected.size(), 2u);
    // The refused link gives its folder no DirTable entry.
    const Names dirs = Dirs();
    EXPECT_EQ(std::count(dirs.begin(), dirs.end(), "sub/"), 0);
}

TEST_F(FileCollectionTest, LinkedFoldersEnteredOnceAndCyclesEnd) {
    tree.File("real/f.txt", "f");
    tree.Symlink("real/loop", tree.Path("")); // back to the root
    tree.Symlink("links/to-real", tree.Path("real"));
    // The link is listed first, so the tree is walked under the link's path.
    inputs.Directories = {tree.Path("links"), tree.Path("real")};
    Run();
    EXPECT_EQ(Collected(), (Names{"links/to-real/f.txt"}));

    Fresh();
    inputs.Directories = {tree.Root()};
    Run();
    EXPECT_EQ(state.ScanList.size(), 1u);
}

TEST_F(FileCollectionTest, KernelVirtualFileSystemsAreNeverEntered) {
    struct stat procStat {};
    if (stat("/proc", &procStat) != 0 || !MountTable::ReadCurrent().TypeOf(procStat.st_dev))
        GTEST_SKIP() << "no proc mount";
    inputs.Directories = {"/proc", "/proc/self/", "/sys/"};
    inputs.ExcludeZero = false;
    inputs.ProtectSysFolders = false;
    Run();
    EXPECT_TRUE(state.ScanList.empty());
    EXPECT_TRUE(state.DirTable.empty());
    EXPECT_EQ(pumps, 0);
}

TEST_F(FileCollectionTest, NameThatIsNotUtf8KeepsItsBytes) {
    const std::string name = "bad\xff\xfe.txt";
    tree.File(name, "x");
    inputs.MaskText = "bad??.TXT";
    Run();
    ASSERT_EQ(state.ScanList.size(), 1u);
    EXPECT_EQ(state.ScanList[0].FileName, name);
    EXPECT_TRUE(fs::exists(FullPath(state, state.ScanList[0])));
}

TEST_F(FileCollectionTest, StopFromThePumpEndsTheWalkAtOnce) {
    for (int d = 0; d < 5; ++d)
        for (int f = 0; f < 3; ++f)
            tree.File("walk/d" + std::to_string(d) + "/f" + std::to_string(f), "x");
    tree.File("second/never.txt", "x");
    inputs.Directories = {tree.Path("walk"), tree.Path("second")};
    // Stop at the yield of the first folder that gets a file: that folder yields nothing more.
    onPump = [this] {
        if (state.DirLast == 0) state.StopFlag = 1;
    };
    Run();
    EXPECT_EQ(state.ScanList.size(), 1u);
    EXPECT_EQ(state.DirLast, 0);
    EXPECT_EQ(state.CurrentDir, tree.Path("walk")); // the second listed folder was not considered
    EXPECT_EQ(pumps, 3); // walk/, its first subfolder, that subfolder's first file
}

} // namespace
} // namespace pellmora
