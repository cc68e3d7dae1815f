#pragma once
// The local volumes and folders that the directory picker offers. Paths are native bytes.

#include <string>
#include <vector>

namespace pellmora {

enum class DriveKind { HardDisk, Removable };

struct DriveEntry {
    std::string MountPath; // ends in "/"
    DriveKind Kind = DriveKind::HardDisk;
    bool Ready = false; // its root can be opened
};

// "/" first, then every other mounted local file system in mount-table order, each once;
// kernel virtual and network file systems are left out.
std::vector<DriveEntry> ListDrives();

bool IsNetworkFileSystemType(const std::string& type);

// The subfolders of path (links to folders included, "." and ".." not) in the order the file
// system lists them; returns their number. A folder that cannot be listed gives none.
int ListSubfolders(const std::string& path, std::vector<std::string>& names);

// Whether the folder has at least one subfolder; stops at the first one found.
bool HasSubfolder(const std::string& path);

bool DirectoryIsPresent(const std::string& path);
bool DirectoryCanBeOpened(const std::string& path);
// 0 when the folder (a link to one followed) can be opened for listing, else the errno: ENOENT,
// ENOTDIR for a file, EACCES, ...
int DirectoryOpenError(const std::string& path);

} // namespace pellmora
