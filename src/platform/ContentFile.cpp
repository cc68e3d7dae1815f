#include "platform/ContentFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace pellmora {

namespace {

// Beyond this the kernel refuses a soft limit even when the hard one is unlimited.
constexpr rlim_t UnlimitedFallback = 1 << 20;

std::atomic<uint64_t> opens{0};

} // namespace

OpenedFile OpenRegularFile(const std::string& path) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below anyway, and on a
    // regular file the flag changes nothing, so it is not cleared (a system call per file).
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {-1, errno, false, {}};
    const std::optional<FileStamp> stamp = ReadDescriptorStamp(fd);
    if (!stamp) {
        const int error = errno;
        close(fd);
        return {-1, error, false, {}};
    }
    if (!stamp->IsRegular) {
        close(fd);
        return {-1, 0, true, {}};
    }
    return {fd, 0, false, *stamp};
}

std::string SystemErrorText(int error) {
    char buffer[256] = {};
    // The GNU strerror_r may return a static text instead of filling the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

ContentFile::ContentFile(ContentFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), stamp_(other.stamp_) {}

ContentFile& ContentFile::operator=(ContentFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        stamp_ = other.stamp_;
    }
    return *this;
}

bool ContentFile::Open(const std::string& path) {
    Close();
    opens.fetch_add(1, std::memory_order_relaxed);
    const OpenedFile opened = OpenRegularFile(path);
    fd_ = opened.Descriptor;
    stamp_ = opened.Stamp;
    return fd_ >= 0;
}

bool ContentFile::Unchanged() const {
    const std::optional<FileStamp> now = fd_ >= 0 ? ReadDescriptorStamp(fd_) : std::nullopt;
    return now && static_cast<const FileVersion&>(*now) == stamp_;
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
    // A regular file reads short only at its end, so one read answers; asking again would
    // cost a system call per file just to be told so.
    for (;;) {
        const ssize_t n = pread(fd_, buffer, count, static_cast<off_t>(offset));
        if (n >= 0) return static_cast<int64_t>(n);
        if (errno != EINTR) return -1;
    }
}

uint64_t ContentFileOpens() {
    return opens.load(std::memory_order_relaxed);
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
