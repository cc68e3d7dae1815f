#include "platform/SharedData.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pellmora {

namespace {

class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::string& path)
        : fd_(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)),
          error_(fd_ < 0 ? errno : 0) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0) close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    int Fd() const { return fd_; }
    int Error() const { return error_; }

  private:
    int fd_;
    int error_;
};

// The size of a regular file, or -1 with errno set.
int64_t RegularSize(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return -1;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    return st.st_size;
}

// One FIDEDUPERANGE call; the bytes shared, or a failure.
ShareResult ShareRange(int from, int into, int64_t offset, int64_t length, int64_t& shared) {
    std::vector<char> buffer(sizeof(file_dedupe_range) + sizeof(file_dedupe_range_info));
    auto* range = reinterpret_cast<file_dedupe_range*>(buffer.data());
    range->src_offset = static_cast<uint64_t>(offset);
    range->src_length = static_cast<uint64_t>(length);
    range->dest_count = 1;
    range->info[0].dest_fd = into;
    range->info[0].dest_offset = static_cast<uint64_t>(offset);
    if (ioctl(from, FIDEDUPERANGE, range) != 0) return {errno, false};
    const file_dedupe_range_info& info = range->info[0];
    if (info.status == FILE_DEDUPE_RANGE_DIFFERS) return {0, true};
    if (info.status < 0) return {-info.status, false};
    // A call that shares nothing would loop for ever.
    if (info.bytes_deduped == 0) return {EIO, false};
    shared = static_cast<int64_t>(info.bytes_deduped);
    return {};
}

} // namespace

ShareResult ShareDataFrom(const std::string& kept, const std::string& target, int64_t chunk) {
    const ReadOnlyFile from(kept);
    if (from.Error()) return {from.Error(), false};
    const ReadOnlyFile into(target);
    if (into.Error()) return {into.Error(), false};
    return ShareDataBetween(from.Fd(), into.Fd(), chunk);
}

ShareResult ShareDataBetween(int kept, int target, int64_t chunk) {
    const int64_t size = RegularSize(kept);
    if (size < 0) return {errno, false};
    const int64_t targetSize = RegularSize(target);
    if (targetSize < 0) return {errno, false};
    if (targetSize != size) return {0, true};
    for (int64_t offset = 0; offset < size;) {
        int64_t shared = 0;
        const ShareResult result =
            ShareRange(kept, target, offset, std::min(chunk, size - offset), shared);
        if (!result.Ok()) return result;
        offset += shared;
    }
    return {};
}

} // namespace pellmora
