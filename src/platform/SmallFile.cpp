#include "platform/SmallFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

namespace {

struct Descriptor {
    int fd = -1;
    explicit Descriptor(int f) : fd(f) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
};

std::string ParentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the missing folders above path, the way a configuration folder is made.
int MakeParents(const std::string& path) {
    const std::string parent = ParentOf(path);
    struct stat st {};
    if (::stat(parent.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT || parent == path) return errno;
    if (const int error = MakeParents(parent)) return error;
    if (::mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    return 0;
}

// A link is written through: the file it points at is the one the user keeps.
std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path;
}

int WriteAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        data += n;
        left -= n;
    }
    return 0;
}

// A fresh file beside target, created exclusively (permission bits from the umask).
int CreateTemporary(const std::string& target, std::string& name) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ParentOf(target) + "/.pellmora-" + std::to_string(random() % 1000000000u) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

int SyncFolder(const std::string& path) {
    Descriptor dir(::open(ParentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0) return errno;
    return ::fsync(dir.fd) == 0 ? 0 : errno;
}

int FillTemporary(int fd, const std::string& target, const QByteArray& bytes) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        if (::fchmod(fd, st.st_mode & 07777) != 0) return errno;
    }
    if (const int error = WriteAll(fd, bytes)) return error;
    return ::fsync(fd) == 0 ? 0 : errno;
}

} // namespace

std::optional<QByteArray> ReadSmallFile(const std::string& path, qint64 limit) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > limit)
        return std::nullopt;
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return bytes;
        if (bytes.size() + n > limit) return std::nullopt; // grew while read
        bytes.append(buffer, n);
    }
}

bool SmallFileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int ReplaceSmallFile(const std::string& path, const QByteArray& bytes) {
    const std::string target = ResolvedTarget(path);
    if (const int error = MakeParents(target)) return error;
    std::string temporary;
    Descriptor file(CreateTemporary(target, temporary));
    if (file.fd < 0) return errno;
    int error = FillTemporary(file.fd, target, bytes);
    if (::close(file.fd) != 0 && error == 0) error = errno;
    file.fd = -1;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncFolder(target);
    return 0;
}

} // namespace pellmora
