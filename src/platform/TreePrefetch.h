#pragma once
// Warms the kernel's caches of folder trees ahead of an ordered walk. On a cold disk every
// listing and every status look-up waits for a seek; a few threads that list folders and read
// their entries' status at the same time let the disk answer many of those at once, so that the
// walk's own listings and look-ups, still one at a time and in its own order, find them in
// memory. Nothing of what the threads read is kept or reported. They never follow a link, never
// leave the file system of the folder they were given, and never open a file.

#include "platform/WorkerThreads.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace pellmora {

class TreePrefetch {
  public:
    // skip tells the folders (paths ending in "/") to leave alone, with all below them; it is
    // called from the threads.
    TreePrefetch(size_t threads, std::function<bool(const std::string&)> skip);
    // Cancels what is left and joins the threads.
    ~TreePrefetch();
    TreePrefetch(const TreePrefetch&) = delete;
    TreePrefetch& operator=(const TreePrefetch&) = delete;

    // Queues the tree below folder (ending in "/").
    void Add(const std::string& folder);

  private:
    struct Folder {
        std::string Path;
        uint64_t Device = 0; // 0: the device of the folder itself
    };
    void Loop();
    void Cancel();
    void Visit(const Folder& folder);

    std::function<bool(const std::string&)> skip_;
    std::mutex mutex_;
    std::condition_variable work_;
    std::deque<Folder> queue_;
    std::atomic<bool> cancelled_{false};
    WorkerThreads threads_;
};

} // namespace pellmora
