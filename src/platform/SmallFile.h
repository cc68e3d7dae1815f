#pragma once
// Whole small files read and replaced in one go: the settings file and the mask catalogue.
// A reader never blocks on a FIFO and never takes more than the limit into memory; a
// replacement never leaves a half-written file behind (a temporary file in the same folder,
// synced and renamed over the target).

#include <QByteArray>

#include <optional>
#include <string>

namespace pellmora {

// Files larger than this are not taken for settings: reading them is refused.
inline constexpr qint64 SmallFileLimit = 32 * 1024 * 1024;

// The contents of the regular file at path (links followed); nothing when there is no such
// file, it cannot be read, or it is larger than limit.
std::optional<QByteArray> ReadSmallFile(const std::string& path, qint64 limit = SmallFileLimit);

// True when a regular file (links followed) stands at path.
bool SmallFileExists(const std::string& path);

// Replaces the file at path by bytes; missing parent folders are made (0700). A link is
// replaced at its target, and an existing file keeps its permission bits. Returns 0, or the
// errno of the step that failed; the target is then as it was.
int ReplaceSmallFile(const std::string& path, const QByteArray& bytes);

} // namespace pellmora
