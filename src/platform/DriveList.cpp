#include "platform/DriveList.h"

#include "platform/MountTable.h"

#include <QFile>
#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <dirent.h>
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

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

bool StartsWith(const std::string& s, std::string_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool IsDotName(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// An entry counts as a folder when it is one or links to one.
bool EntryIsDirectory(int dirFd, const dirent* entry) {
    if (entry->d_type == DT_DIR) return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) return false;
    struct stat st {};
    return fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

// Calls visit for every subfolder name until it returns false.
void ForEachSubfolder(const std::string& path, const std::function<bool(const char*)>& visit) {
    DIR* dir = opendir(path.c_str());
    if (!dir) return;
    const int fd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        if (IsDotName(entry->d_name) || !EntryIsDirectory(fd, entry)) continue;
        if (!visit(entry->d_name)) break;
    }
    closedir(dir);
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
    ForEachSubfolder(path, [&](const char* name) {
        names.emplace_back(name);
        return true;
    });
    return static_cast<int>(names.size());
}

bool HasSubfolder(const std::string& path) {
    bool found = false;
    ForEachSubfolder(path, [&](const char*) {
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
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    close(fd);
    return true;
}

} // namespace pellmora
