#pragma once
// A few threads that each run one loop until their owner tells the loop to end. Fewer start
// when the system refuses more; none is a valid answer the owner must handle. The owner ends
// its loops first, then lets this go, which joins them.

#include <cstddef>
#include <functional>
#include <sys/resource.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace pellmora {

class WorkerThreads {
    static constexpr int HelperNiceness = 10;

  public:
    WorkerThreads() = default;
    ~WorkerThreads() { Join(); }
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // The threads run below the priority of the thread that starts them: they only serve it,
    // and a window whose thread waits behind a dozen busy helpers answers late.
    void Start(size_t count, const std::function<void()>& loop) {
        try {
            for (size_t i = 0; i < count; ++i)
                threads_.emplace_back([loop] {
                    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), HelperNiceness);
                    loop();
                });
        } catch (const std::system_error&) {
            // The threads that did start still help.
        }
    }
    bool Empty() const { return threads_.empty(); }
    void Join() {
        for (std::thread& thread : threads_)
            if (thread.joinable()) thread.join();
    }

  private:
    std::vector<std::thread> threads_;
};

} // namespace pellmora
