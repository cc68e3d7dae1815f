#pragma once
// The file system type of each mounted device, from the kernel's mount table, so that the walk
// can keep out of kernel virtual file systems (statfs cannot tell devtmpfs from tmpfs); and the
// mount points, so that the trash can find the top folder of the mount a file lives on.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pellmora {

class MountTable {
  public:
    // Parses the text of /proc/self/mountinfo; malformed lines are passed over.
    static MountTable Parse(std::string_view mountinfo);
    // The current process's table; empty when it cannot be read.
    static MountTable ReadCurrent();

    // The type of the file system on device (st_dev), or nullptr when it is not listed.
    const std::string* TypeOf(uint64_t device) const;

    // The deepest mount point that contains absolutePath (a path without "." or ".." parts and
    // without links in it), or "/" when none is listed.
    std::string MountPointContaining(std::string_view absolutePath) const;

    // Every place where device is mounted, in table order.
    std::vector<std::string> MountPointsOf(uint64_t device) const;

    struct MountPoint {
        std::string Path;
        uint64_t Device = 0;
    };

  private:
    std::unordered_map<uint64_t, std::string> types_;
    std::vector<MountPoint> mountPoints_;
};

// proc, sysfs, devtmpfs and the other file systems whose "files" are the kernel's, not data.
bool IsVirtualFileSystemType(std::string_view type);

// File systems whose status-change time only the kernel sets, so that a rewrite that puts the
// old modification time back still moves it. On FAT, exFAT, NTFS through FUSE and other foreign
// file systems it is the modification time, or whatever the driver says.
bool KeepsChangeTime(std::string_view type);

// Answers whether the file system on one device after another has a type of which holds is
// true, consulting the table only when the device changes, and reading it again for a device it
// lacks (a file system mounted during the walk). A device the table does not list has none.
class FileSystemTypeCheck {
  public:
    using Predicate = bool (*)(std::string_view type);
    explicit FileSystemTypeCheck(Predicate holds) : holds_(holds) {}
    bool Holds(uint64_t device);

  private:
    Predicate holds_;
    std::optional<MountTable> table_;
    std::unordered_map<uint64_t, bool> verdicts_;
    std::optional<uint64_t> lastDevice_;
    bool lastVerdict_ = false;
};

class VirtualFileSystemCheck {
  public:
    bool IsVirtual(uint64_t device) { return check_.Holds(device); }

  private:
    FileSystemTypeCheck check_{IsVirtualFileSystemType};
};

} // namespace pellmora
