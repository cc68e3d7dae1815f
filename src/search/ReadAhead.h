#pragma once
// Reads ahead of the search. A cold disk answers many outstanding requests far faster than one
// at a time, so a few reader threads open, read and checksum the files the search will ask for,
// in the files' physical order, while the search's logic stays on its own thread and takes the
// digests in its own order. The readers touch nothing of the search's state: each request
// carries what it needs, each outcome is handed over under one lock. The search keeps what it
// queues bounded (Load tells what is held), and each reader has one small buffer. A reader holds
// a file open only for the read of it; a stop, or the end of the search, cancels the rest and
// joins them.

#include "model/OperationControl.h"
#include "platform/ContentDigest.h"
#include "platform/ContentFile.h"
#include "platform/FileIdentity.h"
#include "platform/WorkerThreads.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace pellmora {

enum class ReadKind : uint8_t { FirstBlock, WholeFile };

struct ReadRequest {
    std::string Path;
    int64_t Size = 0;
    FileIdentity Identity;
    ReadKind Kind = ReadKind::WholeFile;
    bool WholeKnown = false; // remembered already: a run's whole-file reads leave the file out
    // The first-block reads of one size run share a number: once all of them are in, the
    // whole-file reads the run will ask for are queued at once, before the search asks. -1: the
    // run's whole-file reads wait until the search asks for them.
    int32_t Run = -1;
};

struct ReadOutcome {
    ContentDigest Digest;
    bool Ok = false;         // read to its end at its listed size
    bool Remembered = false; // from the checksum cache, not read
    ReadWitness Witness;     // what the read saw of the file, where a witness was asked for
};

// What the requests not yet taken hold: how many there are (queued, being read, or read and
// waiting), and the bytes of the paths kept for them.
struct ReadAheadLoad {
    size_t Requests = 0;
    size_t PathBytes = 0;
};

class ReadAhead {
  public:
    // Starts up to readers threads; predictWholeFiles queues the whole-file reads that a size
    // run's first blocks call for; witness has each read tell what it saw of its file.
    ReadAhead(size_t readers, bool predictWholeFiles, bool witness = false);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // False when no reader thread could be started: the search then reads on its own.
    bool Usable() const { return !readers_.Empty(); }

    // Queues requests behind those already queued, in physical order among themselves. The
    // remembered first blocks are not read: they only count for their run.
    void Queue(std::vector<ReadRequest> requests,
               std::vector<std::pair<ReadRequest, ContentDigest>> remembered = {});

    // The outcome of request, queued first now if nobody asked for it yet. While it waits it
    // lets control pump events; nullopt when a stop request ended the wait.
    std::optional<ReadOutcome> Take(const ReadRequest& request, const OperationControl& control);

    // The caller keeps this bounded: it queues more only while the load is small.
    ReadAheadLoad Load() const;

  private:
    struct Key {
        FileIdentity Identity;
        ReadKind Kind;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const noexcept {
            return FileIdentityHash()(key.Identity) * 2 + static_cast<size_t>(key.Kind);
        }
    };
    struct RunProgress {
        size_t Pending = 0;
        std::vector<std::pair<ReadRequest, ContentDigest>> Readable; // first blocks read whole
    };
    static Key KeyOf(const ReadRequest& request) { return {request.Identity, request.Kind}; }

    void ReaderLoop();
    void Cancel();
    ReadOutcome Perform(const ReadRequest& request, unsigned char* buffer);
    bool Know(const Key& key);
    bool Counts(const ReadRequest& request) const;
    void Deliver(ReadRequest& request, const ReadOutcome& outcome);
    void FirstBlockIn(ReadRequest& request, const ContentDigest* digest);
    void QueueCalledFor(RunProgress& run);

    const bool predict_;
    const bool witness_;
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable delivered_;
    std::deque<ReadRequest> queue_;
    std::unordered_set<Key, KeyHash> known_; // queued, being read, or read and not yet taken
    std::unordered_map<Key, ReadOutcome, KeyHash> outcomes_;
    std::unordered_map<int32_t, RunProgress> runs_;
    std::atomic<size_t> requests_{0}; // known_.size()
    // The path bytes of the queue, of the reads under way and of the runs' readable files.
    std::atomic<size_t> pathBytes_{0};
    std::optional<Key> awaited_;
    std::atomic<bool> cancelled_{false};
    WorkerThreads readers_;
};

// How many reads the search keeps in flight; 0 reads on the search's own thread only.
size_t DefaultReadersInFlight();

} // namespace pellmora
