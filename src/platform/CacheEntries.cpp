#include "platform/CacheEntries.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <tuple>

namespace pellmora {

namespace {

// Path hash, device, inode, both times, CRC-32, XXH3-128, day, kind; little-endian.
constexpr size_t EntryBytes = 8 * 5 + 4 + 16 + 4 + 1;

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

uint64_t Get(const unsigned char*& in, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint64_t>(*in++) << (8 * i);
    return value;
}

} // namespace

int64_t RowKeyOfSize(int64_t size) {
    return std::numeric_limits<int64_t>::max() - std::max<int64_t>(size, 0);
}

bool EntryOrder(const StoredEntry& a, const StoredEntry& b) {
    return std::tie(a.PathHash, a.Whole) < std::tie(b.PathHash, b.Whole);
}

bool DecodeEntries(const void* bytes, size_t length, std::vector<StoredEntry>& entries) {
    entries.clear();
    if (length % EntryBytes != 0) return false;
    entries.reserve(length / EntryBytes);
    const auto* in = static_cast<const unsigned char*>(bytes);
    for (size_t n = length / EntryBytes; n > 0; --n) {
        StoredEntry& e = entries.emplace_back();
        e.PathHash = Get(in, 8);
        e.Device = Get(in, 8);
        e.Inode = Get(in, 8);
        e.ModTimeNs = static_cast<int64_t>(Get(in, 8));
        e.ChangeTimeNs = static_cast<int64_t>(Get(in, 8));
        e.Digest.Crc = static_cast<uint32_t>(Get(in, 4));
        e.Digest.High = Get(in, 8);
        e.Digest.Low = Get(in, 8);
        e.UsedDay = static_cast<int32_t>(Get(in, 4));
        e.Whole = Get(in, 1) != 0;
    }
    return true;
}

bool ReadSizeRow(const Statement& select, int64_t size,
                 std::vector<StoredEntry>& entries) noexcept {
    sqlite3_stmt* s = *select;
    sqlite3_bind_int64(s, 1, RowKeyOfSize(size));
    const int rc = sqlite3_step(s);
    bool ok = rc == SQLITE_DONE;
    try {
        if (rc == SQLITE_DONE)
            entries.clear();
        else if (rc == SQLITE_ROW)
            ok = DecodeEntries(sqlite3_column_blob(s, 0),
                               static_cast<size_t>(sqlite3_column_bytes(s, 0)), entries);
    } catch (...) {
        ok = false;
    }
    sqlite3_reset(s);
    return ok;
}

void EncodeEntries(const std::vector<StoredEntry>& entries, std::string& bytes) {
    bytes.clear();
    bytes.reserve(entries.size() * EntryBytes);
    for (const StoredEntry& e : entries) {
        Put(bytes, e.PathHash, 8);
        Put(bytes, e.Device, 8);
        Put(bytes, e.Inode, 8);
        Put(bytes, static_cast<uint64_t>(e.ModTimeNs), 8);
        Put(bytes, static_cast<uint64_t>(e.ChangeTimeNs), 8);
        Put(bytes, e.Digest.Crc, 4);
        Put(bytes, e.Digest.High, 8);
        Put(bytes, e.Digest.Low, 8);
        Put(bytes, static_cast<uint32_t>(e.UsedDay), 4);
        Put(bytes, e.Whole ? 1 : 0, 1);
    }
}

} // namespace pellmora
