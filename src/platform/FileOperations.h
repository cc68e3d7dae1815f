#pragma once
// What the file actions do to one file on disk: to the desktop trash, deleted for good, moved
// into a folder, renamed. Each call reports success or the errno of the call that failed and
// never asks anything; a move or rename never replaces an existing file but takes the first
// free name "name (2).ext", "name (3).ext", ... instead.

#include "platform/FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pellmora {

struct FileOpResult {
    int Error = 0;         // errno of the failed call; 0 on success
    std::string FinalPath; // where the file is now (inside the trash's files/ for the trash)
    bool Ok() const { return Error == 0; }
};

// The freedesktop.org trash: the home trash for files on its device, a $topdir trash on other
// mounts. Never deletes, never copies across devices: a file no trash can take stays as it was
// and the result carries the reason (EXDEV where its mount has no trash we may use, EROFS,
// EACCES, ...). A name too long to get an info file beside it is shortened in the trash only.
FileOpResult TrashFile(const std::string& path);

// Moves the file into directory (a path with or without a trailing "/"), under its own name or
// the first free one; across file systems by a synced copy that replaces nothing, after which
// the source is removed. A file already in that folder stays as it is.
FileOpResult MoveIntoDirectory(const std::string& path, const std::string& directory);

// Renames the file within its folder to newName (a name, not a path: EINVAL otherwise), or the
// first free name. Its own name leaves it as it is.
FileOpResult RenameInPlace(const std::string& path, const std::string& newName);

// Renames from to to unless to exists (EEXIST then); 0 or errno. The building block of the calls
// above, for other code that must not replace a file either.
int RenameNoReplace(const std::string& from, const std::string& to);

// Writes all size bytes to fd, going on after short writes and signals; 0 or errno.
int WriteWhole(int fd, const char* data, size_t size);

// An entry of that name exists and is not a folder / is a folder (a trailing "/" allowed).
bool FileIsPresent(const std::string& path);
bool DirectoryIsPresent(const std::string& path);

} // namespace pellmora
