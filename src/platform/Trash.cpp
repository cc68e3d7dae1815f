#include "platform/Trash.h"

#include "platform/FileOperations.h"
#include "platform/FreeName.h"
#include "platform/MountTable.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

namespace {

constexpr const char InfoSuffix[] = ".trashinfo";
// The info file's name must fit, so a trash name leaves room for the suffix.
constexpr size_t MaxTrashName = NAME_MAX - (sizeof(InfoSuffix) - 1);

// A folder we made or found. On a shared mount it must be a real folder, not a link another user
// planted to send our files elsewhere; in our own home a link the user made is fine. (A
// trailing "/" would make lstat follow a link, so it is taken off.)
enum class Links { Refused, Followed };

int EnsureFolder(std::string path, Links links = Links::Refused) {
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    struct stat st {};
    const int found = links == Links::Followed ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
    if (found != 0) return errno;
    if (S_ISLNK(st.st_mode)) return ELOOP;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

int EnsureOwnFolder(const std::string& path) {
    if (const int error = EnsureFolder(path)) return error;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return errno;
    return st.st_uid == getuid() ? 0 : EACCES;
}

// Every missing folder of the absolute path, as mkdir -p would make them.
int EnsureFolderPath(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (slash == std::string::npos) return 0;
    }
}

int EnsureTrashFolders(const std::string& trash, Links links = Links::Refused) {
    if (const int error = EnsureFolder(trash + "files", links)) return error;
    return EnsureFolder(trash + "info", links);
}

// The device of path or, when it does not exist yet, of the nearest folder above it that does.
dev_t DeviceOfNearest(std::string path) {
    struct stat st {};
    while (stat(path.c_str(), &st) != 0 && path.size() > 1) {
        const size_t slash = path.rfind('/');
        path = slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
    }
    return st.st_dev;
}

int PrepareHomeTrash(const std::string& dataHome, std::string& trash) {
    if (const int error = EnsureFolderPath(dataHome)) return error;
    trash = dataHome + "/Trash/";
    if (const int error = EnsureFolder(trash, Links::Followed)) return error;
    return EnsureTrashFolders(trash, Links::Followed);
}

// The file's path with its folder resolved, the form the mount table and the restore need.
int ResolvePath(const std::string& path, std::string& resolved) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return EINVAL;
    char* real = realpath(folder.c_str(), nullptr);
    if (!real) return errno;
    const std::string base = real;
    free(real);
    resolved = (base == "/" ? "" : base) + "/" + name;
    return 0;
}

// Writes the info file under candidate, then moves the file to files/ under the same name. A
// name taken in either folder moves on to the next candidate; any other failure removes the
// info file again.
int PlaceInTrash(const std::string& path, const std::string& trash, const std::string& infoText,
                 const std::string& candidate) {
    const std::string info = trash + "info/" + candidate + InfoSuffix;
    const int fd = open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    int error = WriteWhole(fd, infoText.data(), infoText.size());
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (!error) error = RenameNoReplace(path, trash + "files/" + candidate);
    if (error) unlink(info.c_str());
    return error;
}

// Why a file on a mount without a trash of ours stays: the home trash is on another device
// (EXDEV), unless the mount is read-only or something else more telling went wrong.
int NoTrashOnDevice(int error) {
    const bool refused = error == EACCES || error == EPERM || error == ELOOP || error == ENOTDIR;
    return refused ? EXDEV : error;
}

FileOpResult MoveIntoTrash(const std::string& path, const std::string& trash,
                           const std::string& infoPath) {
    struct stat file {};
    struct stat files {};
    if (lstat(path.c_str(), &file) != 0) return {errno, ""};
    if (stat((trash + "files").c_str(), &files) != 0) return {errno, ""};
    // A rename cannot cross devices; saying so here keeps a stray info file from being written.
    if (file.st_dev != files.st_dev) return {EXDEV, ""};
    const std::string text = TrashInfoText(infoPath, std::time(nullptr));
    const size_t slash = path.rfind('/');
    std::string chosen;
    const int error = PlaceUnderFreeName(
        path.substr(slash + 1), MaxTrashName,
        [&](const std::string& candidate) { return PlaceInTrash(path, trash, text, candidate); },
        chosen);
    return {error, error ? "" : trash + "files/" + chosen};
}

} // namespace

std::string PercentEncodePath(const std::string& path) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9') || c == '-' || c == '_' || c == '.' ||
                           c == '~' || c == '/';
        if (plain) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 15];
        }
    }
    return encoded;
}

std::string TrashInfoText(const std::string& infoPath, std::time_t when) {
    struct tm local {};
    localtime_r(&when, &local);
    char date[32] = {};
    strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + PercentEncodePath(infoPath) + "\nDeletionDate=" + date + "\n";
}

std::string DataHomeFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') return dataHome;
    const char* home = std::getenv("HOME");
    std::string homeFolder = home && home[0] == '/' ? home : "";
    if (homeFolder.empty()) {
        const passwd* user = getpwuid(getuid());
        if (user && user->pw_dir && user->pw_dir[0] == '/') homeFolder = user->pw_dir;
    }
    if (homeFolder.empty()) return "";
    if (homeFolder.back() == '/') homeFolder.pop_back();
    return homeFolder + "/.local/share";
}

int PrepareTopDirTrash(const std::string& topdir, std::string& trash) {
    const std::string top = topdir == "/" ? "" : topdir;
    const std::string uid = std::to_string(getuid());
    const std::string shared = top + "/.Trash";
    struct stat st {};
    if (lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        trash = shared + "/" + uid + "/";
        if (EnsureOwnFolder(trash) == 0 && EnsureTrashFolders(trash) == 0) return 0;
    }
    trash = top + "/.Trash-" + uid + "/";
    if (const int error = EnsureOwnFolder(trash)) return error;
    return EnsureTrashFolders(trash);
}

FileOpResult TrashFile(const std::string& path) {
    std::string resolved;
    if (const int error = ResolvePath(path, resolved)) return {error, ""};
    struct stat file {};
    if (lstat(resolved.c_str(), &file) != 0) return {errno, ""};
    const std::string dataHome = DataHomeFolder();
    if (!dataHome.empty() && DeviceOfNearest(dataHome + "/Trash") == file.st_dev) {
        std::string trash;
        if (const int error = PrepareHomeTrash(dataHome, trash)) return {error, ""};
        const FileOpResult result = MoveIntoTrash(resolved, trash, resolved);
        // The same device seen through another mount (a bind mount) refuses the rename; the
        // trash at the top of that mount can take the file.
        if (result.Error != EXDEV) return result;
    }
    const std::string topdir = MountTable::ReadCurrent().MountPointContaining(resolved);
    std::string trash;
    if (const int error = PrepareTopDirTrash(topdir, trash)) return {NoTrashOnDevice(error), ""};
    const std::string relative = resolved.substr(topdir == "/" ? 1 : topdir.size() + 1);
    return MoveIntoTrash(resolved, trash, relative);
}

} // namespace pellmora
