// The store is one table with a row per file size (CacheEntries): a search asks for its runs of
// equal size one after the other, so each run costs one look-up, and only that size's entries
// are held; the rest stays on disk. Entries are keyed by the hash of their path and their kind,
// so a file that changed replaces its own entry instead of adding one (one that changed its size
// ages out). Writes go through a writer of their own (CacheWriter). Entries carry the day they
// were last used; the first search of a day refreshes the days of its hits and prunes what no
// search used for 90 days.

#include "platform/ChecksumCache.h"

#include "platform/CacheWriter.h"
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

constexpr int SchemaVersion = 2;
// Entries of an earlier layout of ours are dropped, not converted: they are only a cache.
constexpr int FirstSchemaVersion = 1;
// SQLite's own page cache, per connection: a run's entries lie on a few pages. What a statement
// may have to undo stays in memory too (a few pages): written to a scratch file, it would cost
// many times the store's own writes.
const char* const PageCache = "PRAGMA cache_size=-2048; PRAGMA temp_store=MEMORY";

constexpr int32_t KeepDays = 90;

// Large pages: fewer of them to write as the table grows, and fewer reads per row.
const char* const PageSize = "PRAGMA page_size=16384";
const char* const CreateSchema =
    "CREATE TABLE digests(key INTEGER PRIMARY KEY, entries BLOB NOT NULL, used INTEGER NOT NULL);"
    "CREATE TABLE meta(name TEXT PRIMARY KEY NOT NULL, value INTEGER NOT NULL) WITHOUT ROWID;"
    "PRAGMA user_version=2;";
const char* const DropFirstSchema = "DROP TABLE IF EXISTS digests; DROP TABLE IF EXISTS meta;";

int32_t Today() {
    return static_cast<int32_t>(WallClockNs() / 1000000000 / 86400);
}

uint64_t PathHash(const void* bytes, size_t length) {
    return XXH3_64bits(bytes, length);
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

bool IsEmpty(sqlite3* db) {
    return QueryNumber(db, "SELECT count(*) FROM sqlite_master").value_or(1) == 0;
}

// The earlier layout of ours: its two tables and nothing else, the entries keyed by path.
bool IsFirstLayout(sqlite3* db) {
    return QueryNumber(db, "PRAGMA user_version").value_or(0) == FirstSchemaVersion &&
           QueryNumber(db, "SELECT count(*) FROM sqlite_master WHERE type <> 'table' OR name NOT IN"
                           " ('digests', 'meta')")
                   .value_or(1) == 0 &&
           QueryNumber(db, "SELECT count(*) FROM pragma_table_info('digests') WHERE name = 'path'")
                   .value_or(0) == 1;
}

// Makes the tables of an empty file, or of a store of our earlier layout; takes a store of ours
// as it is. Another search may be doing the same at the same moment, hence the second look
// inside the write transaction.
// A new store has nothing to prune before the next day.
bool MarkPruned(sqlite3* db, int32_t today) {
    Statement mark(db, "INSERT OR REPLACE INTO meta VALUES('pruned', ?)");
    if (!mark) return false;
    sqlite3_bind_int64(*mark, 1, today);
    return mark.Run();
}

bool CheckSchema(sqlite3* db, const std::string& file, int32_t today, std::string& reason) {
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
    if (!(*version == 0 && IsEmpty(db)) && !IsFirstLayout(db)) {
        reason = file + ": not a checksum store of this program";
        return false;
    }
    Exec(db, PageSize); // only an empty file takes it
    if (!Exec(db, "BEGIN IMMEDIATE")) {
        reason = SqliteReason(db, file);
        return false;
    }
    bool ok = true;
    const bool first = IsFirstLayout(db);
    if (first)
        ok = Exec(db, DropFirstSchema) && Exec(db, CreateSchema) && MarkPruned(db, today);
    else if (IsEmpty(db))
        ok = Exec(db, CreateSchema) && MarkPruned(db, today);
    if (!ok || !Exec(db, "COMMIT")) {
        reason = SqliteReason(db, file);
        Exec(db, "ROLLBACK");
        return false;
    }
    // The earlier layout's pages were smaller; with nobody else in the store they grow now.
    if (first && Exec(db, "PRAGMA journal_mode=DELETE") && Exec(db, PageSize)) Exec(db, "VACUUM");
    return QueryNumber(db, "PRAGMA user_version").value_or(0) == SchemaVersion;
}

bool UseWal(sqlite3* db) {
    Statement mode(db, "PRAGMA journal_mode=WAL");
    if (!mode || sqlite3_step(*mode) != SQLITE_ROW) return false;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(*mode, 0));
    return text && std::strcmp(text, "wal") == 0;
}

// A connection to the file, never through a link; nullptr with the reason.
sqlite3* Connect(const std::string& file, int busyTimeoutMs, std::string& reason) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW;
    if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        reason = SqliteReason(db, file);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    if (sqlite3_db_readonly(db, "main") != 0) {
        reason = file + ": the store is read-only";
        sqlite3_close(db);
        return nullptr;
    }
    Exec(db, "PRAGMA synchronous=NORMAL");
    Exec(db, PageCache);
    return db;
}

// The store's pages are wanted soon, in an order of their own: the kernel may read the whole
// file now, in one sweep, rather than page by page as the look-ups come.
void ReadSoon(const std::string& file) {
    const int fd = open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
    close(fd);
}

// An open connection to a usable store, or nullptr with the reason.
sqlite3* OpenStore(const std::string& file, int busyTimeoutMs, int32_t today, std::string& reason) {
    if (file.empty()) {
        reason = "no cache folder (neither XDG_CACHE_HOME nor HOME is set)";
        return nullptr;
    }
    if (!PrepareFolder(file, reason) || !TrustFolder(file, reason) || !PrepareFile(file, reason))
        return nullptr;
    sqlite3* db = Connect(file, busyTimeoutMs, reason);
    if (!db) return nullptr;
    bool ok = CheckSchema(db, file, today, reason);
    if (ok && !UseWal(db)) {
        ok = false;
        reason = SqliteReason(db, file);
    }
    if (!ok) {
        sqlite3_close(db);
        return nullptr;
    }
    ReadSoon(file);
    return db;
}

CacheKey KeyOfStamp(const FileStamp& stamp, const std::string& path) {
    return {path, stamp.Device, stamp.Inode, stamp.Size, stamp.ModTimeNs, stamp.ChangeTimeNs};
}

} // namespace

ChecksumCache::ChecksumCache(sqlite3* db, const ChecksumCacheOptions& options)
    : db_(db), options_(options), bySize_(std::make_unique<Statement>(db, SelectSizeRow)),
      today_(options.Today != 0 ? options.Today : Today()) {
    if (!*bySize_) StopReading();
}

ChecksumCache::~ChecksumCache() {
    Finish();
    writer_.reset();
    bySize_.reset();
    sqlite3_close_v2(db_);
}

std::unique_ptr<ChecksumCache> ChecksumCache::Open(const std::string& file, std::string& reason,
                                                   const ChecksumCacheOptions& options) {
    sqlite3* db = OpenStore(file, options.BusyTimeoutMs,
                            options.Today != 0 ? options.Today : Today(), reason);
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
void ChecksumCache::StopReading() noexcept {
    readable_ = writable_ = false;
    loadedSize_.reset();
    entries_.clear();
}

bool ChecksumCache::LoadSize(int64_t size) noexcept {
    if (loadedSize_ == size) return true;
    // One large size's entries are not held on through all the small sizes after it.
    constexpr size_t KeptCapacity = 4096;
    if (entries_.capacity() > KeptCapacity) entries_ = {};
    entries_.clear();
    loadedSize_ = size;
    if (ReadSizeRow(*bySize_, size, entries_)) return true;
    StopReading();
    return false;
}

CachedDigests ChecksumCache::Find(std::string_view path, const FileVersion& version) noexcept {
    used_ = true;
    if (!readable_ || !LoadSize(version.Size)) return {};
    StoredEntry probe;
    probe.PathHash = PathHash(path.data(), path.size());
    CachedDigests found;
    for (auto e = std::lower_bound(entries_.begin(), entries_.end(), probe, EntryOrder);
         e != entries_.end() && e->PathHash == probe.PathHash; ++e) {
        const bool same = e->Device == version.Device && e->Inode == version.Inode &&
                          e->ModTimeNs == version.ModTimeNs &&
                          e->ChangeTimeNs == version.ChangeTimeNs;
        if (!same) continue;
        (e->Whole ? found.WholeFile : found.FirstBlock) = e->Digest;
        if (e->UsedDay >= today_ || !writable_) continue;
        Put({version.Size, *e, true});
        e->UsedDay = today_;
    }
    return found;
}

void ChecksumCache::Store(std::string_view path, const FileVersion& version, const ContentDigest& d,
                          bool whole, int64_t readStartNs) noexcept {
    used_ = true;
    if (!writable_) return;
    if (readStartNs - std::max(version.ModTimeNs, version.ChangeTimeNs) < options_.SettleNs) return;
    CacheRow row;
    row.Size = version.Size;
    row.Entry = {PathHash(path.data(), path.size()),
                 whole,
                 version.Device,
                 version.Inode,
                 version.ModTimeNs,
                 version.ChangeTimeNs,
                 d,
                 today_};
    Put(row);
}

// The writer starts with the first row; it writes through the connection the look-ups use, so
// that they see what it wrote.
bool ChecksumCache::StartWriter() noexcept {
    if (writer_) return true;
    try {
        writer_ = std::make_unique<CacheWriter>(db_, today_, KeepDays);
    } catch (...) {
        writable_ = false;
    }
    return writable_;
}

void ChecksumCache::Put(const CacheRow& row) noexcept {
    try {
        if (!StartWriter()) return;
        writer_->Put(row);
        if (writer_->Failed()) writable_ = false;
    } catch (...) {
        writable_ = false;
    }
}

void ChecksumCache::Finish() noexcept {
    if (!used_) return; // no look-up: nothing to write, and nothing read to prune by
    used_ = false;
    if (writable_ && StartWriter() && !writer_->Finish()) writable_ = false;
    writer_.reset();
    loadedSize_.reset(); // what was written is found from now on
}

bool ChecksumCache::Clear(const std::string& file, std::string& reason) {
    struct stat st {};
    if (stat(file.c_str(), &st) != 0 && errno == ENOENT) return true;
    sqlite3* db = OpenStore(file, 5000, Today(), reason);
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
