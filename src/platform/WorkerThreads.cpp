#include "platform/WorkerThreads.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace pellmora {

namespace {

constexpr int HelperNiceness = 10; // below the thread that starts them
constexpr int LowestPriority = 19;
// The loops need a few kilobytes; the default of 8 MiB per thread is address space for nothing.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t StackBytes = size_t{1} << 20; // the sanitizer's red zones widen every frame
#else
constexpr size_t StackBytes = size_t{256} << 10;
#endif

int CallerNiceness() {
    errno = 0;
    const int niceness = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    return errno == 0 ? niceness : 0;
}

struct Launch {
    std::function<void()> Loop;
    int Niceness = 0;
};

void* RunLoop(void* argument) {
    const std::unique_ptr<Launch> launch(static_cast<Launch*>(argument));
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), launch->Niceness);
    launch->Loop();
    return nullptr;
}

} // namespace

void WorkerThreads::Start(size_t count, const std::function<void()>& loop,
                          const std::function<void()>& stop) {
    const int niceness = std::min(CallerNiceness() + HelperNiceness, LowestPriority);
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) return;
    pthread_attr_setstacksize(&attributes, StackBytes);
    bool failed = false;
    try {
        threads_.reserve(threads_.size() + count);
        for (size_t i = 0; i < count && !failed; ++i) {
            auto launch = std::make_unique<Launch>(Launch{loop, niceness});
            pthread_t thread{};
            failed = pthread_create(&thread, &attributes, RunLoop, launch.get()) != 0;
            if (failed) break;
            launch.release(); // the thread owns it now
            threads_.push_back(thread);
        }
    } catch (...) {
        failed = true;
    }
    pthread_attr_destroy(&attributes);
    if (!failed) return;
    stop();
    Join();
}

void WorkerThreads::Join() {
    for (const pthread_t thread : threads_)
        pthread_join(thread, nullptr);
    threads_.clear();
}

} // namespace pellmora
