#pragma once
// Lets a file share the data of a kept copy on file systems with shared extents (Btrfs, XFS,
// ...), in place: the kernel compares the bytes and shares the extents only where they are
// equal. The file keeps its inode, name, owner, mode, times and attributes and is never
// rewritten; a later write to either file copies the blocks it changes.

#include <cstdint>
#include <string>

namespace pellmora {

struct ShareResult {
    int Error = 0;        // errno of the call that failed; 0 otherwise
    bool Differs = false; // the kernel found a range whose bytes differ
    bool Ok() const { return Error == 0 && !Differs; }
};

// Each call shares at most this much; some file systems take no more at once.
constexpr int64_t ShareChunkBytes = 16 << 20;

// Shares kept's data into target, chunk by chunk, and stops at the first chunk that fails. The
// chunks shared before it stay shared: their bytes were equal, so that is a correct state. Both
// files are opened read-only; the kernel lets the owner (or root) share into a file so opened.
ShareResult ShareDataFrom(const std::string& kept, const std::string& target,
                          int64_t chunk = ShareChunkBytes);
// The same between two files open already (read-only is enough).
ShareResult ShareDataBetween(int kept, int target, int64_t chunk = ShareChunkBytes);

} // namespace pellmora
