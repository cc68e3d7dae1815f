#include "platform/ContentFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pellmora {

namespace {

// Beyond this the kernel refuses a soft limit even when the hard one is unlimited.
constexpr rlim_t UnlimitedFallback = 1 << 20;

} // namespace

ContentFile::ContentFile(ContentFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), identity_(other.identity_) {}

ContentFile& ContentFile::operator=(ContentFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        identity_ = other.identity_;
    }
    return *this;
}

bool ContentFile::Open(const std::string& path) {
    Close();
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below anyway.
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    identity_ = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
    return true;
}

void ContentFile::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void ContentFile::AdviseSequential() const {
    if (fd_ >= 0) posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

int64_t ContentFile::ReadAt(void* buffer, size_t count, int64_t offset) const {
    if (fd_ < 0) return -1;
    auto* bytes = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = pread(fd_, bytes + done, count - done, static_cast<off_t>(offset) + done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

size_t OpenFileLimit() {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
    if (limit.rlim_cur == RLIM_INFINITY) return UnlimitedFallback;
    return static_cast<size_t>(limit.rlim_cur);
}

void RaiseOpenFileSoftLimit() {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max) return;
    const rlim_t wanted = limit.rlim_max;
    limit.rlim_cur = wanted;
    if (setrlimit(RLIMIT_NOFILE, &limit) == 0 || wanted != RLIM_INFINITY) return;
    limit.rlim_cur = UnlimitedFallback;
    setrlimit(RLIMIT_NOFILE, &limit);
}

} // namespace pellmora
