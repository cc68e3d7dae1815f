#include "platform/PinnedFile.h"

#include "platform/ExtendedAttributes.h"
#include "platform/PathText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace pellmora {

static_assert(ChangedSinceListed == ESTALE);

namespace {

// Large enough that a read costs little beside its bytes, small enough for the L2 cache.
constexpr size_t CompareChunk = 256 << 10;

// Reads up to count bytes at offset; fewer only at the end of the file.
ssize_t ReadFull(int fd, char* buffer, size_t count, off_t offset) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = pread(fd, buffer + done, count - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

} // namespace

int OpenFolderOf(const std::string& path) {
    return open(FolderOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

int LinkDescriptorAt(int fd, int folder, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

PinnedFile::PinnedFile(const std::string& path, const FileVersion& listed) : path_(path) {
    // O_NONBLOCK: a FIFO put in the file's place must not stall the open.
    fd_ = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    const std::optional<FileStamp> stamp = ReadDescriptorStamp(fd_);
    if (!stamp) {
        error_ = errno;
        return;
    }
    stamp_ = *stamp;
    pinned_ = stamp_.IsRegular && static_cast<const FileVersion&>(stamp_) == listed;
    if (!pinned_) error_ = ChangedSinceListed;
}

PinnedFile::~PinnedFile() {
    if (fd_ >= 0) close(fd_);
}

PinnedFile::PinnedFile(PinnedFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), error_(other.error_),
      pinned_(std::exchange(other.pinned_, false)), stamp_(other.stamp_) {}

bool PinnedFile::StillUnchanged() const {
    if (!pinned_) return false;
    const std::optional<FileStamp> now = ReadDescriptorStamp(fd_);
    return now && static_cast<const FileVersion&>(*now) == stamp_;
}

bool PinnedFile::StillAtItsPath() const {
    const std::optional<FileStamp> there = ReadFileStamp(path_);
    return pinned_ && there && there->Identity() == stamp_.Identity();
}

bool PinnedFile::AcceptOwnChange() {
    const std::optional<FileStamp> now = ReadDescriptorStamp(fd_);
    if (!pinned_ || !now || now->Size != stamp_.Size || now->ModTimeNs != stamp_.ModTimeNs)
        return false;
    stamp_ = *now;
    return true;
}

int PinnedFile::MakeOwnerWritable() {
    if (!pinned_) return ChangedSinceListed;
    if (stamp_.Mode & S_IWUSR) return 0;
    if (fchmod(fd_, stamp_.Mode | S_IWUSR) != 0) return errno;
    return AcceptOwnChange() ? 0 : ChangedSinceListed;
}

int CompareContents(const PinnedFile& a, const PinnedFile& b, bool& equal) {
    equal = false;
    if (a.Stamp().Size != b.Stamp().Size) return 0;
    static thread_local std::vector<char> left(CompareChunk), right(CompareChunk);
    for (off_t offset = 0;; offset += static_cast<off_t>(CompareChunk)) {
        const ssize_t x = ReadFull(a.Fd(), left.data(), CompareChunk, offset);
        if (x < 0) return errno;
        const ssize_t y = ReadFull(b.Fd(), right.data(), CompareChunk, offset);
        if (y < 0) return errno;
        if (x != y || std::memcmp(left.data(), right.data(), static_cast<size_t>(x)) != 0) return 0;
        if (x < static_cast<ssize_t>(CompareChunk)) break;
    }
    // A file that grew or shrank while it was read was not the listed one.
    equal = a.StillUnchanged() && b.StillUnchanged();
    return 0;
}

bool SameAccess(const PinnedFile& a, const PinnedFile& b) {
    const FileStamp& x = a.Stamp();
    const FileStamp& y = b.Stamp();
    return x.Owner == y.Owner && x.Group == y.Group && x.Mode == y.Mode &&
           SameExtendedAttributes(a.Fd(), b.Fd());
}

int DeletePinned(const PinnedFile& file) {
    const int folder = OpenFolderOf(file.Path());
    if (folder < 0) return errno;
    const std::string name = NameOf(file.Path());
    const std::optional<FileStamp> there = ReadStampAt(folder, name);
    int error = there ? 0 : errno;
    if (!error && (there->Identity() != file.Stamp().Identity() || !file.StillUnchanged()))
        error = ChangedSinceListed;
    if (!error && unlinkat(folder, name.c_str(), 0) != 0) error = errno;
    close(folder);
    return error;
}

} // namespace pellmora
