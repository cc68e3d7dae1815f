#pragma once
// Replacing a file so that no reader and no crash ever sees it half-written: the bytes go to a
// new file in the target's folder, are synced to disk, and that file is renamed over the target.
// On failure the target stays as it was and no temporary file is left behind.

#include <string>
#include <string_view>

namespace pellmora {

// Returns 0, or the errno of the call that failed (ENOSPC for a write that made no progress).
// A target that is a symbolic link is replaced where the link points; an existing target keeps
// its permission bits, a new one gets 0666 less the umask.
int WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace pellmora
