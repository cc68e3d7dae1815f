#include "platform/LinkReplace.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

namespace {

// Gives up after this many taken names: something else is making them as fast as we try.
constexpr int NameAttempts = 100;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string RandomHiddenName() {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name = ".pellmora-link-";
    for (int k = 0; k < 12; ++k)
        name += Digits[random() % (sizeof(Digits) - 1)];
    return name;
}

bool IsFile(const std::string& path, const FileIdentity& identity) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)} ==
               identity;
}

// Links kept to a free hidden name in folder; 0 and the name's path, or errno.
int LinkToHiddenName(const std::string& kept, const std::string& folder, const LinkSteps& steps,
                     std::string& temporary) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        temporary = folder + steps.TemporaryName();
        // No AT_SYMLINK_FOLLOW: a link put in the kept file's place is never followed.
        if (linkat(AT_FDCWD, kept.c_str(), AT_FDCWD, temporary.c_str(), 0) == 0) return 0;
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

int LinkThenRename(const std::string& temporary, const FileIdentity& keptIdentity,
                   const std::string& target, const LinkSteps& steps) {
    if (!IsFile(temporary, keptIdentity)) return ESTALE;
    if (steps.BeforeRename)
        if (const int error = steps.BeforeRename(temporary)) return error;
    if (rename(temporary.c_str(), target.c_str()) != 0) return errno;
    // rename does nothing, successfully, when both names are the same file by now.
    if (IsFile(temporary, keptIdentity)) unlink(temporary.c_str());
    return 0;
}

} // namespace

LinkSteps DefaultLinkSteps() {
    return {RandomHiddenName, {}};
}

int ReplaceWithHardLink(const std::string& kept, const FileIdentity& keptIdentity,
                        const std::string& target, const LinkSteps& steps) {
    if (IsFile(target, keptIdentity)) return 0;
    std::string temporary;
    if (const int error = LinkToHiddenName(kept, FolderOf(target), steps, temporary)) return error;
    const int error = LinkThenRename(temporary, keptIdentity, target, steps);
    if (error) unlink(temporary.c_str());
    return error;
}

} // namespace pellmora
