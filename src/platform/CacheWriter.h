#pragma once
// Writes the checksum store from a thread of its own while the search goes on. Rows wait in a
// short queue and go into the store in transactions of about a second each, so that another
// search writing the same store waits a moment, never a whole search. A row the store refuses
// (locked past the timeout, a full disk) ends the writing: its transaction is rolled back and
// nothing more is written; the search never notices.

#include "platform/ContentDigest.h"
#include "platform/SqliteStatement.h"
#include "platform/WorkerThreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace pellmora {

// One file's entry: its key (the path as its hash) and what was read of it now. A touch only
// marks the entry as used today.
struct CacheRow {
    int64_t Size = 0;
    uint64_t PathHash = 0;
    uint64_t Device = 0, Inode = 0;
    int64_t ModTimeNs = 0, ChangeTimeNs = 0;
    std::optional<ContentDigest> FirstBlock, WholeFile;
    bool Touch = false;
};

// The stored form of a digest: the CRC-32 and the XXH3-128, big-endian.
constexpr int DigestBytes = 20;
void EncodeDigest(const ContentDigest& d, unsigned char* out);
ContentDigest DecodeDigest(const unsigned char* in);

class CacheWriter {
  public:
    // Takes over db, a connection of its own to the store; today is the day rows are marked
    // used.
    CacheWriter(sqlite3* db, int32_t today);
    // Finishes, if that was not done yet.
    ~CacheWriter();
    CacheWriter(const CacheWriter&) = delete;
    CacheWriter& operator=(const CacheWriter&) = delete;

    // Queues a row, waiting while the queue is full. A new entry replaces its key's entry; for
    // the same file, a digest not given keeps the one stored.
    void Put(CacheRow row) noexcept;
    // Writes the rest, commits, prunes what no search used for 90 days (once a day), and ends
    // the thread. False when something was not written.
    bool Finish() noexcept;
    bool Failed() const { return failed_; }

  private:
    void Loop();
    void Write(std::deque<CacheRow>& rows);
    bool WriteRow(const CacheRow& row);
    void CommitIfDue();
    void Commit();
    void Fail();
    void Prune();

    sqlite3* db_;
    const int32_t today_;
    Statement upsert_;
    Statement touch_;
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable room_;
    std::deque<CacheRow> queue_;
    bool finishing_ = false;
    bool finished_ = false;
    std::atomic<bool> failed_{false};
    bool open_ = false; // a transaction is open
    std::chrono::steady_clock::time_point began_;
    WorkerThreads thread_;
};

} // namespace pellmora
