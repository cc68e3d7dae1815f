#pragma once
// Puts a hard link to a kept file in the place of another file, atomically: the kept file is
// linked to a new hidden name in the other file's folder, and that name is renamed over the
// file. At every moment the path holds either the old file or the complete link; a failure
// removes the hidden name and leaves the file as it was. Never a symbolic link, never a copy.

#include "platform/FileIdentity.h"

#include <functional>
#include <string>

namespace pellmora {

// The steps a test may replace to reach the failures between the system calls.
struct LinkSteps {
    // The next hidden name to try (a name, not a path); asked again while a name is taken.
    std::function<std::string()> TemporaryName;
    // Runs after the link and before the rename; a non-zero errno stops there.
    std::function<int(const std::string& temporary)> BeforeRename;
};

LinkSteps DefaultLinkSteps();

// Replaces target by a hard link to kept, which must still be the file keptIdentity names (the
// link made is checked: ESTALE otherwise, and nothing changes). A target that already is that
// file stays as it is. 0 or the errno of the step that failed.
int ReplaceWithHardLink(const std::string& kept, const FileIdentity& keptIdentity,
                        const std::string& target, const LinkSteps& steps = DefaultLinkSteps());

} // namespace pellmora
