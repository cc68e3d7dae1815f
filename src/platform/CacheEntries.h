#pragma once
// The stored form of the checksum store's entries. All entries of one size share a row, as one
// string of fixed-size records sorted by path hash and kind, so that a search, which asks for
// its runs of equal size one after the other, reads and writes the store a row per run rather
// than a row per file. Every record carries the whole key (the full path hash, device, inode and
// both times), so two files are never taken for each other.

#include "platform/ContentDigest.h"
#include "platform/SqliteStatement.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pellmora {

struct StoredEntry {
    uint64_t PathHash = 0;
    bool Whole = false; // the whole file's digest, not the first block's
    uint64_t Device = 0, Inode = 0;
    int64_t ModTimeNs = 0, ChangeTimeNs = 0;
    ContentDigest Digest;
    int32_t UsedDay = 0; // days since the epoch
    bool SameSlot(const StoredEntry& other) const {
        return PathHash == other.PathHash && Whole == other.Whole;
    }
    bool SameFile(const StoredEntry& other) const {
        return PathHash == other.PathHash && Device == other.Device && Inode == other.Inode &&
               ModTimeNs == other.ModTimeNs && ChangeTimeNs == other.ChangeTimeNs;
    }
};

// The row of a size: larger sizes get smaller keys, so the table grows at its end as a search,
// which meets the larger sizes first, writes.
int64_t RowKeyOfSize(int64_t size);

// False when the bytes are not a whole number of records (a damaged row).
bool DecodeEntries(const void* bytes, size_t length, std::vector<StoredEntry>& entries);
// The entries must be sorted by path hash and kind.
void EncodeEntries(const std::vector<StoredEntry>& entries, std::string& bytes);
bool EntryOrder(const StoredEntry& a, const StoredEntry& b);

// The statement that reads a size's row, for ReadSizeRow.
constexpr const char* SelectSizeRow = "SELECT entries FROM digests WHERE key = ?";
// The entries stored for size (none when it has no row), through a statement of SelectSizeRow;
// false when the row cannot be read or is damaged.
bool ReadSizeRow(const Statement& select, int64_t size, std::vector<StoredEntry>& entries) noexcept;

} // namespace pellmora
