// The store is one table keyed by the path's bytes, so a file that changed replaces its own
// entry instead of adding one. A search reads the whole table once, at its first look-up, into
// a hash map (a look-up is then a hash probe, not a query), and writes in batches of one
// transaction each. Entries carry the day they were last used; the first search of a day
// refreshes the days of its hits and prunes what no search used for 90 days.

#include "platform/ChecksumCache.h"

#include "platform/FileStamp.h"
#include "platform/PathText.h"

#include <sqlite3.h>
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

namespace {

constexpr int SchemaVersion = 1;
constexpr int32_t KeepDays = 90;
// Writes wait for the end of the search, up to this many paths (a few hundred bytes each).
constexpr size_t BatchRows = 1 << 20;
constexpr int DigestBytes = 20;

const char* const CreateSchema =
    "CREATE TABLE digests(path BLOB PRIMARY KEY NOT NULL, device INTEGER NOT NULL,"
    " inode INTEGER NOT NULL, size INTEGER NOT NULL, mtime INTEGER NOT NULL,"
    " ctime INTEGER NOT NULL, first BLOB, whole BLOB, used INTEGER NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE meta(name TEXT PRIMARY KEY NOT NULL, value INTEGER NOT NULL) WITHOUT ROWID;"
    "PRAGMA user_version=1;";

int32_t Today() {
    return static_cast<int32_t>(WallClockNs() / 1000000000 / 86400);
}

uint64_t PathHash(const void* bytes, size_t length) {
    return XXH3_64bits(bytes, length);
}

// A prepared statement that finalizes itself.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt* operator*() const { return stmt_; }
    // One step to its end: true when it finished without an error.
    bool Run() {
        const int rc = sqlite3_step(stmt_);
        sqlite3_reset(stmt_);
        return rc == SQLITE_DONE || rc == SQLITE_ROW;
    }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The first column of the first row, or nothing when the query failed.
std::optional<int64_t> QueryNumber(sqlite3* db, const char* sql) {
    Statement query(db, sql);
    if (!query) return std::nullopt;
    const int rc = sqlite3_step(*query);
    if (rc == SQLITE_ROW) return sqlite3_column_int64(*query, 0);
    if (rc == SQLITE_DONE) return 0;
    return std::nullopt;
}

void PutDigest(const ContentDigest& d, unsigned char* out) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(d.Crc >> (24 - 8 * i));
    for (int i = 0; i < 8; ++i) {
        out[4 + i] = static_cast<unsigned char>(d.High >> (56 - 8 * i));
        out[12 + i] = static_cast<unsigned char>(d.Low >> (56 - 8 * i));
    }
}

std::optional<ContentDigest> GetDigest(sqlite3_stmt* stmt, int column) {
    if (sqlite3_column_bytes(stmt, column) != DigestBytes) return std::nullopt;
    const auto* in = static_cast<const unsigned char*>(sqlite3_column_blob(stmt, column));
    ContentDigest d;
    for (int i = 0; i < 4; ++i)
        d.Crc = d.Crc << 8 | in[i];
    for (int i = 0; i < 8; ++i) {
        d.High = d.High << 8 | in[4 + i];
        d.Low = d.Low << 8 | in[12 + i];
    }
    return d;
}

void BindDigest(sqlite3_stmt* stmt, int index, const std::optional<ContentDigest>& d) {
    if (!d) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    unsigned char bytes[DigestBytes];
    PutDigest(*d, bytes);
    sqlite3_bind_blob(stmt, index, bytes, DigestBytes, SQLITE_TRANSIENT);
}

std::string ErrorText(const std::string& file, int error) {
    return file + ": " + std::strerror(error);
}

// Every missing folder above the store is made private, as the cache folder of XDG asks.
bool PrepareFolder(const std::string& file, std::string& reason) {
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos || slash == 0) return true;
    const std::string folder = file.substr(0, slash);
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        reason = folder + ": not a folder";
        return false;
    }
    if (!PrepareFolder(folder, reason)) return false;
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        reason = ErrorText(folder, errno);
        return false;
    }
    return true;
}

// Someone else who may write the store could forge a row and make two different files a group:
// it and its folder must be the user's own, and closed to everybody else's writes.
bool Trusted(const struct stat& st, const std::string& path, std::string& reason) {
    if (st.st_uid != geteuid())
        reason = path + ": not owned by you";
    else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        reason = path + ": writable by others";
    else
        return true;
    return false;
}

bool TrustFolder(const std::string& file, std::string& reason) {
    std::string folder = FolderOf(file);
    if (folder.size() > 1) folder.pop_back();
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) {
        reason = ErrorText(folder, errno);
        return false;
    }
    return Trusted(st, folder, reason);
}

// The store is made here, 0600, so that SQLite's journal files (which copy its mode) are
// private too. A link in its place is never followed: it could point at anybody's file.
bool PrepareFile(const std::string& file, std::string& reason) {
    struct stat st {};
    if (lstat(file.c_str(), &st) == 0) {
        if (S_ISREG(st.st_mode)) return Trusted(st, file, reason);
        reason = file + (S_ISDIR(st.st_mode)   ? ": a folder stands in its place"
                         : S_ISLNK(st.st_mode) ? ": a symbolic link"
                                               : ": not a regular file");
        return false;
    }
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) {
        reason = ErrorText(file, errno);
        return false;
    }
    if (fd >= 0) close(fd);
    return true;
}

std::string SqliteReason(sqlite3* db, const std::string& file) {
    return file + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
}

// Makes the tables of an empty file; takes a store of ours as it is. Another search may be
// making them at the same moment, hence the second look inside the write transaction.
bool CheckSchema(sqlite3* db, const std::string& file, std::string& reason) {
    std::optional<int64_t> version = QueryNumber(db, "PRAGMA user_version");
    if (!version) {
        reason = SqliteReason(db, file);
        return false;
    }
    if (*version == SchemaVersion) return true;
    if (*version > SchemaVersion) {
        reason = file + ": written by a newer version of the program (schema " +
                 std::to_string(*version) + ")";
        return false;
    }
    if (*version != 0 || QueryNumber(db, "SELECT count(*) FROM sqlite_master").value_or(1) != 0) {
        reason = file + ": not a checksum store of this program";
        return false;
    }
    if (!Exec(db, "BEGIN IMMEDIATE")) {
        reason = SqliteReason(db, file);
        return false;
    }
    if (QueryNumber(db, "SELECT count(*) FROM sqlite_master").value_or(1) == 0 &&
        !Exec(db, CreateSchema)) {
        reason = SqliteReason(db, file);
        Exec(db, "ROLLBACK");
        return false;
    }
    if (!Exec(db, "COMMIT")) {
        reason = SqliteReason(db, file);
        Exec(db, "ROLLBACK");
        return false;
    }
    return QueryNumber(db, "PRAGMA user_version").value_or(0) == SchemaVersion;
}

bool UseWal(sqlite3* db) {
    Statement mode(db, "PRAGMA journal_mode=WAL");
    if (!mode || sqlite3_step(*mode) != SQLITE_ROW) return false;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(*mode, 0));
    return text && std::strcmp(text, "wal") == 0;
}

// An open connection to a usable store, or nullptr with the reason.
sqlite3* OpenStore(const std::string& file, int busyTimeoutMs, std::string& reason) {
    if (file.empty()) {
        reason = "no cache folder (neither XDG_CACHE_HOME nor HOME is set)";
        return nullptr;
    }
    if (!PrepareFolder(file, reason) || !TrustFolder(file, reason) || !PrepareFile(file, reason))
        return nullptr;
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW;
    if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        reason = SqliteReason(db, file);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    bool ok = sqlite3_db_readonly(db, "main") == 0;
    if (!ok) reason = file + ": the store is read-only";
    ok = ok && CheckSchema(db, file, reason);
    if (ok && !UseWal(db)) {
        ok = false;
        reason = SqliteReason(db, file);
    }
    if (!ok) {
        sqlite3_close(db);
        return nullptr;
    }
    Exec(db, "PRAGMA synchronous=NORMAL");
    // Room for the whole tree of a large library, so that a batch does not read pages back.
    Exec(db, "PRAGMA cache_size=-131072");
    return db;
}

CacheKey KeyOfStamp(const FileStamp& stamp, const std::string& path) {
    return {path, stamp.Device, stamp.Inode, stamp.Size, stamp.ModTimeNs, stamp.ChangeTimeNs};
}

} // namespace

ChecksumCache::ChecksumCache(sqlite3* db, const ChecksumCacheOptions& options)
    : db_(db), options_(options), today_(Today()) {}

ChecksumCache::~ChecksumCache() {
    sqlite3_close_v2(db_);
}

std::unique_ptr<ChecksumCache> ChecksumCache::Open(const std::string& file, std::string& reason,
                                                   const ChecksumCacheOptions& options) {
    sqlite3* db = OpenStore(file, options.BusyTimeoutMs, reason);
    if (!db) return nullptr;
    return std::unique_ptr<ChecksumCache>(new ChecksumCache(db, options));
}

std::string ChecksumCache::DefaultFile() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    std::string folder;
    if (xdg && xdg[0] == '/') {
        folder = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* user = getpwuid(getuid());
            home = user ? user->pw_dir : nullptr;
        }
        if (!home || !*home) return {};
        folder = std::string(home) + "/.cache";
    }
    return folder + "/Pellmora/checksums.sqlite";
}

// A damaged table ends every use of the store: nothing is read from it or written to it.
void ChecksumCache::Load() noexcept {
    if (loaded_) return;
    loaded_ = true;
    try {
        Statement rows(db_, "SELECT path, device, inode, size, mtime, ctime, first, whole, used"
                            " FROM digests");
        int rc = rows ? sqlite3_step(*rows) : SQLITE_ERROR;
        for (; rc == SQLITE_ROW; rc = sqlite3_step(*rows)) {
            sqlite3_stmt* s = *rows;
            const uint64_t hash = PathHash(sqlite3_column_blob(s, 0),
                                           static_cast<size_t>(sqlite3_column_bytes(s, 0)));
            Entry e;
            e.Device = static_cast<uint64_t>(sqlite3_column_int64(s, 1));
            e.Inode = static_cast<uint64_t>(sqlite3_column_int64(s, 2));
            e.Size = sqlite3_column_int64(s, 3);
            e.ModTimeNs = sqlite3_column_int64(s, 4);
            e.ChangeTimeNs = sqlite3_column_int64(s, 5);
            e.FirstBlock = GetDigest(s, 6);
            e.WholeFile = GetDigest(s, 7);
            e.UsedDay = static_cast<int32_t>(sqlite3_column_int64(s, 8));
            auto [slot, added] = entries_.try_emplace(hash, e);
            if (!added) slot->second.Ambiguous = true;
        }
        if (rc != SQLITE_DONE) readable_ = false;
    } catch (...) {
        readable_ = false;
    }
    if (!readable_) {
        writable_ = false;
        entries_.clear();
    }
}

ChecksumCache::Entry* ChecksumCache::Match(const CacheKey& key) noexcept {
    Load();
    if (!readable_) return nullptr;
    const auto found = entries_.find(PathHash(key.Path.data(), key.Path.size()));
    if (found == entries_.end()) return nullptr;
    Entry& e = found->second;
    const bool same = !e.Ambiguous && e.Device == key.Device && e.Inode == key.Inode &&
                      e.Size == key.Size && e.ModTimeNs == key.ModTimeNs &&
                      e.ChangeTimeNs == key.ChangeTimeNs;
    return same ? &e : nullptr;
}

CachedDigests ChecksumCache::Find(const CacheKey& key) noexcept {
    Entry* e = Match(key);
    if (!e) return {};
    if (e->UsedDay < today_ && writable_) {
        try {
            used_.push_back(key.Path);
            e->UsedDay = today_;
        } catch (...) {
            writable_ = false;
        }
        if (used_.size() >= BatchRows) Flush();
    }
    return {e->FirstBlock, e->WholeFile};
}

void ChecksumCache::StoreFirstBlock(const CacheKey& key, const ContentDigest& d,
                                    int64_t readStartNs) noexcept {
    Store(key, d, false, readStartNs);
}

void ChecksumCache::StoreWholeFile(const CacheKey& key, const ContentDigest& d,
                                   int64_t readStartNs) noexcept {
    Store(key, d, true, readStartNs);
}

void ChecksumCache::Store(const CacheKey& key, const ContentDigest& d, bool whole,
                          int64_t readStartNs) noexcept {
    Load();
    if (!writable_) return;
    if (readStartNs - std::max(key.ModTimeNs, key.ChangeTimeNs) < options_.SettleNs) return;
    try {
        const uint64_t hash = PathHash(key.Path.data(), key.Path.size());
        Entry* e = Match(key);
        if (!e) {
            e = &(entries_[hash] = Entry());
            e->Device = key.Device;
            e->Inode = key.Inode;
            e->Size = key.Size;
            e->ModTimeNs = key.ModTimeNs;
            e->ChangeTimeNs = key.ChangeTimeNs;
        }
        (whole ? e->WholeFile : e->FirstBlock) = d;
        e->UsedDay = today_;
        pending_.try_emplace(hash, key.Path);
    } catch (...) {
        writable_ = false;
        return;
    }
    if (pending_.size() >= BatchRows) Flush();
}

void ChecksumCache::Finish() noexcept {
    if (!loaded_) return; // no look-up: nothing to write, and nothing read to prune by
    Flush();
    if (!writable_) return;
    try {
        Prune();
    } catch (...) {
        writable_ = false;
    }
}

// A batch the store refuses (locked past the timeout, a full disk) is dropped, and so is
// every later one: the search goes on as without a cache.
void ChecksumCache::Flush() noexcept {
    bool ok = false;
    if (writable_) {
        try {
            ok = WriteBatch();
        } catch (...) {
        }
    }
    if (!ok) writable_ = false;
    pending_.clear();
    used_.clear();
}

bool ChecksumCache::WriteBatch() {
    if (pending_.empty() && used_.empty()) return true;
    if (!Exec(db_, "BEGIN IMMEDIATE")) return false;
    Statement put(db_, "INSERT OR REPLACE INTO digests VALUES(?,?,?,?,?,?,?,?,?)");
    Statement touch(db_, "UPDATE digests SET used=?1 WHERE path=?2 AND used<?1");
    bool ok = put && touch;
    std::vector<std::pair<const std::string*, const Entry*>> rows;
    rows.reserve(pending_.size());
    for (const auto& [hash, path] : pending_)
        rows.emplace_back(&path, &entries_.at(hash));
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return *a.first < *b.first; });
    for (size_t i = 0; ok && i < rows.size(); ++i) {
        const std::string& path = *rows[i].first;
        const Entry& row = *rows[i].second;
        sqlite3_stmt* s = *put;
        sqlite3_bind_blob(s, 1, path.data(), static_cast<int>(path.size()), SQLITE_STATIC);
        sqlite3_bind_int64(s, 2, static_cast<int64_t>(row.Device));
        sqlite3_bind_int64(s, 3, static_cast<int64_t>(row.Inode));
        sqlite3_bind_int64(s, 4, row.Size);
        sqlite3_bind_int64(s, 5, row.ModTimeNs);
        sqlite3_bind_int64(s, 6, row.ChangeTimeNs);
        BindDigest(s, 7, row.FirstBlock);
        BindDigest(s, 8, row.WholeFile);
        sqlite3_bind_int64(s, 9, row.UsedDay);
        ok = put.Run();
    }
    std::sort(used_.begin(), used_.end());
    for (size_t i = 0; ok && i < used_.size(); ++i) {
        sqlite3_bind_int64(*touch, 1, today_);
        sqlite3_bind_blob(*touch, 2, used_[i].data(), static_cast<int>(used_[i].size()),
                          SQLITE_STATIC);
        ok = touch.Run();
    }
    if (ok && Exec(db_, "COMMIT")) return true;
    Exec(db_, "ROLLBACK");
    return false;
}

void ChecksumCache::Prune() {
    const std::optional<int64_t> last =
        QueryNumber(db_, "SELECT value FROM meta WHERE name='pruned'");
    if (!last || *last >= today_) return;
    if (!Exec(db_, "BEGIN IMMEDIATE")) {
        writable_ = false;
        return;
    }
    Statement prune(db_, "DELETE FROM digests WHERE used<?");
    Statement mark(db_, "INSERT OR REPLACE INTO meta VALUES('pruned',?)");
    bool ok = prune && mark;
    if (ok) {
        sqlite3_bind_int64(*prune, 1, today_ - KeepDays);
        sqlite3_bind_int64(*mark, 1, today_);
        ok = prune.Run() && mark.Run();
    }
    if (!ok || !Exec(db_, "COMMIT")) {
        Exec(db_, "ROLLBACK");
        writable_ = false;
    }
}

bool ChecksumCache::Clear(const std::string& file, std::string& reason) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0 && errno == ENOENT) return true;
    sqlite3* db = OpenStore(file, 5000, reason);
    if (!db) return false;
    const bool ok = Exec(db, "BEGIN IMMEDIATE") && Exec(db, "DELETE FROM digests") &&
                    Exec(db, "DELETE FROM meta") && Exec(db, "COMMIT");
    if (!ok) {
        reason = SqliteReason(db, file);
        Exec(db, "ROLLBACK");
    } else {
        // Gives the space back; another search using the store at this moment may refuse it.
        Exec(db, "VACUUM");
        Exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    }
    sqlite3_close_v2(db);
    return ok;
}

std::optional<CacheKey> CacheKeyOfPath(const std::string& path) {
    const std::optional<FileStamp> stamp = ReadFileStamp(path);
    if (!stamp || !stamp->IsRegular) return std::nullopt;
    return KeyOfStamp(*stamp, path);
}

} // namespace pellmora
