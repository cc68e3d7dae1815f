#include "platform/AtomicFile.h"

#include "platform/PathText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

namespace {

// Writing through a link keeps the link, as writing the file in place would.
std::string ResolvedTarget(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string resolved = real;
    std::free(real);
    return resolved;
}

// A short name of its own, so that a target name near the length limit still gets a partner.
int CreateTemporary(const std::string& folder, mode_t mode, std::string& name) {
    static std::mt19937 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + ".pellmora-" + std::to_string(generator() % 1000000000u) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

int FillAndClose(int fd, std::string_view bytes, mode_t keptMode) {
    int error = WriteAll(fd, bytes);
    // The umask applied at creation; an existing file's bits are set explicitly.
    if (!error && keptMode != 0 && fchmod(fd, keptMode) != 0) error = errno;
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    return error;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

} // namespace

int WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string target = ResolvedTarget(path);
    const std::string folder = FolderOf(target);
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return EISDIR;
    const mode_t keptMode = exists ? (existing.st_mode & 07777) : 0;

    std::string temporary;
    const int fd = CreateTemporary(folder, 0666, temporary);
    if (fd < 0) return errno;
    int error = FillAndClose(fd, bytes, keptMode);
    if (!error && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        unlink(temporary.c_str());
        return error;
    }
    SyncFolder(folder);
    return 0;
}

} // namespace pellmora
