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

} // namespace pellmora
