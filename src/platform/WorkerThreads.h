#pragma once
// A few threads that each run one loop until their owner tells the loop to end. Fewer start
// when the system refuses more; none is a valid answer the owner must handle. The owner ends
// its loops first, then lets this go, which joins them.

#include <cstddef>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

namespace pellmora {

class WorkerThreads {
  public:
    WorkerThreads() = default;
    ~WorkerThreads() { Join(); }
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    void Start(size_t count, const std::function<void()>& loop) {
        try {
            for (size_t i = 0; i < count; ++i)
                threads_.emplace_back(loop);
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
