#pragma once
// A few threads that each run one loop until their owner tells the loop to end. When a thread
// cannot be started, the ones already running are stopped and joined: none is a valid answer the
// owner must handle, and the owner's work then goes on alone. The owner ends its loops first,
// then lets this go, which joins them.

#include <cstddef>
#include <functional>
#include <vector>

#include <pthread.h>

namespace pellmora {

class WorkerThreads {
  public:
    WorkerThreads() = default;
    ~WorkerThreads() { Join(); }
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // The threads run below the priority of the thread that starts them: they only serve it,
    // and a window whose thread waits behind a dozen busy helpers answers late. Their stacks are
    // small: a loop that reads files or lists folders keeps its buffers on the heap. stop tells
    // the loops to end; it is called here only when a start failed.
    void Start(size_t count, const std::function<void()>& loop, const std::function<void()>& stop);
    bool Empty() const { return threads_.empty(); }
    void Join();

  private:
    std::vector<pthread_t> threads_;
};

} // namespace pellmora
