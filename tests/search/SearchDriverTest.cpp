#include "search/SearchDriver.h"
#include "model/TextFormats.h"
#include "platform/ContentFile.h"
#include "search/crc32tab.h"
#include "support/RecordingView.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace pellmora;
using pellmora::test::RecordingView;
using pellmora::test::TempTree;

namespace {

const QString Finished = QStringLiteral("Search finished.") + QString(36, QLatin1Char(' '));
const QString Interrupted = QStringLiteral("Search interrupted.");

class SearchDriverTest : public ::testing::Test {
  protected:
    SearchDriverTest() {
        state.Locale = LocaleContext(QLocale::c());
        state.ProtectedFolders.clear();
        inputs.Directories = {tree.Root()};
    }

    void Run() {
        state.StopFlag = 0;
        outcome = SearchStart(state, inputs, view, [this] {
            ++pumps;
            EXPECT_TRUE(state.SearchRunning);
            if (hook) hook();
        });
        EXPECT_FALSE(state.SearchRunning);
    }

    // Groups as sets of paths relative to the tree, in group order.
    std::vector<std::set<std::string>> Groups() const {
        std::vector<std::set<std::string>> groups;
        for (const auto& file : state.ResultList) {
            if (groups.size() < static_cast<size_t>(file.Group)) groups.emplace_back();
            groups[file.Group - 1].insert(FullPath(state, file).substr(tree.Root().size()));
        }
        return groups;
    }

    void ExpectInvariants() const {
        EXPECT_TRUE(state.ScanList.empty());
        ASSERT_EQ(state.ResultList.size(), static_cast<size_t>(state.ResultLast + 1));
        ASSERT_EQ(state.ViewOrder.size(), state.ResultList.size());
        int32_t group = 0;
        int members = 0;
        for (size_t r = 0; r < state.ResultList.size(); ++r) {
            const auto& file = state.ResultList[r];
            EXPECT_EQ(state.ViewOrder[r].Index, static_cast<int32_t>(r));
            EXPECT_EQ(state.ViewOrder[r].Key, file.Group);
            EXPECT_EQ(file.Checked + file.Resolved, 0);
            ASSERT_GE(file.DirIndex, 0);
            ASSERT_LE(file.DirIndex, state.DirLast);
            EXPECT_EQ(access(FullPath(state, file).c_str(), F_OK), 0);
            if (file.Group != group) {
                EXPECT_EQ(file.Group, group + 1) << "groups are numbered without gaps";
                if (group != 0) {
                    EXPECT_GE(members, 2);
                }
                group = file.Group;
                members = 0;
            }
            ++members;
        }
        if (group != 0) {
            EXPECT_GE(members, 2);
        }
    }

    TempTree tree;
    SearchState state;
    SearchInputs inputs;
    RecordingView view;
    std::function<void()> hook;
    int pumps = 0;
    SearchOutcome outcome = SearchOutcome::Failed;
};

TEST_F(SearchDriverTest, PairAndTripleWithExactTotalsAndReport) {
    tree.File("a.txt", std::string(100, 'x'));
    tree.File("sub/b.txt", std::string(100, 'x'));
    tree.File("c.txt", std::string(100, 'y'));
    Run();
    ASSERT_EQ(Groups().size(), 1u);
    EXPECT_EQ(Groups()[0], (std::set<std::string>{"a.txt", "sub/b.txt"}));
    EXPECT_EQ(view.Duplicates, "1 + 1");
    EXPECT_EQ(state.OriginalsSize, 100);
    EXPECT_EQ(state.DuplicatesSize, 100);
    EXPECT_EQ(view.DiskUsing, "100 B + 100 B");
    EXPECT_EQ(view.TotalFiles, "3");
    EXPECT_EQ(view.Progress, 100);
    EXPECT_EQ(view.Information, Finished + "\n\r\n\rScanned: 3 files\n\rFound: 2 files\n\r"
                                           " including: \n\r    Original files: 1\n\r"
                                           "    Duplicate files: 1");
    EXPECT_EQ(view.Status, " Status: Search finished.");
    EXPECT_EQ(view.Rows, 2);
    EXPECT_EQ(state.StopFlag, 1);
    EXPECT_EQ(view.Calls.first(), "PrepareToStart");
    EXPECT_EQ(view.Calls.last(), "PrepareToStop");
    ExpectInvariants();

    tree.File("sub/deeper/c2.txt", std::string(100, 'x'));
    Run();
    EXPECT_EQ(view.Duplicates, "1 + 2");
    EXPECT_EQ(state.DuplicatesSize, 200);
    ExpectInvariants();
}

TEST_F(SearchDriverTest, NoDuplicatesReportsZeroTotals) {
    tree.File("a", "one");
    tree.File("b", "three");
    Run();
    EXPECT_EQ(state.ResultLast, -1);
    EXPECT_TRUE(state.ViewOrder.empty());
    EXPECT_EQ(view.Duplicates, "0 + 0");
    EXPECT_EQ(view.DiskUsing, "0 B + 0 B");
    EXPECT_EQ(view.Information, Finished + "\n\r\n\rScanned: 2 files\n\rDuplicates Found: 0 ");
    ExpectInvariants();
}

TEST_F(SearchDriverTest, EmptyFilesFormOneGroupWithoutCandidates) {
    tree.File("e1", "");
    tree.File("d/e2", "");
    tree.File("x1", "same");
    tree.File("x2", "same");
    inputs.ExcludeZero = false;
    Run();
    ASSERT_EQ(Groups().size(), 2u);
    EXPECT_EQ(Groups()[1], (std::set<std::string>{"e1", "d/e2"}));
    for (const auto& file : state.ResultList)
        EXPECT_EQ(file.Candidate, file.Size == 0 ? 0 : 1);
    EXPECT_EQ(view.Duplicates, "2 + 2");
    ExpectInvariants();
}

TEST_F(SearchDriverTest, LargeFilesDifferingAtEitherEndAreNotGroupedInBothModes) {
    tree.Pattern("first1", 200000, 1, 0);
    tree.Pattern("first2", 200000, 1);
    tree.Pattern("last1", 300000, 2, 299999);
    tree.Pattern("last2", 300000, 2);
    tree.Pattern("big1", 5 * 1048576, 3);
    tree.Pattern("big2", 5 * 1048576, 3);
    tree.Pattern("small1", 1024, 4);
    tree.Pattern("small2", 1024, 4);
    for (uint8_t mode : {0, 1}) {
        state.CompareMode = mode;
        Run();
        ASSERT_EQ(Groups().size(), 2u) << "mode " << int(mode);
        EXPECT_EQ(Groups()[0], (std::set<std::string>{"big1", "big2"}));
        EXPECT_EQ(Groups()[1], (std::set<std::string>{"small1", "small2"}));
        EXPECT_EQ(view.DiskUsing, "5.00 MB + 5.00 MB");
        ExpectInvariants();
    }
}

// Reading ahead changes when bytes arrive, never what is found: the same list, file by file and
// in the same order, with or without readers in flight; and both modes agree on the groups.
TEST_F(SearchDriverTest, ModesAndReadersInFlightFindTheSameList) {
    for (int k = 0; k < 60; ++k) {
        const int size = 1 + (k % 7) * 30000; // sizes on both sides of one block
        tree.Pattern("d" + std::to_string(k % 4) + "/f" + std::to_string(k), size, k % 5,
                     k % 3 == 0 ? size - 1 : -1);
    }
    auto listed = [this] {
        std::vector<std::pair<int32_t, std::string>> rows;
        for (const auto& file : state.ResultList)
            rows.emplace_back(file.Group, FullPath(state, file));
        return rows;
    };
    std::optional<std::vector<std::set<std::string>>> byCrc;
    for (const uint8_t mode : {uint8_t{0}, uint8_t{1}}) {
        state.CompareMode = mode;
        state.ReadersInFlight = 0;
        Run();
        const auto alone = listed();
        state.ReadersInFlight = 7;
        Run();
        EXPECT_EQ(listed(), alone) << "mode " << int(mode);
        if (!byCrc) byCrc = Groups();
        EXPECT_EQ(Groups(), *byCrc);
        ExpectInvariants();
    }
    EXPECT_FALSE(byCrc->empty());
}

// A stop while many reads are outstanding ends the search at once: no reader goes on, and no
// file it opened stays open.
TEST_F(SearchDriverTest, StopWithReadsInFlightLeavesNothingOpenOrRunning) {
    for (int k = 0; k < 400; ++k)
        tree.Pattern("f" + std::to_string(k), 70000 + (k % 2), k % 3);
    auto count = [](const char* folder) {
        return std::distance(std::filesystem::directory_iterator(folder),
                             std::filesystem::directory_iterator{});
    };
    const auto descriptors = count("/proc/self/fd");
    const auto threads = count("/proc/self/task");
    for (const uint8_t mode : {uint8_t{0}, uint8_t{1}}) {
        state.CompareMode = mode;
        int comparing = 0;
        hook = [&] {
            if (state.SearchPhase == 1 && ++comparing == 3) state.StopFlag = 1;
        };
        Run();
        EXPECT_EQ(outcome, SearchOutcome::Stopped);
        EXPECT_EQ(count("/proc/self/fd"), descriptors);
        EXPECT_EQ(count("/proc/self/task"), threads);
    }
}

// Its last four bytes of the first length make content's CRC-32 over them equal target's.
std::string ForgeCrc(std::string content, size_t length, const std::string& target) {
    const size_t at = length - 4;
    const uint32_t want = CrcFoldTable(0xFFFFFFFF, target.data(), length);
    uint8_t index[4];
    uint32_t r = want;
    for (int k = 3; k >= 0; --k) {
        uint8_t j = 0;
        while ((CrcTable[j] >> 24) != (r >> 24))
            ++j;
        index[k] = j;
        r = (r ^ CrcTable[j]) << 8;
    }
    r = CrcFoldTable(0xFFFFFFFF, content.data(), at);
    for (int k = 0; k < 4; ++k) {
        content[at + k] = static_cast<char>((r ^ index[k]) & 0xFF);
        r = CrcTable[index[k]] ^ (r >> 8);
    }
    return content;
}

std::string Noise(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    return bytes;
}

// Files whose CRC-32 agree but whose content does not, made on purpose: never a group, in
// either mode, while the true copies beside them still are.
TEST_F(SearchDriverTest, ForgedCrcCollisionsAreNeverGrouped) {
    const size_t big = 3 * BlockSize + 100;
    struct Forgery {
        const char* name;
        size_t size;
        // The impostor of original: same size, same CRC-32 where the search looks.
        std::string (*make)(const std::string& original, size_t size);
    };
    const Forgery forgeries[] = {
        {"one block", 4096,
         [](const std::string& o, size_t n) { return ForgeCrc(Noise(n, 7), n, o); }},
        {"equal first blocks, colliding files", big,
         [](const std::string& o, size_t n) {
             std::string f = o;
             f[BlockSize + 10] ^= 0x55;
             return ForgeCrc(f, n, o);
         }},
        {"colliding first blocks, so colliding files", big,
         [](const std::string& o, size_t) {
             std::string f = o;
             f[10] ^= 0x55;
             return ForgeCrc(f, BlockSize, o);
         }},
    };
    for (const uint8_t mode : {uint8_t{0}, uint8_t{1}}) {
        for (const Forgery& forgery : forgeries) {
            SCOPED_TRACE(std::string(forgery.name) + (mode ? ", bytes" : ", checksum"));
            TempTree fresh;
            inputs.Directories = {fresh.Root()};
            const std::string original = Noise(forgery.size, 3);
            const std::string impostor = forgery.make(original, forgery.size);
            ASSERT_NE(impostor, original);
            ASSERT_EQ(CrcFoldTable(0xFFFFFFFF, impostor.data(), impostor.size()),
                      CrcFoldTable(0xFFFFFFFF, original.data(), original.size()));
            fresh.File("original", original);
            fresh.File("copy", original);
            fresh.File("impostor", impostor);
            state.CompareMode = mode;
            Run();
            std::vector<std::set<std::string>> groups;
            for (const auto& file : state.ResultList) {
                if (groups.size() < static_cast<size_t>(file.Group)) groups.emplace_back();
                groups[file.Group - 1].insert(file.FileName);
            }
            EXPECT_EQ(groups, (std::vector<std::set<std::string>>{{"original", "copy"}}));
        }
    }
}

// Many files of one size and one CRC-32: only the true copies group, each with its own.
TEST_F(SearchDriverTest, ARunOfOneCrcSplitsIntoItsTrueGroups) {
    const std::string first = Noise(1000, 1);
    for (int k = 0; k < 12; ++k) {
        const std::string content = k == 0 ? first : ForgeCrc(Noise(1000, 100 + k), 1000, first);
        tree.File("f" + std::to_string(k), content);
        if (k % 3 == 0) tree.File("copy/f" + std::to_string(k), content);
    }
    for (const uint8_t mode : {uint8_t{0}, uint8_t{1}}) {
        state.CompareMode = mode;
        Run();
        std::set<std::set<std::string>> groups;
        for (const auto& g : Groups())
            groups.insert(g);
        EXPECT_EQ(groups,
                  (std::set<std::set<std::string>>{
                      {"f0", "copy/f0"}, {"f3", "copy/f3"}, {"f6", "copy/f6"}, {"f9", "copy/f9"}}));
        EXPECT_EQ(view.Duplicates, "4 + 4");
        EXPECT_EQ(state.DuplicatesSize, 4000);
        ExpectInvariants();
    }
}

// With the checksum cache, an unchanged file is not opened again, and the list is the same as
// without it; a change of any part of a file's key makes it read again. The byte-by-byte mode
// never uses the store, and a store that cannot be used is passed over untouched.
TEST_F(SearchDriverTest, RememberedChecksumsSaveReadsAndNeverChangeTheList) {
    for (const char* name : {"a", "b", "d", "e"})
        tree.File(name, std::string(3000, 'a'));
    tree.Pattern("big1", 3 * BlockSize, 5);
    tree.Pattern("big2", 3 * BlockSize, 5);
    tree.Pattern("big3", 3 * BlockSize, 6);
    sleep(2); // the store takes no file changed within its last two seconds
    TempTree store;
    auto opensOfRun = [this] {
        const uint64_t before = ContentFileOpens();
        Run();
        return ContentFileOpens() - before;
    };
    for (const int32_t readers : {0, 5}) {
        state.ReadersInFlight = readers;
        SCOPED_TRACE(readers);
        state.ChecksumCacheFile = store.Path("cache" + std::to_string(readers) + ".sqlite");
        EXPECT_GT(opensOfRun(), 0u);
        const auto groups = Groups();
        ASSERT_EQ(groups.size(), 2u);
        EXPECT_EQ(groups[1].size(), 4u);
        EXPECT_EQ(opensOfRun(), 0u) << "every digest remembered";
        EXPECT_EQ(Groups(), groups);
        ExpectInvariants();
    }
    struct Change {
        const char* what;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"modification time", [&] { tree.SetTime("a", 1000000000); }},
        {"content, times put back",
         [&] {
             struct stat before {};
             stat(tree.Path("b").c_str(), &before);
             tree.File("b", std::string(3000, 'a'));
             const timespec times[2] = {before.st_atim, before.st_mtim};
             utimensat(AT_FDCWD, tree.Path("b").c_str(), times, 0);
         }},
        {"replaced by rename",
         [&] {
             tree.File("d.new", std::string(3000, 'a'));
             rename(tree.Path("d.new").c_str(), tree.Path("d").c_str());
         }},
        {"a new hard link", [&] { link(tree.Path("e").c_str(), tree.Path("z").c_str()); }},
        {"a copy", [&] { tree.File("c", std::string(3000, 'a')); }},
    };
    // A file changed just now is read but not remembered, so each change adds one open.
    uint64_t changed = 0;
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        change.apply();
        EXPECT_EQ(opensOfRun(), ++changed);
    }
    state.CompareMode = 1;
    state.ChecksumCacheFile = store.Path("bytes/checksums.sqlite");
    EXPECT_GT(opensOfRun(), 0u);
    EXPECT_FALSE(std::filesystem::exists(store.Path("bytes"))) << "no store in byte mode";
    state.CompareMode = 0;
    const std::string garbage(5000, 'x');
    state.ChecksumCacheFile = store.File("corrupt.sqlite", garbage);
    EXPECT_GT(opensOfRun(), 0u);
    EXPECT_EQ(Groups().size(), 2u);
    std::ifstream kept(state.ChecksumCacheFile);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), garbage);
}

// A run longer than the reads planned at once, and more files than the plan may hold ahead of
// the search: the readers and the cache answer for every file all the same, the groups are those
// of reading alone, and a repeat search opens no file.
TEST_F(SearchDriverTest, ALongRunAndManyRunsAreAllReadAheadAndRemembered) {
    for (int i = 0; i < 5000; ++i) {
        std::string content = std::to_string(i % 4000);
        content.resize(64, 'x');
        tree.File("run/" + std::to_string(i), content);
    }
    for (int k = 0; k < 1200; ++k)
        for (const char* copy : {"/a", "/b"})
            tree.File("pair/" + std::to_string(k) + copy, std::string(100 + k, 'a' + k % 26));
    for (int k = 0; k < 40; ++k)
        for (const char* copy : {"/a", "/b"})
            tree.Pattern("large/" + std::to_string(k) + copy, BlockSize + 1 + k, k);
    sleep(2); // the store takes no file changed within its last two seconds
    state.ReadersInFlight = 0;
    Run();
    const auto alone = Groups();
    ASSERT_EQ(alone.size(), 1000u + 1200u + 40u);
    TempTree store;
    state.ChecksumCacheFile = store.Path("checksums.sqlite");
    state.ReadersInFlight = 4;
    for (const bool repeat : {false, true}) {
        const uint64_t before = ContentFileOpens();
        Run();
        EXPECT_EQ(Groups(), alone) << repeat;
        if (repeat) {
            EXPECT_EQ(ContentFileOpens() - before, 0u) << "every digest remembered";
        }
        ExpectInvariants();
    }
}

TEST_F(SearchDriverTest, StartChecksRefuseAndClearThePreviousResult) {
    tree.File("a", "same");
    tree.File("b", "same");
    Run();
    ASSERT_EQ(state.ResultLast, 1);

    EXPECT_EQ(outcome, SearchOutcome::Finished);
    inputs.Directories.clear();
    Run();
    EXPECT_EQ(outcome, SearchOutcome::Refused);
    EXPECT_TRUE(view.Calls.contains("Error: Please, add one or more directories to search."));
    EXPECT_EQ(view.Status, " Status: Waiting");
    EXPECT_EQ(state.ResultLast, -1);
    EXPECT_TRUE(state.ResultList.empty());
    EXPECT_EQ(view.Rows, 0);
    EXPECT_EQ(state.StopFlag, 1);

    inputs.Directories = {tree.Root()};
    inputs.MaskText = " \t ";
    Run();
    EXPECT_EQ(outcome, SearchOutcome::Refused);
    EXPECT_TRUE(view.Calls.contains("Error: Please, add one or more file masks."));

    inputs.MaskText = "*.*";
    inputs.MinSize = {true, "2", SizeUnit::KB};
    inputs.MaxSize = {true, "1", SizeUnit::KB};
    view.Calls.clear();
    Run();
    EXPECT_EQ(view.Calls.filter("Error:"),
              QStringList{"Error: Min File Size is bigger than Max File Size. Please, fix this."});
    EXPECT_EQ(view.Calls.filter("Information:").size(), 0);
}

TEST_F(SearchDriverTest, StopDuringTheWalkGivesTheShortReport) {
    for (int k = 0; k < 5; ++k)
        tree.File("d" + std::to_string(k) + "/f", "same");
    hook = [this] { state.StopFlag = 1; };
    Run();
    EXPECT_EQ(outcome, SearchOutcome::Stopped);
    EXPECT_EQ(view.Status, " Status: Search interrupted.");
    EXPECT_EQ(view.Information, Interrupted + QString(22, QLatin1Char(' ')));
    EXPECT_EQ(state.ResultLast, -1);
    EXPECT_EQ(state.StopFlag, 1);
}

TEST_F(SearchDriverTest, StopDuringTheComparisonKeepsTheGroupsFiledBefore) {
    tree.Pattern("big/a", 3 * 65521, 7);
    tree.Pattern("big/b", 3 * 65521, 7);
    tree.Pattern("small/a", 10, 8);
    tree.Pattern("small/b", 10, 8);
    tree.Pattern("small/c", 10, 9);
    hook = [this] {
        if (state.SearchPhase == 1 && state.ResultLast >= 0) state.StopFlag = 1;
    };
    Run();
    EXPECT_EQ(outcome, SearchOutcome::Stopped);
    ASSERT_EQ(Groups().size(), 1u);
    EXPECT_EQ(Groups()[0], (std::set<std::string>{"big/a", "big/b"}));
    EXPECT_EQ(view.Status, " Status: Search interrupted.");
    EXPECT_EQ(view.Information,
              Interrupted + QString(33, QLatin1Char(' ')) +
                  "\n\r\n\rScanned: 3 files\n\rSelected: 2 files\n\r including: \n\r"
                  "    Original files: 1\n\r    Duplicate files: 1");
    ExpectInvariants();

    // A stop inside the first run files nothing at all.
    tree.Pattern("mid/a", 100000, 9);
    tree.Pattern("mid/b", 100000, 9);
    hook = [this] {
        if (state.SearchPhase == 1) state.StopFlag = 1;
    };
    Run();
    EXPECT_EQ(state.ResultLast, -1);
    EXPECT_EQ(view.Information, Interrupted + QString(22, QLatin1Char(' ')));
}

TEST_F(SearchDriverTest, FilesChangedBetweenWalkAndComparisonAreNeverGrouped) {
    const std::string a = tree.File("gone/a", std::string(100, 'q'));
    const std::string b = tree.File("gone/b", std::string(100, 'q'));
    const std::string c = tree.Pattern("shrunk/c", 70000, 3);
    tree.Pattern("shrunk/d", 70000, 3);
    const std::string e = tree.File("grown/e", std::string(50, 'w'));
    tree.File("grown/f", std::string(50, 'w'));
    const std::string x = tree.File("fifo/x", std::string(30, 'p'));
    tree.File("fifo/y", std::string(30, 'p'));
    for (uint8_t mode : {0, 1}) {
        state.CompareMode = mode;
        bool changed = false;
        hook = [&] {
            if (changed || view.Status != " Status: Prepare filelist..") return;
            changed = true;
            unlink(a.c_str());
            unlink(b.c_str());
            EXPECT_EQ(truncate(c.c_str(), 65521), 0);
            tree.File("grown/e", std::string(50, 'w') + "tail");
            // A FIFO put in a file's place must never block a read of it.
            unlink(x.c_str());
            EXPECT_EQ(mkfifo(x.c_str(), 0600), 0);
        };
        Run();
        EXPECT_TRUE(state.ResultList.empty()) << "mode " << int(mode);
        tree.File("gone/a", std::string(100, 'q'));
        tree.File("gone/b", std::string(100, 'q'));
        tree.Pattern("shrunk/c", 70000, 3);
        tree.File("grown/e", std::string(50, 'w'));
        unlink(x.c_str());
        tree.File("fifo/x", std::string(30, 'p'));
    }
}

TEST_F(SearchDriverTest, ErrorInsideTheComparisonStillPublishes) {
    tree.Pattern("a1", 200000, 1);
    tree.Pattern("a2", 200000, 1);
    tree.Pattern("b1", 150000, 2);
    tree.Pattern("b2", 150000, 2);
    hook = [this] {
        if (state.SearchPhase == 1 && state.ResultLast >= 1) throw std::runtime_error("disk gone");
    };
    Run();
    EXPECT_EQ(state.ResultLast, 1);
    EXPECT_EQ(view.Rows, 2);
    EXPECT_TRUE(view.Information.startsWith(Finished));
    EXPECT_EQ(view.Calls.last(), "ErrorReport: disk gone");
    EXPECT_EQ(outcome, SearchOutcome::Failed);
    EXPECT_EQ(state.StopFlag, 1);
    ExpectInvariants();

    hook = [this] {
        if (state.SearchPhase == 0) throw std::runtime_error("walk failed");
    };
    view.Calls.clear();
    Run();
    EXPECT_EQ(view.Calls.filter("Information:").size(), 0) << "no report after an early error";
    EXPECT_EQ(view.Calls.last(), "ErrorReport: walk failed");
    EXPECT_EQ(outcome, SearchOutcome::Failed);
    EXPECT_EQ(view.Calls[view.Calls.size() - 2], "PrepareToStop");
}

} // namespace

namespace {

// A search on the call stack still owns the lists after a stop request, so only SearchRunning
// can tell "stopping" from "idle".
TEST(SearchRulesTest, NothingThatTouchesTheListsRunsWhileASearchIsOnTheStack) {
    struct Case {
        uint8_t StopFlag;
        bool Running;
        size_t Rows;
        bool Starts, Sorts, Removes;
    };
    const Case cases[] = {
        {1, false, 0, true, false, false}, // idle, empty list
        {1, false, 1, true, true, false},  // one row: nothing to remove
        {1, false, 3, true, true, true},   // idle with results
        {0, true, 3, false, false, false}, // searching
        {1, true, 3, false, false, false}, // stop requested, search still unwinding
    };
    for (const Case& c : cases) {
        SearchState state;
        state.StopFlag = c.StopFlag;
        state.SearchRunning = c.Running;
        state.ResultList.resize(c.Rows);
        const std::string where = "StopFlag " + std::to_string(c.StopFlag) + ", running " +
                                  std::to_string(c.Running) + ", rows " + std::to_string(c.Rows);
        EXPECT_EQ(StartStartsSearch(state), c.Starts) << where;
        EXPECT_EQ(ListCanBeSorted(state), c.Sorts) << where;
        EXPECT_EQ(ResolvedCanBeRemoved(state), c.Removes) << where;
    }
}

} // namespace
