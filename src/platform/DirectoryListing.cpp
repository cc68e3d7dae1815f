#include "platform/DirectoryListing.h"

#include "platform/FileStamp.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

namespace {

DIR* AsDir(void* dir) {
    return static_cast<DIR*>(dir);
}

EntryType TypeOf(unsigned char type) {
    switch (type) {
    case DT_REG:
        return EntryType::Regular;
    case DT_DIR:
        return EntryType::Directory;
    case DT_LNK:
        return EntryType::Symlink;
    case DT_UNKNOWN:
        return EntryType::Unknown;
    default:
        return EntryType::Other;
    }
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

uint32_t AttributesOf(mode_t mode) {
    return (mode & S_IWUSR) ? 0x80u : 0x01u;
}

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int32_t PackDos(int64_t year, int month, int day, int hour, int minute, int second) {
    if (year < 1980 || year > 2107) return 0;
    const auto date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    const auto time = static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
    return static_cast<int32_t>(date << 16 | time);
}

// Seconds since the epoch in local wall-clock terms to DOS date and time (proleptic Gregorian).
int32_t DosFromLocalSeconds(int64_t local) {
    const int64_t days = FloorDiv(local, 86400);
    const int64_t secs = local - days * 86400;
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const auto day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const auto month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return PackDos(year, month, day, static_cast<int>(secs / 3600),
                   static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
}

bool LocalOffset(time_t t, long& offset) {
    struct tm local {};
    if (!localtime_r(&t, &local)) return false;
    offset = local.tm_gmtoff;
    return true;
}

} // namespace

DirectoryListing::~DirectoryListing() {
    Close();
}

bool DirectoryListing::Open(const std::string& path) {
    Close();
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    DIR* dir = fstat(fd, &st) == 0 ? fdopendir(fd) : nullptr;
    if (!dir) {
        close(fd);
        return false;
    }
    dir_ = dir;
    identity_ = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
    return true;
}

void DirectoryListing::Close() {
    if (dir_) closedir(AsDir(dir_));
    dir_ = nullptr;
}

void DirectoryListing::ReadEntries() {
    names_.clear();
    entries_.clear();
    subfolders_.clear();
    if (!dir_) return;
    while (const dirent* entry = readdir(AsDir(dir_))) {
        if (IsDotOrDotDot(entry->d_name)) continue;
        const size_t length = std::strlen(entry->d_name);
        entries_.push_back({static_cast<uint32_t>(names_.size()), static_cast<uint32_t>(length),
                            TypeOf(entry->d_type)});
        names_.append(entry->d_name, length + 1);
    }
}

bool DirectoryListing::StatEntry(size_t i, FileStatus& status) const {
    struct stat st {};
    if (!dir_ || fstatat(dirfd(AsDir(dir_)), CName(i), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    const FileStamp stamp = StampOf(st);
    status.IsRegular = stamp.IsRegular;
    status.Size = stamp.Size;
    status.ModifiedTime = st.st_mtime;
    status.ModTimeNs = stamp.ModTimeNs;
    status.ChangeTimeNs = stamp.ChangeTimeNs;
    status.Attributes = AttributesOf(st.st_mode);
    status.LinkCount = static_cast<uint64_t>(st.st_nlink);
    status.Identity = stamp.Identity();
    return true;
}

bool DirectoryListing::IsFolder(size_t i) const {
    switch (entries_[i].Type) {
    case EntryType::Directory:
        return true;
    case EntryType::Symlink:
    case EntryType::Unknown: {
        struct stat st {};
        return dir_ && fstatat(dirfd(AsDir(dir_)), CName(i), &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    default:
        return false;
    }
}

const std::vector<uint32_t>& DirectoryListing::FindSubfolders() {
    subfolders_.clear();
    for (size_t i = 0; i < entries_.size(); ++i)
        if (IsFolder(i)) subfolders_.push_back(static_cast<uint32_t>(i));
    return subfolders_;
}

std::optional<FileIdentity> FolderIdentity(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

int32_t DosDateTime(time_t mtime) {
    long offset = 0;
    if (!LocalOffset(mtime, offset)) return 0;
    return DosFromLocalSeconds(static_cast<int64_t>(mtime) + offset);
}

int32_t DosTimeConverter::Convert(time_t mtime) {
    // Far outside the DOS years the answer is 0 anyway; no hour arithmetic near the limits.
    if (mtime < 0 || mtime > 8000000000) return DosDateTime(mtime);
    const int64_t hour = FloorDiv(static_cast<int64_t>(mtime), 3600);
    Slot& slot = slots_[static_cast<uint64_t>(hour) % SlotCount];
    if (slot.Hour != hour) {
        // An hour with one offset at both ends has it throughout: changes are hours apart.
        long first = 0;
        long last = 0;
        const auto start = static_cast<time_t>(hour * 3600);
        slot.Uniform =
            LocalOffset(start, first) && LocalOffset(start + 3599, last) && first == last;
        slot.Offset = first;
        slot.Hour = hour;
    }
    if (!slot.Uniform) return DosDateTime(mtime);
    return DosFromLocalSeconds(static_cast<int64_t>(mtime) + slot.Offset);
}

} // namespace pellmora
