#include "platform/FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace pellmora {

int64_t NanosecondsOf(const struct timespec& time) {
    return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp StampOf(const struct stat& st) {
    FileStamp stamp;
    stamp.Device = static_cast<uint64_t>(st.st_dev);
    stamp.Inode = static_cast<uint64_t>(st.st_ino);
    stamp.Size = static_cast<int64_t>(st.st_size);
    stamp.ModTimeNs = NanosecondsOf(st.st_mtim);
    stamp.ChangeTimeNs = NanosecondsOf(st.st_ctim);
    stamp.IsRegular = S_ISREG(st.st_mode);
    stamp.Owner = st.st_uid;
    stamp.Group = st.st_gid;
    stamp.Mode = st.st_mode & 07777;
    return stamp;
}

std::optional<FileStamp> ReadFileStamp(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return std::nullopt;
    return StampOf(st);
}

std::optional<FileStamp> ReadStampAt(int folder, const std::string& name) {
    struct stat st {};
    if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return StampOf(st);
}

std::optional<FileStamp> ReadDescriptorStamp(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return std::nullopt;
    return StampOf(st);
}

int64_t WallClockNs() {
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return NanosecondsOf(now);
}

} // namespace pellmora
