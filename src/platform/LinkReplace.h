#pragma once
// Puts a hard link to a kept file in the place of another file, atomically: the pinned kept
// file is linked, through its descriptor, to a new hidden name in the other file's folder, and
// that name trades places with the file. At every moment the path holds either the old file or
// the complete link; whatever the path held when they traded is checked to be the pinned ticked
// file, and anything else is put back. A failure removes the hidden name and leaves the file as
// it was. Never a symbolic link, never a copy.

#include "platform/PinnedFile.h"

#include <functional>
#include <string>

namespace pellmora {

// The steps a test may replace to reach the failures between the system calls.
struct LinkSteps {
    // The next hidden name to try (a name, not a path); asked again while a name is taken.
    std::function<std::string()> TemporaryName;
    // Runs after the link and before the names trade places; a non-zero errno stops there.
    std::function<int(const std::string& temporary)> BeforeRename;
};

LinkSteps DefaultLinkSteps();

// Replaces ticked's path by a hard link to kept. 0, ChangedSinceListed when either file changed
// or the path no longer names the ticked file, or the errno of the step that failed. A path that
// names the kept file already stays as it is.
int ReplaceWithHardLink(const PinnedFile& kept, const PinnedFile& ticked,
                        const LinkSteps& steps = DefaultLinkSteps());

} // namespace pellmora
