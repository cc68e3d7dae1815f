#pragma once
// A file opened read-only and found, through its own descriptor, to be the version of it that
// was listed. An act that removes or replaces a user's file holds its files pinned while it
// checks and acts: what it compares, links or shares is then the very file it checked, whatever
// happens to the path meanwhile.

#include "platform/FileStamp.h"

#include <string>

namespace pellmora {

// What the calls below return for a file that is no longer the version that was listed.
constexpr int ChangedSinceListed = 116; // ESTALE

class PinnedFile {
  public:
    // Opens path without following a final link; Pinned() only when fstat shows a regular file
    // of exactly the listed version.
    PinnedFile(const std::string& path, const FileVersion& listed);
    ~PinnedFile();
    PinnedFile(PinnedFile&& other) noexcept;
    PinnedFile(const PinnedFile&) = delete;
    PinnedFile& operator=(const PinnedFile&) = delete;
    PinnedFile& operator=(PinnedFile&&) = delete;

    bool Pinned() const { return pinned_; }
    // 0 when pinned, ChangedSinceListed when another file or version stands there, else the
    // errno of the open.
    int Error() const { return error_; }
    int Fd() const { return fd_; }
    const std::string& Path() const { return path_; }
    // As fstat showed it when pinned, or after the last act of ours on it.
    const FileStamp& Stamp() const { return stamp_; }

    // fstat shows the same version still.
    bool StillUnchanged() const;
    // Whether its path still names this file, a link not followed.
    bool StillAtItsPath() const;
    // After an act of ours that changed its status (a new name, a new mode), the status now is
    // the one to compare with; refused (false) when its data changed too.
    bool AcceptOwnChange();
    // Gives the owner write permission, through the descriptor; 0 or errno.
    int MakeOwnerWritable();

  private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
    bool pinned_ = false;
    FileStamp stamp_;
};

// Whether both hold the same bytes, read through their descriptors; 0 or the errno of a read.
int CompareContents(const PinnedFile& a, const PinnedFile& b, bool& equal);

// Whether a hard link that puts one in the place of the other leaves who may read, write or run
// it, and what it carries, as it was: the same owner, group, mode and extended attributes (ACLs
// and tags among them).
bool SameAccess(const PinnedFile& a, const PinnedFile& b);

// Unlinks the file's path when it still names the pinned, unchanged file; 0, ChangedSinceListed
// or errno.
int DeletePinned(const PinnedFile& file);

// The folder that holds path, as a descriptor for the *at calls; -1 with errno on failure.
int OpenFolderOf(const std::string& path);

// Gives the open file fd the name name in folder (AT_FDCWD: name is a path), through
// /proc/self/fd: whatever has taken the file's path since it was opened is never the one named.
// 0 or errno; ENOENT also where /proc is not mounted.
int LinkDescriptorAt(int fd, int folder, const std::string& name);

} // namespace pellmora
