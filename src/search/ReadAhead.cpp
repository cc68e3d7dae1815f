// The readers take requests from the front of one queue. A batch of requests goes to the back
// sorted by inode, which on the usual file systems follows the order of the data on the disk;
// what the search needs next (a request it waits for, the whole-file reads a finished run calls
// for) goes to the front. The search waits only for the one outcome it asked for, and only that
// outcome wakes it.

#include "search/ReadAhead.h"

#include "search/crc32tab.h"

#include <algorithm>
#include <chrono>

namespace pellmora {

namespace {

// A read this large costs few system calls, and the kernel's read-ahead keeps the disk busy
// beyond it; the buffers stay small (readers x Chunk), and are touched only as far as reads fill
// them.
constexpr size_t Chunk = size_t{256} << 10;
// Longer than this the search does not wait without letting window events run.
constexpr auto PumpInterval = std::chrono::milliseconds(10);

void SortByPlace(std::vector<ReadRequest>& requests) {
    std::sort(requests.begin(), requests.end(), [](const ReadRequest& a, const ReadRequest& b) {
        return std::tie(a.Identity.Device, a.Identity.Inode) <
               std::tie(b.Identity.Device, b.Identity.Inode);
    });
}

} // namespace

size_t DefaultReadersInFlight() {
    return 16;
}

ReadAhead::ReadAhead(size_t readers, bool predictWholeFiles, bool witness)
    : predict_(predictWholeFiles), witness_(witness) {
    // Fewer readers than asked for still read ahead; none leaves the search to read alone.
    readers_.Start(
        readers, [this] { ReaderLoop(); }, [this] { Cancel(); });
}

ReadAhead::~ReadAhead() {
    Cancel();
    readers_.Join();
}

void ReadAhead::Cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    work_.notify_all();
}

// Read without the lock: the search asks before every outcome, and a reader that holds the lock
// may be waiting for a processor.
ReadAheadLoad ReadAhead::Load() const {
    return {requests_.load(std::memory_order_relaxed), pathBytes_.load(std::memory_order_relaxed)};
}

// Called with the lock held: false when the request is known already.
bool ReadAhead::Know(const Key& key) {
    if (!known_.insert(key).second) return false;
    requests_.store(known_.size(), std::memory_order_relaxed);
    return true;
}

// Called with the lock held: whether a first block counts for its run's prediction.
bool ReadAhead::Counts(const ReadRequest& request) const {
    return predict_ && request.Run >= 0 && request.Kind == ReadKind::FirstBlock;
}

void ReadAhead::Queue(std::vector<ReadRequest> requests,
                      std::vector<std::pair<ReadRequest, ContentDigest>> remembered) {
    SortByPlace(requests);
    {
        std::lock_guard lock(mutex_);
        for (const auto& entry : remembered)
            if (Counts(entry.first)) ++runs_[entry.first.Run].Pending;
        std::vector<ReadRequest*> counted;
        for (ReadRequest& request : requests) {
            if (!Know(KeyOf(request))) continue;
            if (Counts(request)) ++runs_[request.Run].Pending;
            pathBytes_ += request.Path.size();
            queue_.push_back(std::move(request));
        }
        for (auto& [request, digest] : remembered) {
            if (!Counts(request)) continue;
            pathBytes_ += request.Path.size();
            FirstBlockIn(request, &digest);
        }
    }
    work_.notify_all();
}

std::optional<ReadOutcome> ReadAhead::Take(const ReadRequest& request,
                                           const OperationControl& control) {
    const Key key = KeyOf(request);
    std::unique_lock lock(mutex_);
    if (Know(key)) {
        ReadRequest alone = request;
        alone.Run = -1; // its run was not read ahead
        pathBytes_ += alone.Path.size();
        queue_.push_front(std::move(alone));
        work_.notify_one();
    }
    for (;;) {
        const auto found = outcomes_.find(key);
        if (found != outcomes_.end()) {
            const ReadOutcome outcome = found->second;
            outcomes_.erase(found);
            known_.erase(key);
            requests_.store(known_.size(), std::memory_order_relaxed);
            awaited_.reset();
            return outcome;
        }
        awaited_ = key;
        if (delivered_.wait_for(lock, PumpInterval) == std::cv_status::timeout ||
            !outcomes_.contains(key)) {
            lock.unlock();
            control.Yield();
            if (control.StopRequested()) {
                lock.lock();
                awaited_.reset();
                return std::nullopt;
            }
            lock.lock();
        }
    }
}

void ReadAhead::ReaderLoop() {
    const std::unique_ptr<unsigned char[]> buffer(new unsigned char[Chunk]);
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return cancelled_ || !queue_.empty(); });
        if (cancelled_) return;
        ReadRequest request = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        const ReadOutcome outcome = Perform(request, buffer.get());
        lock.lock();
        Deliver(request, outcome);
    }
}

ReadOutcome ReadAhead::Perform(const ReadRequest& request, unsigned char* buffer) {
    ReadOutcome outcome;
    try {
        ReadWitness* witness = witness_ ? &outcome.Witness : nullptr;
        if (request.Kind == ReadKind::FirstBlock) {
            outcome.Digest = ReadFirstBlockDigest(request.Path, request.Size, buffer, outcome.Ok,
                                                  nullptr, witness);
        } else {
            const auto goOn = [this] { return !cancelled_; };
            outcome.Digest = ReadFileDigest(request.Path, request.Size, buffer, Chunk, goOn,
                                            outcome.Ok, witness);
        }
    } catch (const std::exception&) {
        outcome.Ok = false; // never grouped on a read that did not complete
    }
    return outcome;
}

// Called with the lock held.
void ReadAhead::Deliver(ReadRequest& request, const ReadOutcome& outcome) {
    const Key key = KeyOf(request);
    outcomes_[key] = outcome;
    if (awaited_ == key) delivered_.notify_one();
    if (Counts(request))
        FirstBlockIn(request, outcome.Ok ? &outcome.Digest : nullptr);
    else
        pathBytes_ -= request.Path.size();
}

// Called with the lock held, for a first block read (digest null when the read failed) or
// remembered; the request's path is counted until its run is complete.
void ReadAhead::FirstBlockIn(ReadRequest& request, const ContentDigest* digest) {
    const auto run = runs_.find(request.Run);
    if (run == runs_.end()) {
        pathBytes_ -= request.Path.size();
        return;
    }
    if (digest) {
        run->second.Readable.emplace_back(std::move(request), *digest);
    } else {
        pathBytes_ -= request.Path.size();
    }
    if (--run->second.Pending > 0) return;
    QueueCalledFor(run->second);
    runs_.erase(run);
}

// A run's files whose first block another readable file of the run shares are the ones the
// search will read whole, unless their whole contents are remembered: their reads go first, in
// physical order.
void ReadAhead::QueueCalledFor(RunProgress& run) {
    std::vector<ContentDigest> digests;
    digests.reserve(run.Readable.size());
    for (const auto& entry : run.Readable)
        digests.push_back(entry.second);
    const std::vector<bool> shared = DigestsShared(digests);
    std::vector<ReadRequest> called;
    for (size_t i = 0; i < run.Readable.size(); ++i) {
        ReadRequest& whole = run.Readable[i].first;
        pathBytes_ -= whole.Path.size();
        if (!shared[i] || whole.WholeKnown) continue;
        whole.Kind = ReadKind::WholeFile;
        whole.Run = -1;
        if (!Know(KeyOf(whole))) continue;
        pathBytes_ += whole.Path.size();
        called.push_back(std::move(whole));
    }
    SortByPlace(called);
    for (auto it = called.rbegin(); it != called.rend(); ++it)
        queue_.push_front(std::move(*it));
    if (!called.empty()) work_.notify_all();
}

} // namespace pellmora
