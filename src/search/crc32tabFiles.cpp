// The reading routines of the content comparison: checksums of whole files and of first
// blocks, and the lockstep comparison of equally sized files. Every routine opens read-only and
// treats a failed or short read as a failure, never as agreement; CompareFileGroup can compare
// more files than may be open at once.

#include "search/crc32tab.h"

#include "platform/ContentFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <tuple>
#include <vector>

#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>
// Debian's library picks the widest vector unit of the CPU at run time.
#include <xxh_x86dispatch.h>

namespace pellmora {

namespace {

constexpr uint32_t CrcStart = 0xFFFFFFFF;
// Below this the read-ahead hint costs more than it saves.
constexpr int64_t SequentialHintSize = 16 * BlockSize;

// One block buffer for the checksums, never cleared: every byte used is read first.
unsigned char* ReadBuffer() {
    static const std::unique_ptr<unsigned char[]> buffer(new unsigned char[BlockSize]);
    return buffer.get();
}

// Beyond this many files a comparison opens the rest again for each block; the margin leaves
// room for the program's other open files.
size_t DefaultMaxOpenFiles() {
    const size_t limit = OpenFileLimit();
    return limit > 128 ? limit - 64 : limit / 2;
}

struct CompareEntry {
    ContentFile File;
    FileIdentity Identity;
    bool KeepOpen = false;
    int32_t Mark = 0;     // subgroup of this pass: 0 unmatched, -1 out of the race
    int32_t PrevMark = 0; // subgroup of the previous pass
    uint32_t BlockKey = 0;
};

// Reads equally sized files in lockstep, one block per pass, and splits every subgroup by the
// content of its latest block. A file is out of the race as soon as its block matches no other
// of its subgroup, a read fails, or a read returns another count than the size promises; the
// last pass also asks for one byte more, which a file of the right length does not have.
class GroupComparison {
  public:
    GroupComparison(const TFileCompareArr& files, int64_t size, size_t maxOpenFiles);
    // Returns the next subgroup number: 1 when no two files agreed.
    int32_t Pass();
    bool ReachedEnd() const { return length_ == 0; }
    int32_t SubGroup(size_t i) const { return std::max(entries_[i].Mark, 0); }

  private:
    unsigned char* Block(size_t i) { return buffers_.data() + i * bufferLength_; }
    bool InRace(size_t i) const { return entries_[i].Mark == 0 && entries_[i].PrevMark >= 0; }
    void Eliminate(size_t i);
    bool ReadBlock(size_t i);
    std::vector<size_t> FindLeaders();
    bool SameBlock(size_t a, size_t b);

    const TFileCompareArr& files_;
    int64_t size_;
    int64_t offset_ = 0;
    size_t length_ = 0; // bytes every file must yield in this pass
    size_t bufferLength_;
    std::vector<CompareEntry> entries_;
    std::vector<unsigned char> buffers_;
};

GroupComparison::GroupComparison(const TFileCompareArr& files, int64_t size, size_t maxOpenFiles)
    : files_(files), size_(std::max<int64_t>(size, 0)),
      bufferLength_(static_cast<size_t>(std::clamp<int64_t>(size_, 1, BlockSize))),
      entries_(files.size()), buffers_(files.size() * bufferLength_) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        CompareEntry& e = entries_[i];
        if (!e.File.Open(files[i].Path)) {
            e.Mark = e.PrevMark = -1;
            continue;
        }
        e.Identity = e.File.Identity();
        e.KeepOpen = i < maxOpenFiles;
        if (e.KeepOpen && size_ > SequentialHintSize)
            e.File.AdviseSequential();
        else if (!e.KeepOpen)
            e.File.Close();
    }
}

void GroupComparison::Eliminate(size_t i) {
    entries_[i].Mark = -1;
    entries_[i].File.Close();
}

bool GroupComparison::ReadBlock(size_t i) {
    CompareEntry& e = entries_[i];
    if (!e.File.IsOpen()) {
        // A path that now names another file is out, not compared in its place.
        if (!e.File.Open(files_[i].Path) || !(e.File.Identity() == e.Identity)) return false;
    }
    const size_t request = length_ > 0 ? length_ : 1;
    const int64_t n = e.File.ReadAt(Block(i), request, offset_);
    if (!e.KeepOpen) e.File.Close();
    if (n != static_cast<int64_t>(length_)) return false;
    e.BlockKey = CrcFold(CrcStart, Block(i), length_);
    return true;
}

bool GroupComparison::SameBlock(size_t a, size_t b) {
    return entries_[a].BlockKey == entries_[b].BlockKey &&
           std::memcmp(Block(a), Block(b), length_) == 0;
}

// For every file in the race, the first file of its subgroup with an equal block. The files
// are sorted by subgroup and block checksum, so that only likely equals are compared byte by
// byte; within a run of equal keys the earlier file leads, as in input order.
std::vector<size_t> GroupComparison::FindLeaders() {
    constexpr size_t None = static_cast<size_t>(-1);
    std::vector<size_t> order;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (InRace(i)) order.push_back(i);
    auto key = [&](size_t i) { return std::tuple(entries_[i].PrevMark, entries_[i].BlockKey); };
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return std::tuple(key(a), a) < std::tuple(key(b), b); });
    std::vector<size_t> leader(entries_.size(), None);
    for (size_t begin = 0, end = 0; begin < order.size(); begin = end) {
        end = begin + 1;
        while (end < order.size() && key(order[end]) == key(order[begin]))
            ++end;
        for (size_t k = begin; k < end; ++k) {
            if (leader[order[k]] != None) continue;
            leader[order[k]] = order[k];
            for (size_t l = k + 1; l < end; ++l)
                if (leader[order[l]] == None && SameBlock(order[k], order[l]))
                    leader[order[l]] = order[k];
        }
    }
    return leader;
}

int32_t GroupComparison::Pass() {
    length_ = static_cast<size_t>(std::min<int64_t>(BlockSize, size_ - offset_));
    for (size_t i = 0; i < entries_.size(); ++i) {
        CompareEntry& e = entries_[i];
        e.PrevMark = e.Mark;
        if (e.Mark < 0) continue;
        e.Mark = 0;
        if (!ReadBlock(i)) Eliminate(i);
    }
    const std::vector<size_t> leader = FindLeaders();
    std::vector<int32_t> members(entries_.size(), 0);
    for (size_t i = 0; i < entries_.size(); ++i)
        if (InRace(i)) ++members[leader[i]];
    int32_t next = 1;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (!InRace(i)) continue;
        if (members[leader[i]] < 2)
            Eliminate(i);
        else
            entries_[i].Mark = leader[i] == i ? next++ : entries_[leader[i]].Mark;
    }
    offset_ += static_cast<int64_t>(length_);
    return next;
}

} // namespace

ContentHasher::ContentHasher()
    : crc_(CrcStart),
      wide_(XXH3_createState(), [](XXH3_state_s* state) { XXH3_freeState(state); }) {
    if (!wide_) throw std::bad_alloc();
    XXH3_128bits_reset(wide_.get());
}

ContentHasher::~ContentHasher() = default;

void ContentHasher::Reset() {
    crc_ = CrcStart;
    XXH3_128bits_reset(wide_.get());
}

void ContentHasher::Update(const void* buffer, size_t length) {
    crc_ = CrcFold(crc_, buffer, length);
    XXH3_128bits_update(wide_.get(), buffer, length);
}

ContentDigest ContentHasher::Digest() const {
    const XXH128_hash_t wide = XXH3_128bits_digest(wide_.get());
    return {~crc_, wide.high64, wide.low64};
}

namespace {

void StartWitness(const ContentFile& file, ReadWitness* witness) {
    if (!witness) return;
    witness->Before = file.Stamp();
    witness->Steady = false;
    witness->StartedNs = WallClockNs();
}

// A second fstat after the read, asked for only where a witness is.
void EndWitness(const ContentFile& file, bool ok, ReadWitness* witness) {
    if (witness) witness->Steady = ok && file.Unchanged();
}

} // namespace

ContentDigest ReadFileDigest(const std::string& path, int64_t listedSize, unsigned char* buffer,
                             size_t chunk, const std::function<bool()>& goOn, bool& ok,
                             ReadWitness* witness) {
    ok = false;
    ContentHasher hasher;
    ContentFile file;
    if (!file.Open(path)) return hasher.Digest();
    StartWitness(file, witness);
    if (listedSize > SequentialHintSize) file.AdviseSequential();
    int64_t total = 0;
    for (;;) {
        const int64_t n = file.ReadAt(buffer, chunk, total);
        if (n < 0) return hasher.Digest();
        hasher.Update(buffer, static_cast<size_t>(n));
        total += n;
        if (!goOn()) return hasher.Digest(); // stopped: not a complete read
        // A short read is the end of the file. A file that grew beyond its listed size has
        // failed already; no need to read on.
        if (n < static_cast<int64_t>(chunk) || total > listedSize) break;
    }
    ok = total == listedSize;
    EndWitness(file, ok, witness);
    return hasher.Digest();
}

ContentDigest FileDigest(const std::string& path, int64_t listedSize,
                         const OperationControl& control, bool& ok, ReadWitness* witness) {
    const auto goOn = [&control] {
        control.Yield();
        return !control.StopRequested();
    };
    return ReadFileDigest(path, listedSize, ReadBuffer(), BlockSize, goOn, ok, witness);
}

std::vector<bool> DigestsShared(const std::vector<ContentDigest>& digests) {
    std::vector<size_t> order(digests.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const ContentDigest& x = digests[a];
        const ContentDigest& y = digests[b];
        return std::tie(x.High, x.Low, x.Crc) < std::tie(y.High, y.Low, y.Crc);
    });
    std::vector<bool> shared(digests.size(), false);
    for (size_t k = 1; k < order.size(); ++k)
        if (digests[order[k]] == digests[order[k - 1]])
            shared[order[k]] = shared[order[k - 1]] = true;
    return shared;
}

uint32_t FileCrc(const std::string& path, int64_t listedSize, const OperationControl& control,
                 bool& ok) {
    return FileDigest(path, listedSize, control, ok).Crc;
}

ContentDigest ReadFirstBlockDigest(const std::string& path, int64_t listedSize,
                                   unsigned char* buffer, bool& ok, bool* opened,
                                   ReadWitness* witness) {
    ok = false;
    ContentHasher hasher;
    ContentFile file;
    const bool isOpen = file.Open(path);
    if (opened) *opened = isOpen;
    if (!isOpen) return hasher.Digest();
    StartWitness(file, witness);
    const int64_t n = file.ReadAt(buffer, BlockSize, 0);
    if (n > 0) hasher.Update(buffer, static_cast<size_t>(n));
    ok = n == std::min<int64_t>(listedSize, BlockSize);
    EndWitness(file, ok, witness);
    return hasher.Digest();
}

ContentDigest FirstBlockDigest(const std::string& path, int64_t listedSize,
                               const OperationControl& control, bool& ok, ReadWitness* witness) {
    bool opened = false;
    ContentDigest digest =
        ReadFirstBlockDigest(path, listedSize, ReadBuffer(), ok, &opened, witness);
    if (!opened) return digest; // nothing was read: no block, no yield
    control.Yield();
    if (control.StopRequested()) digest.Crc = 1;
    return digest;
}

uint32_t FirstBlockCrc(const std::string& path, int64_t listedSize, const OperationControl& control,
                       bool& ok) {
    return FirstBlockDigest(path, listedSize, control, ok).Crc;
}

void CompareFileGroup(TFileCompareArr& files, int64_t size, const OperationControl& control) {
    CompareFileGroup(files, size, control, DefaultMaxOpenFiles());
}

void CompareFileGroup(TFileCompareArr& files, int64_t size, const OperationControl& control,
                      size_t maxOpenFiles) {
    GroupComparison comparison(files, size, maxOpenFiles);
    for (;;) {
        const int32_t next = comparison.Pass();
        control.Yield();
        if (control.StopRequested() || next == 1 || comparison.ReachedEnd()) break;
    }
    for (size_t i = 0; i < files.size(); ++i)
        files[i].SubGroup = comparison.SubGroup(i);
}

void RaiseOpenFileLimit() {
    RaiseOpenFileSoftLimit();
}

} // namespace pellmora
