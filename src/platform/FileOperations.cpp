#include "platform/FileOperations.h"

#include "platform/ExtendedAttributes.h"
#include "platform/FreeName.h"
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

int SyncFolder(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    // Some file systems cannot sync a folder; the data itself is synced already.
    return error == EINVAL ? 0 : error;
}

// Copies [offset, end) or up to the end of the file, whichever comes first.
int CopyRange(int from, int to, off_t offset, off_t end, std::vector<char>& buffer) {
    if (lseek(from, offset, SEEK_SET) < 0 || lseek(to, offset, SEEK_SET) < 0) return errno;
    while (offset < end) {
        const auto want = static_cast<size_t>(std::min<off_t>(end - offset, buffer.size()));
        const ssize_t got = read(from, buffer.data(), want);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        if (const int error = WriteWhole(to, buffer.data(), static_cast<size_t>(got))) return error;
        offset += got;
    }
    return 0;
}

// Only the data regions are copied and the length is set at the end, so the holes of a sparse
// file stay holes, as mv keeps them. Where the file system cannot tell its holes, every byte is
// copied.
int CopyContent(int from, int to) {
    std::vector<char> buffer(1 << 20);
    constexpr off_t wholeFile = std::numeric_limits<off_t>::max();
    for (off_t offset = 0;;) {
        const off_t data = lseek(from, offset, SEEK_DATA);
        if (data < 0 && errno == ENXIO) break; // nothing but a hole is left
        if (data < 0 && offset == 0 && (errno == EINVAL || errno == ENOTSUP))
            return CopyRange(from, to, 0, wholeFile, buffer);
        if (data < 0) return errno;
        const off_t hole = lseek(from, data, SEEK_HOLE);
        if (hole < 0) return errno;
        if (const int error = CopyRange(from, to, data, hole, buffer)) return error;
        offset = hole;
    }
    const off_t end = lseek(from, 0, SEEK_END);
    if (end < 0) return errno;
    return ftruncate(to, end) == 0 ? 0 : errno;
}

// The copy's data, attributes, owner, mode and times, synced; the descriptor is closed either way.
int FillCopy(int source, const struct stat& st, int copy) {
    int error = CopyContent(source, copy);
    // Only root may give the copy the source's owner; for anyone else it is theirs anyway. The
    // owner goes first because a change of owner clears the set-id bits and security.capability.
    if (!error && geteuid() == 0 && fchown(copy, st.st_uid, st.st_gid) != 0) error = errno;
    if (!error) error = CopyExtendedAttributes(source, copy, AttributeSet::Plain);
    if (!error && fchmod(copy, st.st_mode & 07777) != 0) error = errno;
    // A mode rewrites the mask entry of an ACL; the source's ACL, set last, agrees with its mode.
    if (!error) error = CopyExtendedAttributes(source, copy, AttributeSet::Acls);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (!error && futimens(copy, times) != 0) error = errno;
    if (!error && fsync(copy) != 0) error = errno;
    if (close(copy) != 0 && !error) error = errno;
    return error;
}

// A new, empty file beside the copy's final place, which nobody else has opened.
int CreateScratch(const std::string& directory, std::string& scratch) {
    std::string pattern = directory + ".pellmora-move-XXXXXX";
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) scratch = pattern;
    return fd;
}

// Across file systems: the copy is complete and synced under its final name before the source
// goes, and any failure on the way leaves the source as it was and no copy behind.
FileOpResult CopyThenRemove(const std::string& path, const std::string& directory) {
    // O_NONBLOCK: a FIFO put in the file's place must not stall the open.
    const int source = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (source < 0) return {errno, ""};
    struct stat st {};
    const int statError = fstat(source, &st) == 0 ? 0 : errno;
    if (statError || !S_ISREG(st.st_mode)) {
        close(source);
        return {statError ? statError : EXDEV, ""};
    }
    std::string scratch;
    const int copy = CreateScratch(directory, scratch);
    if (copy < 0) {
        const int error = errno;
        close(source);
        return {error, ""};
    }
    int error = FillCopy(source, st, copy);
    close(source);
    std::string chosen;
    if (!error)
        error = PlaceUnderFreeName(
            NameOf(path), 0,
            [&](const std::string& candidate) {
                return RenameNoReplace(scratch, directory + candidate);
            },
            chosen);
    if (error) {
        unlink(scratch.c_str());
        return {error, ""};
    }
    const std::string target = directory + chosen;
    if (!error) error = SyncFolder(directory);
    if (!error && unlink(path.c_str()) != 0) error = errno;
    if (error) {
        unlink(target.c_str());
        return {error, ""};
    }
    return {0, target};
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
