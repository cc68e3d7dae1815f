// A start that fails half-way must not leave the threads already running waiting for ever, nor
// let their owner think it has helpers.

#include "platform/WorkerThreads.h"

#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <stdexcept>

namespace {

// A loop whose copies fail after a few: the start of the next thread throws while copying it.
struct FailingCopy {
    std::atomic<int>* copies;
    std::function<void()> body;
    FailingCopy(std::atomic<int>* c, std::function<void()> b) : copies(c), body(std::move(b)) {}
    FailingCopy(const FailingCopy& other) : copies(other.copies), body(other.body) {
        if (++*copies > 3) throw std::runtime_error("no thread for you");
    }
    void operator()() const { body(); }
};

TEST(WorkerThreads, AFailedStartStopsAndJoinsTheThreadsAlreadyRunning) {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopped = false;
    std::atomic<int> copies{0};
    const FailingCopy loop(&copies, [&] {
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return stopped; });
    });
    pellmora::WorkerThreads threads;
    threads.Start(8, loop, [&] {
        std::lock_guard lock(mutex);
        stopped = true;
        wake.notify_all();
    });
    EXPECT_TRUE(threads.Empty());
    EXPECT_TRUE(stopped); // and the joins returned: no thread waits on
}

} // namespace
