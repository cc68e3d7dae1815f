#include "support/BoundedChild.h"

#include <filesystem>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pellmora::test {

int RunBounded(const std::function<int()>& body, unsigned seconds) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        alarm(seconds);
        _exit(body() & 255);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool DropToNobody() {
    if (geteuid() != 0) return false;
    return setgroups(0, nullptr) == 0 && setresgid(NobodyId, NobodyId, NobodyId) == 0 &&
           setresuid(NobodyId, NobodyId, NobodyId) == 0;
}

bool GiveToNobody(const std::string& path) {
    if (geteuid() != 0) return false;
    if (lchown(path.c_str(), NobodyId, NobodyId) != 0) return false;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (lchown(it->path().c_str(), NobodyId, NobodyId) != 0) return false;
    return !ec;
}

} // namespace pellmora::test
