#include "platform/SmallFile.h"

#include "platform/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
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
    // The parents of a link's target exist already, so making the link's own is enough.
    if (const int error = MakeParents(path)) return error;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return WriteFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace pellmora
