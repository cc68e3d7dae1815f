// A batch is written when it is full, and the transaction committed once it is a second old.

#include "platform/CacheWriter.h"

#include <algorithm>
#include <utility>

namespace pellmora {

namespace {

constexpr size_t BatchRows = 1024;
constexpr auto TransactionTime = std::chrono::seconds(1);

bool SlotOrder(const CacheRow& a, const CacheRow& b) {
    return EntryOrder(a.Entry, b.Entry);
}

} // namespace

CacheWriter::CacheWriter(sqlite3* db, int32_t today, int32_t keepDays)
    : db_(db), today_(today), keepDays_(keepDays), read_(db, SelectSizeRow),
      write_(db, "INSERT OR REPLACE INTO digests(key, entries, used) VALUES(?, ?, ?)"),
      erase_(db, "DELETE FROM digests WHERE key = ?") {
    if (!read_ || !write_ || !erase_) failed_ = true;
}

CacheWriter::~CacheWriter() {
    Finish();
}

void CacheWriter::Put(const CacheRow& row) noexcept {
    if (failed_) return;
    try {
        if (batch_.empty()) batch_.reserve(BatchRows);
        batch_.push_back(row);
    } catch (...) {
        batch_.clear(); // a row not remembered is only a file read again next time
    }
    if (batch_.size() >= BatchRows) Write();
}

// Each size's rows, in the order they came, go into that size's row at once.
void CacheWriter::Write() {
    std::stable_sort(batch_.begin(), batch_.end(),
                     [](const CacheRow& a, const CacheRow& b) { return a.Size > b.Size; });
    for (size_t i = 0; i < batch_.size() && !failed_;) {
        size_t n = 1;
        while (i + n < batch_.size() && batch_[i + n].Size == batch_[i].Size)
            ++n;
        bool ok = false;
        try {
            ok = Begin() && WriteSize(batch_.data() + i, n);
        } catch (...) {
        }
        if (!ok) Fail();
        i += n;
    }
    batch_.clear();
    if (open_ && std::chrono::steady_clock::now() - began_ >= TransactionTime) Commit();
}

bool CacheWriter::WriteSize(const CacheRow* rows, size_t count) {
    // A row that cannot be read, or is damaged, is never written over.
    if (!ReadSizeRow(read_, rows[0].Size, entries_)) return false;
    const int64_t key = RowKeyOfSize(rows[0].Size);
    Merge(rows, count);
    if (merged_.empty()) {
        sqlite3_bind_int64(*erase_, 1, key);
        return erase_.Run();
    }
    EncodeEntries(merged_, bytes_);
    int32_t used = 0;
    for (const StoredEntry& e : merged_)
        used = std::max(used, e.UsedDay);
    sqlite3_stmt* w = *write_;
    sqlite3_bind_int64(w, 1, key);
    sqlite3_bind_blob(w, 2, bytes_.data(), static_cast<int>(bytes_.size()), SQLITE_STATIC);
    sqlite3_bind_int64(w, 3, used);
    return write_.Run();
}

// The stored entries and the rows, both in slot order, into merged_: a row's entry takes its
// slot, a touch marks the entry in its slot as used. The other kind's entry of a path goes when
// it describes another version of the file, and so does every entry nobody used for keepDays.
void CacheWriter::Merge(const CacheRow* rows, size_t count) {
    std::vector<CacheRow> updates(rows, rows + count);
    std::stable_sort(updates.begin(), updates.end(), SlotOrder);
    merged_.clear();
    merged_.reserve(entries_.size() + updates.size());
    size_t i = 0;
    for (size_t j = 0; j < updates.size(); ++j) {
        const StoredEntry& slot = updates[j].Entry;
        while (i < entries_.size() && EntryOrder(entries_[i], slot))
            merged_.push_back(entries_[i++]);
        const bool stored = i < entries_.size() && entries_[i].SameSlot(slot);
        const bool open = !merged_.empty() && merged_.back().SameSlot(slot);
        if (stored && !open) merged_.push_back(entries_[i++]);
        if (updates[j].Touch) {
            if (stored || open) merged_.back().UsedDay = today_;
            continue;
        }
        StoredEntry entry = slot;
        entry.UsedDay = today_;
        if (stored || open)
            merged_.back() = entry;
        else
            merged_.push_back(entry);
    }
    merged_.insert(merged_.end(), entries_.begin() + static_cast<ptrdiff_t>(i), entries_.end());
    const auto replaced = [&](const StoredEntry& e) {
        auto u = std::lower_bound(
            updates.begin(), updates.end(), e.PathHash,
            [](const CacheRow& row, uint64_t h) { return row.Entry.PathHash < h; });
        for (; u != updates.end() && u->Entry.PathHash == e.PathHash; ++u)
            if (!u->Touch && !u->Entry.SameFile(e)) return true;
        return false;
    };
    std::erase_if(merged_, [&](const StoredEntry& e) {
        return e.UsedDay < today_ - keepDays_ || replaced(e);
    });
}

bool CacheWriter::Begin() {
    if (open_) return true;
    if (!Exec(db_, "BEGIN IMMEDIATE")) return false;
    open_ = true;
    began_ = std::chrono::steady_clock::now();
    return true;
}

void CacheWriter::Commit() {
    if (!open_) return;
    open_ = false;
    if (!Exec(db_, "COMMIT")) Fail();
}

void CacheWriter::Fail() {
    if (open_) Exec(db_, "ROLLBACK");
    open_ = false;
    failed_ = true;
}

bool CacheWriter::Finish() noexcept {
    if (finished_) return !failed_;
    finished_ = true;
    if (!failed_) Write();
    Commit();
    if (!failed_) Prune();
    return !failed_;
}

// The rows whose entries nobody used for keepDays; the entries of rows still in use go when
// their row is written next.
void CacheWriter::Prune() {
    const std::optional<int64_t> last =
        QueryNumber(db_, "SELECT value FROM meta WHERE name = 'pruned'");
    if (!last || *last >= today_) return;
    if (!Begin()) return Fail();
    Statement prune(db_, "DELETE FROM digests WHERE used < ?");
    Statement mark(db_, "INSERT OR REPLACE INTO meta VALUES('pruned', ?)");
    bool ok = prune && mark;
    if (ok) {
        sqlite3_bind_int64(*prune, 1, today_ - keepDays_);
        sqlite3_bind_int64(*mark, 1, today_);
        ok = prune.Run() && mark.Run();
    }
    if (!ok) return Fail();
    Commit();
}

} // namespace pellmora
