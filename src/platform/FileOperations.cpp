#include "platform/FileOperations.h"

#include "platform/FreeName.h"
#include "platform/MoveAcross.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pellmora {

namespace {

std::string WithSlash(const std::string& directory) {
    return !directory.empty() && directory.back() == '/' ? directory : directory + "/";
}

FileOpResult RenameToFreeName(const std::string& path, const std::string& directory,
                              const std::string& name) {
    std::string chosen;
    const int error = PlaceUnderFreeName(
        name, 0,
        [&](const std::string& candidate) { return RenameNoReplace(path, directory + candidate); },
        chosen);
    return {error, error ? "" : directory + chosen};
}

// Both name the same folder, however they are spelled.
bool SameFolder(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool EntryExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

} // namespace

int WriteWhole(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return 0;
}

int RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems (or kernels) without RENAME_NOREPLACE: a hard link fails just as atomically on
    // a taken name.
    if (link(from.c_str(), to.c_str()) != 0) return errno;
    if (unlink(from.c_str()) != 0) {
        const int error = errno;
        unlink(to.c_str());
        return error;
    }
    return 0;
}

FileOpResult MoveIntoDirectory(const std::string& path, const std::string& directory) {
    const std::string folder = WithSlash(directory);
    // A file already in that folder is where it should be; it is not renamed to "name (2)".
    if (SameFolder(FolderOf(path), folder) && EntryExists(path)) return {0, path};
    FileOpResult result = RenameToFreeName(path, folder, NameOf(path));
    if (result.Error == EXDEV) result = CopyThenRemove(path, folder);
    return result;
}

FileOpResult RenameInPlace(const std::string& path, const std::string& newName) {
    if (newName.empty() || newName.find('/') != std::string::npos || newName == "." ||
        newName == "..")
        return {EINVAL, ""};
    if (newName == NameOf(path) && EntryExists(path)) return {0, path};
    return RenameToFreeName(path, FolderOf(path), newName);
}

// The presence tests follow links, as the search does when it walks into a linked folder.
bool FileIsPresent(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// DirectoryIsPresent is defined with the drive list, which declares it too.

} // namespace pellmora
