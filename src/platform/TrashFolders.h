#pragma once
// The desktop's trash folders, which a search never enters: $XDG_DATA_HOME/Trash, and at the top
// of every mount .Trash/$uid and .Trash-$uid. Their files are not the user's working copies, and
// a copy in the trash must never be the one a user keeps. They are told by identity, so that no
// path, link or bind mount leads into them; a mount's trash folders are looked up once, when the
// walk first meets a folder on its device, so a mount the walk never reaches is never touched.

#include "platform/FileIdentity.h"
#include "platform/MountTable.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace pellmora {

class TrashFolderCheck {
  public:
    TrashFolderCheck();

    // Whether the folder is one of the trash folders.
    bool IsTrash(const FileIdentity& folder);
    // Whether the folder at path is a trash folder or lies inside one.
    bool LiesInTrash(const std::string& path);

  private:
    void LearnDevice(uint64_t device);

    std::vector<FileIdentity> trash_;
    std::unordered_set<uint64_t> devicesSeen_;
    std::optional<uint64_t> lastDevice_;
    std::optional<MountTable> table_;
    std::string uid_;
};

} // namespace pellmora
