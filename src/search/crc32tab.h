#pragma once
// Reading file contents: the CRC-32 (reflected IEEE 802.3, as in zip and PNG) and the
// byte-by-byte comparison of equally sized files. Files are only ever opened read-only.
// A file that cannot be opened, read to its end, or whose length differs from its listed size
// is reported as failed, so that it never joins a duplicate group.

#include "model/DuplicateTypes.h"
#include "model/OperationControl.h"
#include "platform/ContentDigest.h"
#include "platform/ContentFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct XXH3_state_s;

namespace pellmora {

constexpr int BlockSize = 65521;

extern const uint32_t CrcTable[256];

// Folds count bytes into crc (running value, not complemented). The count is 16-bit.
void UpdateCrc(const void* buffer, uint16_t count, uint32_t& crc);

// The same fold for any length, with the fastest code this CPU has.
uint32_t CrcFold(uint32_t crc, const void* buffer, size_t length);
// One byte at a time through the table: the reference the fast paths are tested against.
uint32_t CrcFoldTable(uint32_t crc, const void* buffer, size_t length);

// The implementations CrcFold chooses from, callable one by one for tests and benchmarks.
enum class CrcPath { Table, Slicing, Clmul, Clmul512 };
bool CrcPathAvailable(CrcPath path);
CrcPath FastestCrcPath();
// A path this CPU lacks falls back to Slicing.
uint32_t CrcFoldBy(CrcPath path, uint32_t crc, const void* buffer, size_t length);

// Both checksums of a stream of bytes, folded as the bytes arrive.
class ContentHasher {
  public:
    ContentHasher();
    ~ContentHasher();
    ContentHasher(const ContentHasher&) = delete;
    ContentHasher& operator=(const ContentHasher&) = delete;
    void Reset();
    void Update(const void* buffer, size_t length);
    ContentDigest Digest() const;

  private:
    uint32_t crc_;
    std::unique_ptr<XXH3_state_s, void (*)(XXH3_state_s*)> wide_;
};

// The reading under the two routines below, for a reader with a buffer of its own: the whole
// file in reads of chunk bytes, asking goOn after each (false ends the read, which is then not
// complete: ok is false). A witness, where given, learns what the read saw of the file.
ContentDigest ReadFileDigest(const std::string& path, int64_t listedSize, unsigned char* buffer,
                             size_t chunk, const std::function<bool()>& goOn, bool& ok,
                             ReadWitness* witness = nullptr);
// The first BlockSize bytes (buffer holds that many) in one read; opened tells whether the file
// could be opened at all.
ContentDigest ReadFirstBlockDigest(const std::string& path, int64_t listedSize,
                                   unsigned char* buffer, bool& ok, bool* opened = nullptr,
                                   ReadWitness* witness = nullptr);

// For each digest, whether another one in the list equals it: the files that may have a copy.
std::vector<bool> DigestsShared(const std::vector<ContentDigest>& digests);

// Both checksums of the whole file; it yields after every block, and a stop request ends the
// read. ok is false when the file could not be opened or read, or its length is not listedSize.
ContentDigest FileDigest(const std::string& path, int64_t listedSize,
                         const OperationControl& control, bool& ok, ReadWitness* witness = nullptr);
uint32_t FileCrc(const std::string& path, int64_t listedSize, const OperationControl& control,
                 bool& ok);

// Both checksums of the first BlockSize bytes (the whole file when shorter); the CRC-32 is 1
// after a stop request.
ContentDigest FirstBlockDigest(const std::string& path, int64_t listedSize,
                               const OperationControl& control, bool& ok,
                               ReadWitness* witness = nullptr);
uint32_t FirstBlockCrc(const std::string& path, int64_t listedSize, const OperationControl& control,
                       bool& ok);

// Splits files of one size into subgroups of identical content: SubGroup 1, 2, ... in the
// order of each subgroup's first file, 0 for a file that equals no other. It yields after
// every pass; a stop request ends the passes.
void CompareFileGroup(TFileCompareArr& files, int64_t size, const OperationControl& control);
// The same, holding at most maxOpenFiles files open between passes; the others are opened
// again for each block. The subgroups do not depend on maxOpenFiles.
void CompareFileGroup(TFileCompareArr& files, int64_t size, const OperationControl& control,
                      size_t maxOpenFiles);

// Raises the soft limit on open files to the hard one (once, at start-up).
void RaiseOpenFileLimit();

} // namespace pellmora
