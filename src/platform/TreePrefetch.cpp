// The threads share one queue of folders. A folder's subfolders go to the front, in listing
// order, so that the threads move through the tree roughly as the depth-first walk does, just
// ahead of it.

#include "platform/TreePrefetch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellmora {

TreePrefetch::TreePrefetch(size_t threads, std::function<bool(const std::string&)> skip)
    : skip_(std::move(skip)) {
    // Fewer threads warm less; none leaves the walk to wait for the disk on its own.
    threads_.Start(
        threads, [this] { Loop(); }, [this] { Cancel(); });
}

TreePrefetch::~TreePrefetch() {
    Cancel();
    threads_.Join();
}

void TreePrefetch::Cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    work_.notify_all();
}

void TreePrefetch::Add(const std::string& folder) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({folder, 0});
    }
    work_.notify_one();
}

void TreePrefetch::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] { return cancelled_ || !queue_.empty(); });
        if (cancelled_) return;
        const Folder folder = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        Visit(folder);
        lock.lock();
    }
}

void TreePrefetch::Visit(const Folder& folder) {
    if (skip_ && skip_(folder.Path)) return;
    // The folder given may be reached through a link, as the walk enters it; those below not.
    const int noFollow = folder.Device == 0 ? 0 : O_NOFOLLOW;
    const int fd = open(folder.Path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noFollow);
    if (fd < 0) return;
    struct stat self {};
    DIR* dir = fstat(fd, &self) == 0 && (folder.Device == 0 || self.st_dev == folder.Device)
                   ? fdopendir(fd)
                   : nullptr;
    if (dir == nullptr) {
        close(fd);
        return;
    }
    std::vector<Folder> subfolders;
    while (const dirent* entry = readdir(dir)) {
        if (cancelled_) break;
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISDIR(st.st_mode) && st.st_dev == self.st_dev)
            subfolders.push_back({folder.Path + name + "/", static_cast<uint64_t>(self.st_dev)});
    }
    closedir(dir);
    if (subfolders.empty() || cancelled_) return;
    {
        std::lock_guard lock(mutex_);
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            queue_.push_front(std::move(*it));
    }
    work_.notify_all();
}

} // namespace pellmora
