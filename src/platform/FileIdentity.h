#pragma once
// A folder or a file as the file system knows it, whatever path reached it: tells whether a
// path opened again is still the same file, and whether a walk has been somewhere before.

#include <cstddef>
#include <cstdint>

namespace pellmora {

struct FileIdentity {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileIdentityHash {
    size_t operator()(const FileIdentity& id) const noexcept {
        return static_cast<size_t>(id.Inode * 0x9E3779B97F4A7C15ull ^ id.Device);
    }
};

// A file as it was at one moment: the same inode with the same size, modification time and
// status-change time. The status-change time catches what the other four miss: a rewrite in
// place that put the old modification time back, a new name, new permissions.
struct FileVersion {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t Size = 0;
    int64_t ModTimeNs = 0;    // nanoseconds since the epoch
    int64_t ChangeTimeNs = 0; // the same
    bool operator==(const FileVersion&) const = default;
    FileIdentity Identity() const { return {Device, Inode}; }
};

} // namespace pellmora
