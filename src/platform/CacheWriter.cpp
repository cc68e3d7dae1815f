// The writer's thread takes everything queued at once, writes it inside the open transaction
// (beginning one when none is), and commits once the transaction is a second old, or when the
// owner finishes. The queue is short: when the disk cannot keep up, the search waits for it
// rather than holding the rows in memory.

#include "platform/CacheWriter.h"

#include <utility>

namespace pellmora {

namespace {

constexpr size_t QueueRows = 4096;
constexpr auto TransactionTime = std::chrono::seconds(1);
constexpr int32_t KeepDays = 90;

// Parameters 3 to 6 are the file's identity: an entry of another file (or of this file before
// a change) loses both digests; the same file keeps a digest this row does not bring.
const char* const UpsertSql =
    "INSERT INTO digests(size, pathhash, device, inode, mtime, ctime, first, whole, used)"
    " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) ON CONFLICT(size, pathhash) DO UPDATE SET"
    " first = CASE WHEN device = ?3 AND inode = ?4 AND mtime = ?5 AND ctime = ?6"
    " THEN coalesce(?7, first) ELSE ?7 END,"
    " whole = CASE WHEN device = ?3 AND inode = ?4 AND mtime = ?5 AND ctime = ?6"
    " THEN coalesce(?8, whole) ELSE ?8 END,"
    " device = ?3, inode = ?4, mtime = ?5, ctime = ?6, used = ?9";
const char* const TouchSql =
    "UPDATE digests SET used = ?1 WHERE size = ?2 AND pathhash = ?3 AND used < ?1";

void BindDigest(sqlite3_stmt* stmt, int index, const std::optional<ContentDigest>& d) {
    if (!d) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    unsigned char bytes[DigestBytes];
    EncodeDigest(*d, bytes);
    sqlite3_bind_blob(stmt, index, bytes, DigestBytes, SQLITE_TRANSIENT);
}

} // namespace

void EncodeDigest(const ContentDigest& d, unsigned char* out) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(d.Crc >> (24 - 8 * i));
    for (int i = 0; i < 8; ++i) {
        out[4 + i] = static_cast<unsigned char>(d.High >> (56 - 8 * i));
        out[12 + i] = static_cast<unsigned char>(d.Low >> (56 - 8 * i));
    }
}

ContentDigest DecodeDigest(const unsigned char* in) {
    ContentDigest d;
    for (int i = 0; i < 4; ++i)
        d.Crc = d.Crc << 8 | in[i];
    for (int i = 0; i < 8; ++i) {
        d.High = d.High << 8 | in[4 + i];
        d.Low = d.Low << 8 | in[12 + i];
    }
    return d;
}

CacheWriter::CacheWriter(sqlite3* db, int32_t today)
    : db_(db), today_(today), upsert_(db, UpsertSql), touch_(db, TouchSql) {
    if (!upsert_ || !touch_) failed_ = true;
    // Without a thread of its own, the rows are written as they come.
    thread_.Start(
        1, [this] { Loop(); },
        [this] {
            std::lock_guard lock(mutex_);
            finishing_ = true;
            work_.notify_all();
        });
}

CacheWriter::~CacheWriter() {
    Finish();
    sqlite3_close_v2(db_); // closes once the statements are finalized after this
}

void CacheWriter::Put(CacheRow row) noexcept {
    if (failed_) return;
    try {
        if (thread_.Empty()) {
            std::deque<CacheRow> rows;
            rows.push_back(std::move(row));
            Write(rows);
            return;
        }
        std::unique_lock lock(mutex_);
        room_.wait(lock, [this] { return failed_ || finishing_ || queue_.size() < QueueRows; });
        if (failed_ || finishing_) return;
        queue_.push_back(std::move(row));
    } catch (...) {
        return; // a row not remembered is only a file read again next time
    }
    work_.notify_one();
}

void CacheWriter::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait_for(lock, TransactionTime, [this] { return finishing_ || !queue_.empty(); });
        std::deque<CacheRow> rows;
        rows.swap(queue_);
        room_.notify_all();
        if (rows.empty() && finishing_) return;
        lock.unlock();
        Write(rows);
        CommitIfDue();
        lock.lock();
    }
}

void CacheWriter::Write(std::deque<CacheRow>& rows) {
    for (const CacheRow& row : rows) {
        if (failed_) return;
        if (!open_) {
            if (!Exec(db_, "BEGIN IMMEDIATE")) return Fail();
            open_ = true;
            began_ = std::chrono::steady_clock::now();
        }
        if (!WriteRow(row)) return Fail();
    }
}

bool CacheWriter::WriteRow(const CacheRow& row) {
    if (row.Touch) {
        sqlite3_stmt* s = *touch_;
        sqlite3_bind_int64(s, 1, today_);
        sqlite3_bind_int64(s, 2, row.Size);
        sqlite3_bind_int64(s, 3, static_cast<int64_t>(row.PathHash));
        return touch_.Run();
    }
    sqlite3_stmt* s = *upsert_;
    sqlite3_bind_int64(s, 1, row.Size);
    sqlite3_bind_int64(s, 2, static_cast<int64_t>(row.PathHash));
    sqlite3_bind_int64(s, 3, static_cast<int64_t>(row.Device));
    sqlite3_bind_int64(s, 4, static_cast<int64_t>(row.Inode));
    sqlite3_bind_int64(s, 5, row.ModTimeNs);
    sqlite3_bind_int64(s, 6, row.ChangeTimeNs);
    BindDigest(s, 7, row.FirstBlock);
    BindDigest(s, 8, row.WholeFile);
    sqlite3_bind_int64(s, 9, today_);
    return upsert_.Run();
}

void CacheWriter::CommitIfDue() {
    if (open_ && std::chrono::steady_clock::now() - began_ >= TransactionTime) Commit();
}

void CacheWriter::Commit() {
    if (!open_) return;
    open_ = false;
    if (!Exec(db_, "COMMIT")) Fail();
}

void CacheWriter::Fail() {
    if (open_) Exec(db_, "ROLLBACK");
    open_ = false;
    {
        std::lock_guard lock(mutex_);
        failed_ = true;
    }
    room_.notify_all();
}

bool CacheWriter::Finish() noexcept {
    if (finished_) return !failed_;
    finished_ = true;
    {
        std::lock_guard lock(mutex_);
        finishing_ = true;
    }
    work_.notify_all();
    room_.notify_all();
    thread_.Join();
    // A failed start left rows behind only if the thread took none; whatever is left goes now.
    Write(queue_);
    queue_.clear();
    Commit();
    if (!failed_) Prune();
    return !failed_;
}

void CacheWriter::Prune() {
    const std::optional<int64_t> last =
        QueryNumber(db_, "SELECT value FROM meta WHERE name = 'pruned'");
    if (!last || *last >= today_) return;
    if (!Exec(db_, "BEGIN IMMEDIATE")) return Fail();
    Statement prune(db_, "DELETE FROM digests WHERE used < ?");
    Statement mark(db_, "INSERT OR REPLACE INTO meta VALUES('pruned', ?)");
    bool ok = prune && mark;
    if (ok) {
        sqlite3_bind_int64(*prune, 1, today_ - KeepDays);
        sqlite3_bind_int64(*mark, 1, today_);
        ok = prune.Run() && mark.Run();
    }
    open_ = true;
    if (!ok) return Fail();
    Commit();
}

} // namespace pellmora
