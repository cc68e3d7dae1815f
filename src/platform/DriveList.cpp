#include "platform/DriveList.h"

#include "platform/DirectoryListing.h"
#include "platform/MountTable.h"

#include <QFile>
#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

namespace {

template <size_t N>
bool Contains(const std::array<std::string_view, N>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

bool StartsWith(const std::string& s, std::string_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// Calls visit for every subfolder name, in listing order, until it returns false.
void ForEachSubfolder(const std::string& path, const std::function<bool(std::string_view)>& visit) {
    DirectoryListing listing;
    if (!listing.Open(path)) return;
    listing.ReadEntries();
    for (const uint32_t i : listing.FindSubfolders())
        if (!visit(listing.Name(i))) break;
}

DriveEntry MakeDrive(const std::string& mountPath) {
    DriveEntry drive;
    drive.MountPath = WithSlash(mountPath);
    const bool removable =
        StartsWith(drive.MountPath, "/media/") || StartsWith(drive.MountPath, "/run/media/");
    drive.Kind = removable ? DriveKind::Removable : DriveKind::HardDisk;
    drive.Ready = DirectoryCanBeOpened(drive.MountPath);
    return drive;
}

} // namespace

bool IsNetworkFileSystemType(const std::string& type) {
    static constexpr std::array<std::string_view, 14> kNetwork = {
        "nfs", "nfs4", "cifs", "smb3",      "smbfs",          "sshfs", "fuse.sshfs",
        "9p",  "afs",  "ceph", "glusterfs", "fuse.glusterfs", "davfs", "fuse.rclone"};
    return Contains(kNetwork, type);
}

std::vector<DriveEntry> ListDrives() {
    std::vector<DriveEntry> drives{MakeDrive("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const std::string type = volume.fileSystemType().toStdString();
        if (!volume.isValid() || IsVirtualFileSystemType(type) || IsNetworkFileSystemType(type))
            continue;
        const std::string path = WithSlash(QFile::encodeName(volume.rootPath()).toStdString());
        const bool known = std::any_of(drives.begin(), drives.end(),
                                       [&](const DriveEntry& d) { return d.MountPath == path; });
        if (!known) drives.push_back(MakeDrive(path));
    }
    return drives;
}

int ListSubfolders(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    ForEachSubfolder(path, [&](std::string_view name) {
        names.emplace_back(name);
        return true;
    });
    return static_cast<int>(names.size());
}

bool HasSubfolder(const std::string& path) {
    bool found = false;
    ForEachSubfolder(path, [&](std::string_view) {
        found = true;
        return false;
    });
    return found;
}

bool DirectoryIsPresent(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DirectoryCanBeOpened(const std::string& path) {
    return DirectoryOpenError(path) == 0;
}

int DirectoryOpenError(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    close(fd);
    return 0;
}

} // namespace pellmora
