#pragma once
// The pieces of the desktop trash (the freedesktop.org trash standard, version 1.0) that
// TrashFile puts together: which trash takes a file, and what its .trashinfo says.

#include <ctime>
#include <string>

namespace pellmora {

// The bytes of path with everything but unreserved URI characters and "/" written as "%XX", so
// that spaces, "%", UTF-8 and bytes that are not UTF-8 all come back unchanged.
std::string PercentEncodePath(const std::string& path);

// The whole .trashinfo text for a file deleted at when (local time).
std::string TrashInfoText(const std::string& infoPath, std::time_t when);

// The folder that holds $XDG_DATA_HOME/Trash: $XDG_DATA_HOME when it is an absolute path, else
// ~/.local/share; empty when there is no home either. Never relative, so nothing can land in
// the current folder.
std::string DataHomeFolder();

// A usable trash for a file at the top folder topdir of its mount: $topdir/.Trash/$uid when
// .Trash is a sticky folder and not a link, else $topdir/.Trash-$uid (made 0700; refused when
// it is a link or not ours). Sets trash to the trash folder ending in "/" with files/ and info/
// in it; returns 0 or errno.
int PrepareTopDirTrash(const std::string& topdir, std::string& trash);

} // namespace pellmora
