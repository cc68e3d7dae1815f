// The checksum store: what makes an entry stale, which stores are passed over untouched, and
// what two searches writing at once leave behind. What is stored is found after Finish: the
// writes go on beside the search, the look-ups see what is committed.

#include "platform/ChecksumCache.h"
#include "platform/FileStamp.h"
#include "support/FileSizeLimit.h"
#include "support/TempTree.h"
#include "support/TestMount.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace pellmora;
using pellmora::test::TempTree;

namespace {

const ContentDigest First{0x11223344, 0x0102030405060708ull, 0xF1F2F3F4F5F6F7F8ull};
const ContentDigest Whole{0xCAFEBABE, 0xFFFFFFFFFFFFFFFFull, 1};
const ChecksumCacheOptions Quick{200, 0};
// A read that began long after any file time of these tests.
constexpr int64_t Later = 4'000'000'000'000'000'000;

// A direct connection, as another program (or a test) would have it.
class Db {
  public:
    explicit Db(const std::string& file) { sqlite3_open(file.c_str(), &db_); }
    ~Db() { sqlite3_close_v2(db_); }
    bool Exec(const std::string& sql) {
        return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    std::string Text(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        std::string out;
        sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr);
        if (s && sqlite3_step(s) == SQLITE_ROW)
            out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
        return out;
    }

  private:
    sqlite3* db_ = nullptr;
};

std::string Bytes(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    std::string out;
    if (!f) return out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        out.append(buffer, n);
    std::fclose(f);
    return out;
}

CacheKey Synthetic(int i) {
    return {"/data/file " + std::to_string(i),
            2049,
            1000u + i,
            4096 + i,
            1700000000000000000 + i,
            1700000000000000001 + i};
}

// The file system's clock moves in ticks of a few milliseconds: a change right after another
// could leave the times as they were.
void NextTick() {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

struct ChecksumCacheTest : ::testing::Test {
    TempTree tree;
    std::string store = tree.Path("cache/Pellmora/checksums.sqlite");

    std::unique_ptr<ChecksumCache> Opened(const ChecksumCacheOptions& options = Quick) {
        std::string reason;
        auto cache = ChecksumCache::Open(store, reason, options);
        EXPECT_NE(cache, nullptr) << reason;
        EXPECT_EQ(cache ? "" : reason, "");
        return cache;
    }
    void Fill(int count, int from = 0) {
        auto cache = Opened();
        for (int i = from; i < from + count; ++i) {
            cache->StoreFirstBlock(Synthetic(i), First, Later);
            cache->StoreWholeFile(Synthetic(i), Whole, Later);
        }
        cache->Finish();
    }
    bool Hit(ChecksumCache& cache, const CacheKey& key) {
        const CachedDigests found = cache.Find(key);
        return found.FirstBlock == First && found.WholeFile == Whole;
    }
};

TEST_F(ChecksumCacheTest, EachKeyFieldAndEachFileChangeMakesAMiss) {
    Fill(1);
    const std::vector<std::pair<const char*, std::function<void(CacheKey&)>>> fields = {
        {"path", [](CacheKey& k) { k.Path += "x"; }},
        {"device", [](CacheKey& k) { ++k.Device; }},
        {"inode", [](CacheKey& k) { ++k.Inode; }},
        {"size", [](CacheKey& k) { ++k.Size; }},
        {"mtime", [](CacheKey& k) { ++k.ModTimeNs; }},
        {"ctime", [](CacheKey& k) { ++k.ChangeTimeNs; }},
    };
    auto cache = Opened();
    EXPECT_TRUE(Hit(*cache, Synthetic(0)));
    for (const auto& [name, change] : fields) {
        CacheKey key = Synthetic(0);
        change(key);
        const CachedDigests found = cache->Find(key);
        EXPECT_FALSE(found.FirstBlock || found.WholeFile) << name;
    }

    // The same through the file system: each change the key must see.
    const std::string a = tree.Path("a");
    CacheKey stored;
    const std::vector<std::pair<const char*, std::function<std::string()>>> changes = {
        {"unchanged", [&] { return a; }},
        {"touch -d",
         [&] {
             tree.SetTime("a", 1000000000);
             return a;
         }},
        {"same-size rewrite, old mtime put back",
         [&] {
             tree.File("a", "9876543210");
             const timespec times[2] = {
                 {0, UTIME_OMIT}, {stored.ModTimeNs / 1000000000, stored.ModTimeNs % 1000000000}};
             utimensat(AT_FDCWD, a.c_str(), times, 0);
             EXPECT_EQ(CacheKeyOfPath(a)->ModTimeNs, stored.ModTimeNs);
             return a;
         }},
        {"replaced by rename",
         [&] {
             std::rename(tree.File("b", "0123456789").c_str(), a.c_str());
             return a;
         }},
        {"hard link",
         [&] {
             link(a.c_str(), tree.Path("c").c_str());
             return tree.Path("c");
         }},
        {"copy", [&] { return tree.File("d", "0123456789"); }},
    };
    for (const auto& [name, change] : changes) {
        tree.File("a", "0123456789");
        NextTick();
        stored = *CacheKeyOfPath(a);
        cache->StoreFirstBlock(stored, First, Later);
        cache->StoreWholeFile(stored, Whole, Later);
        cache->Finish();
        NextTick();
        const std::string path = change();
        EXPECT_EQ(Hit(*cache, *CacheKeyOfPath(path)), std::string(name) == "unchanged") << name;
    }
}

TEST_F(ChecksumCacheTest, DigestsComeBackAfterFinishAndOnlyWhatWasStored) {
    {
        auto cache = Opened();
        cache->StoreFirstBlock(Synthetic(1), First, Later);
        cache->StoreWholeFile(Synthetic(2), Whole, Later);
        cache->StoreFirstBlock(Synthetic(3), First, Later);
        cache->StoreFirstBlock(Synthetic(3), Whole, Later); // a later read of the same file wins
        cache->Finish();
    }
    auto cache = Opened();
    // Sizes asked for out of order are read again each time.
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(cache->Find(Synthetic(1)).FirstBlock, First);
        EXPECT_FALSE(cache->Find(Synthetic(1)).WholeFile);
        EXPECT_FALSE(cache->Find(Synthetic(2)).FirstBlock);
        EXPECT_EQ(cache->Find(Synthetic(2)).WholeFile, Whole);
        EXPECT_EQ(cache->Find(Synthetic(3)).FirstBlock, Whole);
    }
    // The whole file's digest read later joins its first block's; a changed file replaces its
    // path's entry, and the old digests go with it.
    cache->StoreWholeFile(Synthetic(3), First, Later);
    CacheKey changed = Synthetic(1);
    ++changed.ModTimeNs;
    cache->StoreWholeFile(changed, Whole, Later);
    cache->Finish();
    EXPECT_EQ(cache->Find(Synthetic(3)).FirstBlock, Whole);
    EXPECT_EQ(cache->Find(Synthetic(3)).WholeFile, First);
    EXPECT_FALSE(cache->Find(changed).FirstBlock);
    EXPECT_EQ(cache->Find(changed).WholeFile, Whole);
    EXPECT_FALSE(cache->Find(Synthetic(1)).FirstBlock);
}

TEST_F(ChecksumCacheTest, FolderAndFileArePrivateAndAFreshChangeIsNotStored) {
    const mode_t old = umask(022);
    auto cache = Opened(ChecksumCacheOptions{});
    umask(old);
    struct stat st {};
    ASSERT_EQ(stat(tree.Path("cache/Pellmora").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(stat(store.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Written just now, the file could change again within the same tick of the clock.
    const CacheKey fresh = *CacheKeyOfPath(tree.File("new", "x"));
    cache->StoreWholeFile(fresh, Whole, WallClockNs());
    cache->StoreWholeFile(Synthetic(5), Whole, Later);
    cache->Finish();
    EXPECT_FALSE(cache->Find(fresh).WholeFile);
    EXPECT_EQ(cache->Find(Synthetic(5)).WholeFile, Whole);
}

TEST_F(ChecksumCacheTest, DefaultFileFollowsXdgCacheHome) {
    const char* saved = std::getenv("XDG_CACHE_HOME");
    const std::string keep = saved ? saved : "";
    setenv("XDG_CACHE_HOME", "/x/cache", 1);
    EXPECT_EQ(ChecksumCache::DefaultFile(), "/x/cache/Pellmora/checksums.sqlite");
    setenv("XDG_CACHE_HOME", "relative", 1); // not absolute: ignored, as XDG says
    EXPECT_EQ(ChecksumCache::DefaultFile(),
              std::string(std::getenv("HOME")) + "/.cache/Pellmora/checksums.sqlite");
    saved ? setenv("XDG_CACHE_HOME", keep.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
}

TEST_F(ChecksumCacheTest, StoresThatCannotBeUsedArePassedOverUntouched) {
    std::optional<pellmora::test::TmpfsMount> mount; // gone before the tree
    const struct {
        const char* name;
        std::function<std::string()> make; // returns the store's path
        const char* reason;                // part of the reason when Open refuses it
    } cases[] = {
        {"garbage", [&] { return tree.File("g/s", std::string(8192, 'G')); }, "not a database"},
        {"folder", [&] { return tree.Dir("f/s"); }, "folder"},
        {"file above", [&] { return tree.File("p", "x") + "/s"; }, "not a folder"},
        {"newer schema",
         [&] {
             const std::string path = tree.Path("n.sqlite");
             Db(path).Exec("CREATE TABLE t(x); PRAGMA user_version=7;");
             return path;
         },
         "newer"},
        {"another program's",
         [&] {
             const std::string path = tree.Path("o.sqlite");
             Db(path).Exec("CREATE TABLE t(x); INSERT INTO t VALUES(1);");
             return path;
         },
         "not a checksum store"},
        {"another program's, numbered as our earlier layout",
         [&] {
             const std::string path = tree.Path("v.sqlite");
             Db(path).Exec("CREATE TABLE digests(x); CREATE TABLE meta(y); PRAGMA user_version=1;");
             return path;
         },
         "not a checksum store"},
        {"read-only",
         [&] {
             std::string reason;
             if (geteuid() != 0) {
                 const std::string path = tree.Path("r.sqlite");
                 ChecksumCache::Open(path, reason, Quick)->Finish();
                 chmod(path.c_str(), 0400);
                 return path;
             }
             mount.emplace(tree.Dir("ro"));
             const std::string path = tree.Path("ro/s");
             ChecksumCache::Open(path, reason, Quick);
             if (!mount->Mounted() || !mount->MakeReadOnly()) return std::string();
             return path;
         },
         "read-only"},
    };
    for (const auto& c : cases) {
        const std::string path = c.make();
        if (path.empty()) continue; // no read-only mount without its rights
        const std::string before = Bytes(path);
        std::string reason;
        EXPECT_EQ(ChecksumCache::Open(path, reason, Quick), nullptr) << c.name;
        EXPECT_EQ(reason.rfind(tree.Root(), 0), 0u) << c.name << ": " << reason;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.name << ": " << reason;
        EXPECT_EQ(reason.find('\n'), std::string::npos);
        EXPECT_FALSE(ChecksumCache::Clear(path, reason)) << c.name;
        EXPECT_EQ(Bytes(path), before) << c.name;
    }
}

// The layout before this one was keyed by path alone: its entries are dropped, not read.
TEST_F(ChecksumCacheTest, AStoreOfTheEarlierLayoutStartsAgainEmpty) {
    tree.Dir("cache/Pellmora");
    chmod(tree.Path("cache/Pellmora").c_str(), 0700);
    Db(store).Exec("CREATE TABLE digests(path BLOB PRIMARY KEY NOT NULL, device INTEGER NOT NULL,"
                   " inode INTEGER NOT NULL, size INTEGER NOT NULL, mtime INTEGER NOT NULL,"
                   " ctime INTEGER NOT NULL, first BLOB, whole BLOB, used INTEGER NOT NULL)"
                   " WITHOUT ROWID;"
                   "CREATE TABLE meta(name TEXT PRIMARY KEY NOT NULL, value INTEGER NOT NULL)"
                   " WITHOUT ROWID;"
                   "INSERT INTO digests VALUES(CAST('/data/file 1' AS BLOB), 2049, 1001, 4097,"
                   " 1700000000000000001, 1700000000000000002, NULL, NULL, 0);"
                   "PRAGMA user_version=1;");
    chmod(store.c_str(), 0600);
    auto cache = Opened();
    EXPECT_FALSE(cache->Find(Synthetic(1)).WholeFile);
    cache->StoreWholeFile(Synthetic(1), Whole, Later);
    cache->Finish();
    EXPECT_EQ(cache->Find(Synthetic(1)).WholeFile, Whole);
    EXPECT_EQ(Db(store).Text("PRAGMA user_version"), "2");
}

TEST_F(ChecksumCacheTest, DamagedTableIsReadAsEmptyAndNeverWritten) {
    Fill(3000);
    std::string bytes = Bytes(store);
    // Every page's header and cell pointers from the second page on: the tree itself is broken.
    const size_t page =
        static_cast<unsigned char>(bytes[16]) << 8 | static_cast<unsigned char>(bytes[17]);
    ASSERT_GT(bytes.size(), 3 * page);
    for (size_t i = page; i < bytes.size(); i += page)
        bytes.replace(i, 64, std::string(64, '\xFF'));
    tree.File("cache/Pellmora/checksums.sqlite", bytes);
    auto cache = Opened();
    EXPECT_FALSE(cache->Find(Synthetic(1)).WholeFile);
    cache->StoreWholeFile(Synthetic(99999), Whole, Later);
    cache->Finish();
    cache.reset();
    EXPECT_EQ(Bytes(store), bytes);
}

TEST_F(ChecksumCacheTest, LockedStoreOrFullDiskCostsOnlyTheCache) {
    Fill(10);
    const auto started = std::chrono::steady_clock::now();
    {
        Db other(store); // holds the store for itself, reads included
        ASSERT_TRUE(other.Exec("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;"
                               "DELETE FROM meta;"));
        std::string reason;
        EXPECT_EQ(ChecksumCache::Open(store, reason, Quick), nullptr);
        EXPECT_NE(reason.find("locked"), std::string::npos) << reason;
    }
    {
        Db other(store); // another search in the middle of its write
        ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE; DELETE FROM digests WHERE key=" +
                               std::to_string(RowKeyOfSize(Synthetic(9).Size))));
        auto cache = Opened();
        EXPECT_TRUE(Hit(*cache, Synthetic(1)));
        cache->StoreWholeFile(Synthetic(500), Whole, Later);
        cache->Finish(); // waits out the timeout, then drops its rows
        EXPECT_TRUE(other.Exec("COMMIT"));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    {
        auto cache = Opened();
        EXPECT_FALSE(cache->Find(Synthetic(500)).WholeFile);
        EXPECT_FALSE(cache->Find(Synthetic(9)).WholeFile);
        const pellmora::test::FileSizeLimit full(Bytes(store).size());
        for (int i = 1000; i < 9000; ++i)
            cache->StoreWholeFile(Synthetic(i), Whole, Later);
        cache->Finish();
    }
    Db check(store);
    EXPECT_EQ(check.Text("PRAGMA integrity_check"), "ok");
    auto cache = Opened();
    EXPECT_TRUE(Hit(*cache, Synthetic(1)));
}

TEST_F(ChecksumCacheTest, TwoProcessesWritingAtOnceBothSucceed) {
    Fill(1); // the schema exists; each child makes its own connection
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        if (children[c] == 0) {
            std::string reason;
            auto cache = ChecksumCache::Open(store, reason, {10000, 0});
            if (!cache) _exit(2);
            for (int i = 0; i < 20000; ++i) // 10000 paths written by both
                cache->StoreWholeFile(Synthetic(c * 10000 + i), Whole, Later);
            cache->Finish();
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    Db check(store);
    EXPECT_EQ(check.Text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(check.Text("SELECT count(*) FROM digests"), "30000");
}

TEST_F(ChecksumCacheTest, PruneDropsWhatNoSearchUsedFor90DaysOnceADay) {
    const auto today = static_cast<int32_t>(std::chrono::duration_cast<std::chrono::days>(
                                                std::chrono::system_clock::now().time_since_epoch())
                                                .count());
    CacheKey sharesFivesSize = Synthetic(40);
    sharesFivesSize.Size = Synthetic(5).Size;
    auto storeOn = [&](int32_t day, const std::vector<CacheKey>& keys) {
        ChecksumCacheOptions options = Quick;
        options.Today = day;
        auto cache = Opened(options);
        for (const CacheKey& key : keys) {
            cache->StoreFirstBlock(key, First, Later);
            cache->StoreWholeFile(key, Whole, Later);
        }
        cache->Finish();
    };
    storeOn(today - 91, {Synthetic(0), Synthetic(2), Synthetic(3), sharesFivesSize});
    storeOn(today - 90, {Synthetic(1)});
    {
        auto cache = Opened();
        EXPECT_TRUE(Hit(*cache, Synthetic(2))); // found by this search: kept
        CacheKey changed = Synthetic(3);        // looked at, but changed since: goes
        ++changed.Size;
        cache->Find(changed);
        cache->StoreWholeFile(Synthetic(5), Whole, Later); // its row is written, without 40
        cache->Finish();
    }
    {
        auto cache = Opened();
        EXPECT_FALSE(Hit(*cache, Synthetic(0))); // unused: goes
        EXPECT_TRUE(Hit(*cache, Synthetic(1)));  // unused for 90 days only: kept
        EXPECT_TRUE(Hit(*cache, Synthetic(2)));
        EXPECT_FALSE(Hit(*cache, Synthetic(3)));
        EXPECT_FALSE(cache->Find(sharesFivesSize).WholeFile);
        EXPECT_EQ(cache->Find(Synthetic(5)).WholeFile, Whole);
    }
    storeOn(today - 200, {Synthetic(6)}); // pruned already today: kept
    auto cache = Opened();
    cache->Find(Synthetic(9));
    cache->Finish();
    EXPECT_TRUE(Hit(*cache, Synthetic(6)));
}

TEST_F(ChecksumCacheTest, ClearEmptiesTheStoreAndMakesNoneWhereThereIsNone) {
    std::string reason;
    EXPECT_TRUE(ChecksumCache::Clear(store, reason));
    EXPECT_NE(access(store.c_str(), F_OK), 0);
    Fill(5000);
    const size_t full = Bytes(store).size();
    EXPECT_TRUE(ChecksumCache::Clear(store, reason)) << reason;
    EXPECT_LT(Bytes(store).size(), full / 10);
    auto cache = Opened();
    EXPECT_FALSE(cache->Find(Synthetic(1)).WholeFile);
}

} // namespace
