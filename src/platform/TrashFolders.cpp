#include "platform/TrashFolders.h"

#include "platform/DirectoryListing.h"
#include "platform/Trash.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace pellmora {

TrashFolderCheck::TrashFolderCheck() : uid_(std::to_string(getuid())) {
    const std::string dataHome = DataHomeFolder();
    if (dataHome.empty()) return;
    if (const auto home = FolderIdentity(dataHome + "/Trash")) trash_.push_back(*home);
}

void TrashFolderCheck::LearnDevice(uint64_t device) {
    if (!table_) table_ = MountTable::ReadCurrent();
    std::vector<std::string> tops = table_->MountPointsOf(device);
    if (tops.empty()) { // mounted since the table was read
        table_ = MountTable::ReadCurrent();
        tops = table_->MountPointsOf(device);
    }
    for (std::string& top : tops) {
        if (top == "/") top.clear();
        for (const std::string& trash : {top + "/.Trash/" + uid_, top + "/.Trash-" + uid_})
            if (const auto folder = FolderIdentity(trash)) trash_.push_back(*folder);
    }
}

bool TrashFolderCheck::IsTrash(const FileIdentity& folder) {
    if (lastDevice_ != folder.Device) {
        lastDevice_ = folder.Device;
        if (devicesSeen_.insert(folder.Device).second) LearnDevice(folder.Device);
    }
    return std::find(trash_.begin(), trash_.end(), folder) != trash_.end();
}

bool TrashFolderCheck::LiesInTrash(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return false;
    std::string folder = real;
    free(real);
    for (;;) {
        if (const auto identity = FolderIdentity(folder); identity && IsTrash(*identity))
            return true;
        if (folder.size() <= 1) return false;
        const size_t slash = folder.rfind('/');
        folder.resize(slash == 0 ? 1 : slash);
    }
}

} // namespace pellmora
