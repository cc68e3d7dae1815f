#pragma once
// Writes the checksum store as the search goes on, on the search's own thread: rows gather in a
// short batch, and each full batch goes into the store at once, the rows of each size merged
// into that size's row (one read and one write per size). Measured here, the search's thread
// has time to spare while it waits for the readers, and a thread of the store's own cost more
// in hand-overs than it saved. A transaction is committed once it is a second old, so that
// another search writing the same store waits a moment, never a whole search. A row the store
// refuses (locked past the timeout, a full disk, a damaged row) ends the writing: its
// transaction is rolled back and nothing more is written; the search never notices.

#include "platform/CacheEntries.h"
#include "platform/SqliteStatement.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace pellmora {

// What a search has to say about one file of a size: what it read of it now, or (a touch) only
// that its entry was used today.
struct CacheRow {
    int64_t Size = 0;
    StoredEntry Entry;
    bool Touch = false;
};

class CacheWriter {
  public:
    // Writes through db, which must outlive it; today is the day entries are marked used;
    // entries nobody used for keepDays go.
    CacheWriter(sqlite3* db, int32_t today, int32_t keepDays);
    // Finishes, if that was not done yet.
    ~CacheWriter();
    CacheWriter(const CacheWriter&) = delete;
    CacheWriter& operator=(const CacheWriter&) = delete;

    // Adds a row to the batch; a later row of a file replaces an earlier one of the same kind.
    void Put(const CacheRow& row) noexcept;
    // Writes the rest, commits, deletes the rows nobody used for keepDays (once a day). False
    // when something was not written.
    bool Finish() noexcept;
    bool Failed() const { return failed_; }

  private:
    void Write();
    bool WriteSize(const CacheRow* rows, size_t count);
    void Merge(const CacheRow* rows, size_t count);
    bool Begin();
    void Commit();
    void Fail();
    void Prune();

    sqlite3* db_;
    const int32_t today_;
    const int32_t keepDays_;
    Statement read_, write_, erase_;
    std::vector<CacheRow> batch_;
    std::vector<StoredEntry> entries_, merged_; // of the size being written
    std::string bytes_;
    bool failed_ = false;
    bool finished_ = false;
    bool open_ = false; // a transaction is open
    std::chrono::steady_clock::time_point began_;
};

} // namespace pellmora
