#include "actions/ShellFileOperation.h"

#include <cerrno>

namespace pellmora {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A rename stays in the source's folder: a target elsewhere would be a move in disguise.
FileOpResult RenameWithinFolder(const std::string& source, const std::string& target) {
    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.size());
    if (folder != FolderOf(source) || name.empty()) return {EINVAL, {}};
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
