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

// Large reads cost fewer system calls; the buffers stay bounded (readers x Chunk).
constexpr size_t Chunk = 1 << 20;
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

void ReadAhead::Queue(std::vector<ReadRequest> requests,
                      std::vector<std::pair<ReadRequest, ReadOutcome>> known) {
    SortByPlace(requests);
    {
        std::lock_guard lock(mutex_);
        auto count = [this](const ReadRequest& request) {
            if (!known_.insert(KeyOf(request)).second) return false;
            if (predict_ && request.Run >= 0 && request.Kind == ReadKind::FirstBlock)
                ++runs_[request.Run].Pending;
            return true;
        };
        std::vector<std::pair<ReadRequest, ReadOutcome>*> counted;
        for (auto& entry : known)
            if (count(entry.first)) counted.push_back(&entry);
        for (ReadRequest& request : requests)
            if (count(request)) queue_.push_back(std::move(request));
        for (const auto* entry : counted)
            Deliver(entry->first, entry->second);
    }
    work_.notify_all();
}

std::optional<ReadOutcome> ReadAhead::Take(const ReadRequest& request,
                                           const OperationControl& control) {
    const Key key = KeyOf(request);
    std::unique_lock lock(mutex_);
    if (known_.insert(key).second) {
        ReadRequest alone = request;
        alone.Run = -1; // its run was not read ahead
        queue_.push_front(std::move(alone));
        work_.notify_one();
    }
    for (;;) {
        const auto found = outcomes_.find(key);
        if (found != outcomes_.end()) {
            const ReadOutcome outcome = found->second;
            outcomes_.erase(found);
            known_.erase(key);
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
    std::vector<unsigned char> buffer(Chunk);
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return cancelled_ || !queue_.empty(); });
        if (cancelled_) return;
        ReadRequest request = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        const ReadOutcome outcome = Perform(request, buffer);
        lock.lock();
        Deliver(request, outcome);
    }
}

ReadOutcome ReadAhead::Perform(const ReadRequest& request, std::vector<unsigned char>& buffer) {
    ReadOutcome outcome;
    try {
        ReadWitness* witness = witness_ ? &outcome.Witness : nullptr;
        if (request.Kind == ReadKind::FirstBlock) {
            outcome.Digest = ReadFirstBlockDigest(request.Path, request.Size, buffer.data(),
                                                  outcome.Ok, nullptr, witness);
        } else {
            const auto goOn = [this] { return !cancelled_; };
            outcome.Digest = ReadFileDigest(request.Path, request.Size, buffer.data(),
                                            buffer.size(), goOn, outcome.Ok, witness);
        }
    } catch (const std::exception&) {
        outcome.Ok = false; // never grouped on a read that did not complete
    }
    return outcome;
}

// Called with the lock held.
void ReadAhead::Deliver(const ReadRequest& request, const ReadOutcome& outcome) {
    const Key key = KeyOf(request);
    outcomes_[key] = outcome;
    if (awaited_ == key) delivered_.notify_one();
    if (!predict_ || request.Run < 0 || request.Kind != ReadKind::FirstBlock) return;
    const auto run = runs_.find(request.Run);
    if (run == runs_.end()) return;
    run->second.Done.emplace_back(request, outcome);
    if (--run->second.Pending > 0) return;
    QueueCalledFor(run->second);
    runs_.erase(run);
}

// A run's files whose first block another readable file of the run shares are the ones the
// search will read whole: their reads go first, in physical order.
void ReadAhead::QueueCalledFor(RunProgress& run) {
    std::vector<const ReadRequest*> readable;
    std::vector<ContentDigest> digests;
    for (const auto& [request, outcome] : run.Done) {
        if (!outcome.Ok) continue;
        readable.push_back(&request);
        digests.push_back(outcome.Digest);
    }
    const std::vector<bool> shared = DigestsShared(digests);
    std::vector<ReadRequest> called;
    for (size_t i = 0; i < readable.size(); ++i) {
        if (!shared[i]) continue;
        ReadRequest whole = *readable[i];
        whole.Kind = ReadKind::WholeFile;
        whole.Run = -1;
        if (known_.insert(KeyOf(whole)).second) called.push_back(std::move(whole));
    }
    SortByPlace(called);
    for (auto it = called.rbegin(); it != called.rend(); ++it)
        queue_.push_front(std::move(*it));
    if (!called.empty()) work_.notify_all();
}

} // namespace pellmora
