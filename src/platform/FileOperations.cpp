#include "platform/FileOperations.h"

#include <sys/stat.h>

namespace pellmora {

// The presence tests follow links, as the search does when it walks into a linked folder.
bool FileIsPresent(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryIsPresent(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace pellmora
