#pragma once
// A move to another file system, as coreutils mv makes it: a copy that keeps the data (holes
// included), owner and group where the user may, mode, times, extended attributes and ACLs,
// synced and put under a free name in the target folder, then the source removed. The copy is
// built as an unnamed file where the target allows, so that a crash leaves nothing behind, and
// the source goes only if it is still the file that was copied.

#include "platform/FileOperations.h"

#include <functional>
#include <string>

namespace pellmora {

// directory ends in "/". ChangedSinceListed when the source changed or was replaced while it
// was copied: the copy is removed and the source stays. duringCopy runs after each block copied
// (for tests).
FileOpResult CopyThenRemove(const std::string& path, const std::string& directory,
                            const std::function<void()>& duringCopy = {});

} // namespace pellmora
