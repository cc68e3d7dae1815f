#include "platform/LinkReplace.h"

#include "platform/PathText.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

namespace {

// Gives up after this many taken names: something else is making them as fast as we try.
constexpr int NameAttempts = 100;

std::string RandomHiddenName() {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string name = ".pellmora-link-";
    for (int k = 0; k < 12; ++k)
        name += Digits[random() % (sizeof(Digits) - 1)];
    return name;
}

std::optional<FileIdentity> IdentityAt(int folder, const std::string& name) {
    const std::optional<FileStamp> stamp = ReadStampAt(folder, name);
    if (!stamp) return std::nullopt;
    return stamp->Identity();
}

// The kept file's own inode under a new name: linked from its descriptor, so that whatever has
// taken its path since it was pinned is never the one linked.
int LinkDescriptor(const PinnedFile& kept, int folder, const std::string& name) {
    const int error = LinkDescriptorAt(kept.Fd(), folder, name);
    if (error != ENOENT || access("/proc/self/fd", F_OK) == 0) return error;
    // Without /proc, the path is linked and the new name must then show the pinned file.
    if (linkat(AT_FDCWD, kept.Path().c_str(), folder, name.c_str(), 0) != 0) return errno;
    if (IdentityAt(folder, name) == kept.Stamp().Identity()) return 0;
    unlinkat(folder, name.c_str(), 0);
    return ChangedSinceListed;
}

int LinkToHiddenName(const PinnedFile& kept, int folder, const LinkSteps& steps,
                     std::string& temporary) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        temporary = steps.TemporaryName();
        const int error = LinkDescriptor(kept, folder, temporary);
        if (error != EEXIST) return error;
    }
    temporary.clear();
    return EEXIST;
}

// Trades the link for the file; what comes out must be the ticked file, else it goes back. Where
// the file system cannot trade names, the path is checked just before a rename. A trade moves the
// status-change time on some file systems, so the ticked file's status is compared before it.
// temporary is cleared when it must not be removed: it holds a file that is not ours.
int TradePlaces(int folder, std::string& temporary, const std::string& name,
                const PinnedFile& ticked) {
    if (!ticked.StillUnchanged()) return ChangedSinceListed;
    const FileIdentity tickedIdentity = ticked.Stamp().Identity();
    if (renameat2(folder, temporary.c_str(), folder, name.c_str(), RENAME_EXCHANGE) == 0) {
        if (IdentityAt(folder, temporary) == tickedIdentity) return 0;
        if (renameat2(folder, temporary.c_str(), folder, name.c_str(), RENAME_EXCHANGE) != 0)
            temporary.clear();
        return ChangedSinceListed;
    }
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (IdentityAt(folder, name) != tickedIdentity) return ChangedSinceListed;
    return renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? 0 : errno;
}

} // namespace

LinkSteps DefaultLinkSteps() {
    return {RandomHiddenName, {}};
}

int ReplaceWithHardLink(const PinnedFile& kept, const PinnedFile& ticked, const LinkSteps& steps) {
    if (!kept.Pinned() || !ticked.Pinned()) return ChangedSinceListed;
    const int folder = OpenFolderOf(ticked.Path());
    if (folder < 0) return errno;
    const std::string name = NameOf(ticked.Path());
    std::string temporary;
    int error = LinkToHiddenName(kept, folder, steps, temporary);
    if (!error && steps.BeforeRename)
        error = steps.BeforeRename(FolderOf(ticked.Path()) + temporary);
    if (!error) error = TradePlaces(folder, temporary, name, ticked);
    // After a trade the hidden name holds the ticked file; after a failure, the kept file's link.
    if (!temporary.empty()) unlinkat(folder, temporary.c_str(), 0);
    close(folder);
    return error;
}

} // namespace pellmora
