// The plan is topped up one batch at a time, whenever the window has room for a batch: what
// the readers hold (queued, being read, read and not yet taken) and what the cache answered for
// files the search has yet to ask about count against it. A batch is read in physical order
// among itself. A run whose first blocks the readers are to collect for its whole-file reads is
// planned in one piece, so it must fit a batch; a larger run is planned piece by piece and its
// whole-file reads wait for the search.

#include "search/DigestSource.h"

#include "search/crc32tab.h"

#include <utility>

namespace pellmora {

namespace {

constexpr size_t Window = 8192;         // files held ahead of the search
constexpr size_t Batch = Window / 2;    // planned at once
constexpr size_t WindowBytes = 2 << 20; // of the paths held for them
constexpr size_t BatchBytes = WindowBytes / 2;

ReadRequest RequestFor(const std::string& path, const TFileInfoType& file, ReadKind kind) {
    return {path, file.Size, IdentityOf(file), kind, false, -1};
}

} // namespace

struct DigestSource::Plan {
    std::vector<ReadRequest> Reads;
    std::vector<std::pair<ReadRequest, ContentDigest>> Known;
    size_t Files = 0;
    size_t Bytes = 0;
    bool Full() const { return Files >= Batch || Bytes >= BatchBytes; }
};

DigestSource::DigestSource(const SearchState& state, const OperationControl& control)
    : state_(state), control_(control), byChecksum_(state.CompareMode != 1) {
    if (byChecksum_ && !state.ChecksumCacheFile.empty()) {
        std::string reason; // said by the front that named the store, before the search
        cache_ = ChecksumCache::Open(state.ChecksumCacheFile, reason);
    }
    if (state.ReadersInFlight <= 0) return;
    ahead_ = std::make_unique<ReadAhead>(static_cast<size_t>(state.ReadersInFlight), byChecksum_,
                                         cache_ != nullptr);
    if (!ahead_->Usable()) ahead_.reset();
}

DigestSource::~DigestSource() {
    Finish();
}

void DigestSource::Finish() {
    ahead_.reset(); // none reads on behind a stop, an error or the end-of-search report
    if (cache_) cache_->Finish();
    cache_.reset();
}

// A file system whose status-change time a driver may set as it likes cannot tell a rewrite
// with the old time put back: its files are always read, and never remembered.
bool DigestSource::Remembers(const TFileInfoType& file) {
    return cache_ && keepsChangeTime_.Holds(file.Device);
}

CachedDigests DigestSource::Recall(const std::string& path, const TFileInfoType& file) {
    if (!Remembers(file)) return {};
    return cache_->Find(path, VersionOf(file));
}

// Only a read that came to its end at the listed size, through a descriptor that showed the
// listed version before and after it, is remembered.
void DigestSource::Remember(const std::string& path, const TFileInfoType& file, ReadKind kind,
                            const ReadOutcome& outcome) {
    if (!outcome.Ok || outcome.Remembered || !Remembers(file)) return;
    const ReadWitness& seen = outcome.Witness;
    if (!seen.Steady || seen.Before != VersionOf(file)) return;
    cache_->Store(path, seen.Before, outcome.Digest, kind == ReadKind::WholeFile, seen.StartedNs);
}

void DigestSource::BeginRun(int32_t start) {
    current_ = start;
    while (!remembered_.empty() && remembered_.front().Start < start) {
        rememberedFiles_ -= remembered_.front().Digests.size();
        remembered_.pop_front();
    }
    TopUp();
}

void DigestSource::TopUp() {
    if (next_ > state_.ScanLast || (!ahead_ && !cache_)) return;
    const ReadAheadLoad load = ahead_ ? ahead_->Load() : ReadAheadLoad{};
    if (load.Requests + rememberedFiles_ + Batch > Window ||
        load.PathBytes + BatchBytes > WindowBytes)
        return;
    Plan plan;
    while (!plan.Full() && PlanPiece(plan)) {
    }
    if (ahead_) ahead_->Queue(std::move(plan.Reads), std::move(plan.Known));
}

// Plans from next_ on, to the end of its run or until the plan is full; false when every run is
// planned. The runs are the ones the search compares: two or more files of a size, not empty,
// and over one block in the byte-by-byte mode, whose smaller files it compares itself.
bool DigestSource::PlanPiece(Plan& plan) {
    const TFileList& list = state_.ScanList;
    if (next_ > state_.ScanLast) return false;
    if (next_ > runEnd_) {
        const int32_t s = next_;
        int32_t e = s;
        while (e < state_.ScanLast && list[e + 1].Size == list[s].Size)
            ++e;
        const int64_t size = list[s].Size;
        if (e == s || size == 0 || (size <= BlockSize && !byChecksum_)) {
            next_ = e + 1;
            return true;
        }
        runStart_ = s;
        runEnd_ = e;
        predicted_ =
            ahead_ && byChecksum_ && size > BlockSize && static_cast<size_t>(e - s + 1) <= Batch;
    }
    for (; next_ <= runEnd_ && (predicted_ || !plan.Full()); ++next_)
        PlanFile(plan, list[next_]);
    return true;
}

// What the cache answers is held for the search; a file the readers need not read still counts
// for its run's whole-file reads.
void DigestSource::PlanFile(Plan& plan, const TFileInfoType& file) {
    std::string path = FullPath(state_, file);
    const CachedDigests known = Recall(path, file);
    ++plan.Files;
    if (known.FirstBlock || known.WholeFile) {
        if (remembered_.empty() || remembered_.back().Start != runStart_)
            remembered_.push_back({runStart_, {}});
        remembered_.back().Digests.emplace(IdentityOf(file), known);
        ++rememberedFiles_;
    }
    if (!ahead_) return;
    const bool small = file.Size <= BlockSize;
    const std::optional<ContentDigest>& answer = small ? known.WholeFile : known.FirstBlock;
    ReadRequest request =
        RequestFor(path, file, small ? ReadKind::WholeFile : ReadKind::FirstBlock);
    request.WholeKnown = known.WholeFile.has_value();
    request.Run = predicted_ ? runStart_ : -1;
    if (answer && !predicted_) return;
    plan.Bytes += request.Path.size();
    if (answer)
        plan.Known.emplace_back(std::move(request), *answer);
    else
        plan.Reads.push_back(std::move(request));
}

// An entry goes once nothing more can be asked of it: after its first block, unless its whole
// contents are remembered too.
std::optional<ContentDigest> DigestSource::TakeRemembered(const TFileInfoType& file,
                                                          ReadKind kind) {
    if (remembered_.empty() || remembered_.front().Start != current_) return std::nullopt;
    auto& digests = remembered_.front().Digests;
    const auto found = digests.find(IdentityOf(file));
    if (found == digests.end()) return std::nullopt;
    const CachedDigests& known = found->second;
    const std::optional<ContentDigest> answer =
        kind == ReadKind::FirstBlock ? known.FirstBlock : known.WholeFile;
    if (kind == ReadKind::WholeFile || !known.WholeFile) {
        digests.erase(found);
        --rememberedFiles_;
    }
    return answer;
}

std::optional<ReadOutcome> DigestSource::ReadNow(const std::string& path, const TFileInfoType& file,
                                                 ReadKind kind) {
    ReadOutcome outcome;
    ReadWitness* witness = cache_ ? &outcome.Witness : nullptr;
    outcome.Digest = kind == ReadKind::FirstBlock
                         ? FirstBlockDigest(path, file.Size, control_, outcome.Ok, witness)
                         : FileDigest(path, file.Size, control_, outcome.Ok, witness);
    if (control_.StopRequested()) return std::nullopt;
    Remember(path, file, kind, outcome);
    return outcome; // it yielded as it read
}

// The yields stay where reading on the spot has them: one per first block, one per block of a
// whole file.
std::optional<ReadOutcome> DigestSource::Obtain(const std::string& path, const TFileInfoType& file,
                                                ReadKind kind) {
    TopUp();
    std::optional<ReadOutcome> outcome;
    if (const auto remembered = TakeRemembered(file, kind)) {
        outcome = ReadOutcome{*remembered, true, true, {}};
    } else if (ahead_) {
        outcome = ahead_->Take(RequestFor(path, file, kind), control_);
        if (!outcome) return std::nullopt;
    } else {
        return ReadNow(path, file, kind);
    }
    const int64_t blocks = kind == ReadKind::FirstBlock ? 1
                           : outcome->Ok                ? file.Size / BlockSize + 1
                                                        : 0;
    for (int64_t block = 0; block < blocks; ++block) {
        control_.Yield();
        if (control_.StopRequested()) return std::nullopt;
    }
    Remember(path, file, kind, *outcome);
    return outcome;
}

} // namespace pellmora
