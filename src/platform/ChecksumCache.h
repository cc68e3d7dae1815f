#pragma once
// The optional memory of checksums between searches: an SQLite file that maps a file, as the
// file system describes it, to the checksums of its first block and of its whole contents.
// Nothing here may fail a search: a store that cannot be used is refused at Open with a reason,
// and a store that fails later is quietly left alone; a file that is not a store of ours (or a
// damaged one) is never written, replaced or deleted.

#include "platform/CacheEntries.h"
#include "platform/ContentDigest.h"
#include "platform/FileIdentity.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace pellmora {

// A file as the file system describes it. The status-change time catches a rewrite that put
// the old modification time back, and a new hard link.
struct CacheKey {
    std::string Path; // native bytes
    uint64_t Device = 0, Inode = 0;
    int64_t Size = 0, ModTimeNs = 0, ChangeTimeNs = 0;
    FileVersion Version() const { return {Device, Inode, Size, ModTimeNs, ChangeTimeNs}; }
};

struct CachedDigests {
    std::optional<ContentDigest> FirstBlock, WholeFile;
};

struct ChecksumCacheOptions {
    int BusyTimeoutMs = 5000; // how long to wait for another search holding the store
    // A read that began less than this after the file's last change is not stored: a write
    // within the same tick of the file system's clock would leave every time as it was.
    int64_t SettleNs = 2'000'000'000;
    int32_t Today = 0; // the day entries are used on, in days since the epoch; 0: today
};

class CacheWriter;
class Statement;
struct CacheRow;

class ChecksumCache {
  public:
    // nullptr when the store cannot be used; reason gets one line for pellmora-scan's stderr.
    static std::unique_ptr<ChecksumCache> Open(const std::string& file, std::string& reason,
                                               const ChecksumCacheOptions& options = {});
    // $XDG_CACHE_HOME/Pellmora/checksums.sqlite, default ~/.cache/Pellmora/; empty when there
    // is no home folder.
    static std::string DefaultFile();

    // Writes what is pending, as Finish does.
    ~ChecksumCache();
    ChecksumCache(const ChecksumCache&) = delete;
    ChecksumCache& operator=(const ChecksumCache&) = delete;

    // What is stored for the file, when the path and all five fields of the key match. The
    // entries of one size are read together: asked size by size, as a search's runs ask, the
    // store answers each size with one query and holds only that size's entries.
    CachedDigests Find(std::string_view path, const FileVersion& version) noexcept;
    CachedDigests Find(const CacheKey& key) noexcept { return Find(key.Path, key.Version()); }
    // Only digests of a read that completed at the version's size, that began at readStartNs, and
    // whose descriptor showed that version before and after it, may be stored. A read that began
    // less than the settle time after the file's last change is not stored. They are written in
    // batches as the search goes on, and are found from the next Finish on.
    void Store(std::string_view path, const FileVersion& version, const ContentDigest& d,
               bool whole, int64_t readStartNs) noexcept;
    void StoreFirstBlock(const CacheKey& key, const ContentDigest& d,
                         int64_t readStartNs) noexcept {
        Store(key.Path, key.Version(), d, false, readStartNs);
    }
    void StoreWholeFile(const CacheKey& key, const ContentDigest& d, int64_t readStartNs) noexcept {
        Store(key.Path, key.Version(), d, true, readStartNs);
    }
    // Writes what is pending; prunes entries unused for 90 days, at most once a day.
    void Finish() noexcept;

    // Empties the store (the "Forget" button, --cache-clear); a missing store is empty already.
    // A file that is not a store of ours is left alone and refused.
    static bool Clear(const std::string& file, std::string& reason);

  private:
    ChecksumCache(sqlite3* db, const ChecksumCacheOptions& options);
    bool LoadSize(int64_t size) noexcept;
    bool StartWriter() noexcept;
    void Put(const CacheRow& row) noexcept;
    void StopReading() noexcept;

    sqlite3* db_ = nullptr;
    ChecksumCacheOptions options_;
    std::unique_ptr<Statement> bySize_;
    bool readable_ = true; // false after a failed read: every call is then a miss or nothing
    bool writable_ = true; // false after a failed write, or a failed read
    bool used_ = false;    // looked up or stored since the last Finish
    int32_t today_ = 0;
    std::optional<int64_t> loadedSize_;
    std::vector<StoredEntry> entries_; // of loadedSize_, by path hash and kind
    std::unique_ptr<CacheWriter> writer_;
};

// The key of the file at path (a final link not followed); nothing when the status cannot be
// read or it is not a regular file.
std::optional<CacheKey> CacheKeyOfPath(const std::string& path);

} // namespace pellmora
