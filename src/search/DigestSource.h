#pragma once
// Where the comparison's digests come from: remembered by the checksum cache, read ahead by the
// reader threads, or read on the spot. A plan walks the size runs ahead of the search, in the
// order the search compares them; it looks each run up in the cache and queues the reads that
// the cache cannot answer. It stays within a window of files and of path bytes, so that what is
// held for the files ahead is bounded whatever the size of the tree. To the search every answer
// looks like a read on the spot: the same yields, and only verified reads are remembered.

#include "model/DuplicateTypes.h"
#include "model/OperationControl.h"
#include "platform/ChecksumCache.h"
#include "platform/MountTable.h"
#include "search/ReadAhead.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace pellmora {

class DigestSource {
  public:
    // Opens the cache where the state names one (the checksum mode only: the byte-by-byte mode
    // promises to compare the bytes) and starts the readers the state asks for.
    DigestSource(const SearchState& state, const OperationControl& control);
    ~DigestSource();
    DigestSource(const DigestSource&) = delete;
    DigestSource& operator=(const DigestSource&) = delete;

    // The search compares the run that starts at ScanList[start] now; what the plan held for the
    // runs before it goes.
    void BeginRun(int32_t start);
    // The digest of the file at path; nullopt when a stop request ended the wait or the read.
    std::optional<ReadOutcome> Obtain(const std::string& path, const TFileInfoType& file,
                                      ReadKind kind);
    // Ends the readers and writes what the cache has left to write.
    void Finish();

  private:
    struct RememberedRun {
        int32_t Start = 0;
        std::unordered_map<FileIdentity, CachedDigests, FileIdentityHash> Digests;
    };
    struct Plan;

    bool Remembers(const TFileInfoType& file);
    CachedDigests Recall(const std::string& path, const TFileInfoType& file);
    std::optional<ContentDigest> TakeRemembered(const TFileInfoType& file, ReadKind kind);
    void Remember(const std::string& path, const TFileInfoType& file, ReadKind kind,
                  const ReadOutcome& outcome);
    std::optional<ReadOutcome> ReadNow(const std::string& path, const TFileInfoType& file,
                                       ReadKind kind);
    void TopUp();
    bool PlanPiece(Plan& plan);
    void PlanFile(Plan& plan, const TFileInfoType& file);

    const SearchState& state_;
    const OperationControl& control_;
    const bool byChecksum_;
    std::unique_ptr<ChecksumCache> cache_;
    FileSystemTypeCheck keepsChangeTime_{KeepsChangeTime};
    std::unique_ptr<ReadAhead> ahead_; // none: every file is read when its run gets to it
    int32_t current_ = -1;             // the run the search compares
    // The plan: files before next_ are planned; next_ lies in the run runStart_..runEnd_.
    int32_t next_ = 0;
    int32_t runStart_ = -1;
    int32_t runEnd_ = -1;
    bool predicted_ = false; // the readers queue the run's whole-file reads themselves
    std::deque<RememberedRun> remembered_;
    size_t rememberedFiles_ = 0;
};

} // namespace pellmora
