#include "platform/MoveAcross.h"

#include "platform/ExtendedAttributes.h"
#include "platform/FreeName.h"
#include "platform/PathText.h"
#include "platform/PinnedFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pellmora {

namespace {

int SyncFolder(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    // Some file systems cannot sync a folder; the data itself is synced already.
    return error == EINVAL ? 0 : error;
}

class Copier {
  public:
    Copier(int from, int to, const std::function<void()>& duringCopy)
        : from_(from), to_(to), duringCopy_(duringCopy), buffer_(1 << 20) {}

    // Only the data regions are copied and the length is set at the end, so the holes of a
    // sparse file stay holes, as mv keeps them. Where the file system cannot tell its holes,
    // every byte is copied.
    int CopyContent() {
        constexpr off_t wholeFile = std::numeric_limits<off_t>::max();
        for (off_t offset = 0;;) {
            const off_t data = lseek(from_, offset, SEEK_DATA);
            if (data < 0 && errno == ENXIO) break; // nothing but a hole is left
            if (data < 0 && offset == 0 && (errno == EINVAL || errno == ENOTSUP))
                return CopyRange(0, wholeFile);
            if (data < 0) return errno;
            const off_t hole = lseek(from_, data, SEEK_HOLE);
            if (hole < 0) return errno;
            if (const int error = CopyRange(data, hole)) return error;
            offset = hole;
        }
        const off_t end = lseek(from_, 0, SEEK_END);
        if (end < 0) return errno;
        return ftruncate(to_, end) == 0 ? 0 : errno;
    }

  private:
    // Copies [offset, end) or up to the end of the file, whichever comes first.
    int CopyRange(off_t offset, off_t end) {
        if (lseek(from_, offset, SEEK_SET) < 0 || lseek(to_, offset, SEEK_SET) < 0) return errno;
        while (offset < end) {
            const auto want = static_cast<size_t>(std::min<off_t>(end - offset, buffer_.size()));
            const ssize_t got = read(from_, buffer_.data(), want);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return errno;
            if (got == 0) return 0;
            if (const int error = WriteWhole(to_, buffer_.data(), static_cast<size_t>(got)))
                return error;
            offset += got;
            if (duringCopy_) duringCopy_();
        }
        return 0;
    }

    int from_;
    int to_;
    const std::function<void()>& duringCopy_;
    std::vector<char> buffer_;
};

// Root gives the copy the source's owner; anyone else keeps the source's group where they may,
// as mv does. The owner goes first because a change of owner clears the set-id bits and
// security.capability.
int CopyOwner(const struct stat& st, int copy) {
    if (geteuid() == 0) return fchown(copy, st.st_uid, st.st_gid) == 0 ? 0 : errno;
    (void)fchown(copy, static_cast<uid_t>(-1), st.st_gid); // not a member: the user's own group
    return 0;
}

// The copy's data, attributes, owner, mode and times, synced.
int FillCopy(int source, const struct stat& st, int copy, const std::function<void()>& during) {
    int error = Copier(source, copy, during).CopyContent();
    if (!error) error = CopyOwner(st, copy);
    if (!error) error = CopyExtendedAttributes(source, copy, AttributeSet::Plain);
    if (!error && fchmod(copy, st.st_mode & 07777) != 0) error = errno;
    // A mode rewrites the mask entry of an ACL; the source's ACL, set last, agrees with its mode.
    if (!error) error = CopyExtendedAttributes(source, copy, AttributeSet::Acls);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (!error && futimens(copy, times) != 0) error = errno;
    if (!error && fsync(copy) != 0) error = errno;
    return error;
}

// The copy under construction: an unnamed file of the target folder, or where the file system
// has none, a hidden scratch name beside the final one.
class NewCopy {
  public:
    explicit NewCopy(const std::string& directory) {
        fd_ = open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd_ >= 0) return;
        scratch_ = directory + ".pellmora-move-XXXXXX";
        fd_ = mkostemp(scratch_.data(), O_CLOEXEC);
        if (fd_ < 0) scratch_.clear();
    }
    ~NewCopy() {
        if (!scratch_.empty()) unlink(scratch_.c_str());
        if (fd_ >= 0) close(fd_);
    }
    NewCopy(const NewCopy&) = delete;
    NewCopy& operator=(const NewCopy&) = delete;
    int Fd() const { return fd_; }

    // Gives the copy its name; 0, EEXIST when taken, or errno.
    int Place(const std::string& target) {
        if (scratch_.empty()) return LinkDescriptorAt(fd_, AT_FDCWD, target);
        const int error = RenameNoReplace(scratch_, target);
        if (!error) scratch_.clear();
        return error;
    }

  private:
    int fd_ = -1;
    std::string scratch_;
};

// The source is still the file that was copied: its descriptor shows the same size and times,
// and its path still names it.
bool SourceUnchanged(int source, const std::string& path, const FileStamp& copied) {
    const std::optional<FileStamp> now = ReadDescriptorStamp(source);
    const std::optional<FileStamp> there = ReadFileStamp(path);
    return now && there && static_cast<const FileVersion&>(*now) == copied &&
           there->Identity() == copied.Identity();
}

} // namespace

FileOpResult CopyThenRemove(const std::string& path, const std::string& directory,
                            const std::function<void()>& duringCopy) {
    // O_NONBLOCK: a FIFO put in the file's place must not stall the open.
    const int source = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (source < 0) return {errno, ""};
    struct stat st {};
    int error = fstat(source, &st) == 0 ? 0 : errno;
    if (!error && !S_ISREG(st.st_mode)) error = EXDEV;
    const FileStamp copied = StampOf(st);
    NewCopy copy(directory);
    if (!error && copy.Fd() < 0) error = errno;
    if (!error) error = FillCopy(source, st, copy.Fd(), duringCopy);
    if (!error && !SourceUnchanged(source, path, copied)) error = ChangedSinceListed;
    std::string target;
    if (!error) {
        std::string chosen;
        error = PlaceUnderFreeName(
            NameOf(path), 0,
            [&](const std::string& candidate) { return copy.Place(directory + candidate); },
            chosen);
        if (!error) target = directory + chosen;
    }
    if (!error) error = SyncFolder(directory);
    // Checked again at the last moment: the sync may have taken a while.
    if (!error && !SourceUnchanged(source, path, copied)) error = ChangedSinceListed;
    if (!error && unlink(path.c_str()) != 0) error = errno;
    close(source);
    if (error && !target.empty()) unlink(target.c_str());
    return {error, error ? "" : target};
}

} // namespace pellmora
