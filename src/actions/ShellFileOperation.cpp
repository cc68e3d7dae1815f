#include "actions/ShellFileOperation.h"

#include "platform/PathText.h"

#include <cerrno>

namespace pellmora {

namespace {

// A rename stays in the source's folder: a target elsewhere would be a move in disguise.
FileOpResult RenameWithinFolder(const std::string& source, const std::string& target) {
    const std::string name = NameOf(target);
    if (FolderOf(target) != FolderOf(source) || name.empty()) return {EINVAL, {}};
    return RenameInPlace(source, name);
}

} // namespace

FileOpResult ShellFileOperation(const std::string& source, const std::string& target,
                                ShellOperation operation) {
    switch (operation) {
    case ShellOperation::Delete:
        return TrashFile(source);
    case ShellOperation::Move:
        return MoveIntoDirectory(source, target);
    case ShellOperation::Rename:
        return RenameWithinFolder(source, target);
    }
    return {EINVAL, {}};
}

} // namespace pellmora
