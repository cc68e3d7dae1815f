#pragma once
// A few threads that each run one loop until their owner tells the loop to end. When a thread
// cannot be started, the ones already running are stopped and joined: none is a valid answer the
// owner must handle, and the owner's work then goes on alone. The owner ends its loops first,
// then lets this go, which joins them.

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <functional>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pellmora {

class WorkerThreads {
    static constexpr int HelperNiceness = 10; // below the thread that starts them
    static constexpr int LowestPriority = 19;

  public:
    WorkerThreads() = default;
    ~WorkerThreads() { Join(); }
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // The threads run below the priority of the thread that starts them: they only serve it,
    // and a window whose thread waits behind a dozen busy helpers answers late. stop tells the
    // loops to end; it is called here only when a start failed.
    void Start(size_t count, const std::function<void()>& loop, const std::function<void()>& stop) {
        const int niceness = std::min(CallerNiceness() + HelperNiceness, LowestPriority);
        try {
            for (size_t i = 0; i < count; ++i)
                threads_.emplace_back([loop, niceness] {
                    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), niceness);
                    loop();
                });
        } catch (...) {
            stop();
            Join();
            threads_.clear();
        }
    }
    bool Empty() const { return threads_.empty(); }
    void Join() {
        for (std::thread& thread : threads_)
            if (thread.joinable()) thread.join();
    }

  private:
    static int CallerNiceness() {
        errno = 0;
        const int niceness = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
        return errno == 0 ? niceness : 0;
    }

    std::vector<std::thread> threads_;
};

} // namespace pellmora
