#include "core/LargeStack.h"

#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>

namespace qv {

namespace {

thread_local bool t_onLargeStack = false;

struct Job {
    const std::function<void()>* work;
    std::exception_ptr error;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
};

void* runJob(void* argument) {
    auto* job = static_cast<Job*>(argument);
    t_onLargeStack = true;
    try {
        (*job->work)();
    } catch (...) {
        job->error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(job->mutex);
    job->done = true;
    job->finished.notify_all();
    return nullptr;
}

// Calls the hook while the work runs. A hook that fails is not called
// again; its error is raised once the work has ended, never while the work
// still uses this stack frame's job.
std::exception_ptr waitFor(Job& job, const std::function<void()>* whileWaiting,
                           int intervalMilliseconds) {
    std::exception_ptr failure;
    if (whileWaiting == nullptr) return failure;
    std::unique_lock<std::mutex> lock(job.mutex);
    while (!job.finished.wait_for(lock, std::chrono::milliseconds(intervalMilliseconds),
                                  [&] { return job.done; })) {
        if (failure) continue;
        lock.unlock();
        try {
            (*whileWaiting)();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
    }
    return failure;
}

void runAndWait(const std::function<void()>& work, const std::function<void()>* whileWaiting,
                int intervalMilliseconds) {
    if (t_onLargeStack) {
        work();
        return;
    }
    Job job{&work, nullptr, {}, {}, false};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_t thread;
    bool started = pthread_attr_setstacksize(&attributes, kLargeStackBytes) == 0 &&
                   pthread_create(&thread, &attributes, runJob, &job) == 0;
    pthread_attr_destroy(&attributes);
    if (!started) {
        // Without a thread the work still runs, with the caller's stack.
        work();
        return;
    }
    std::exception_ptr hookFailure = waitFor(job, whileWaiting, intervalMilliseconds);
    pthread_join(thread, nullptr);
    if (job.error) std::rethrow_exception(job.error);
    if (hookFailure) std::rethrow_exception(hookFailure);
}

}  // namespace

void runOnLargeStack(const std::function<void()>& work) {
    runAndWait(work, nullptr, 0);
}

void runOnLargeStack(const std::function<void()>& work, const std::function<void()>& whileWaiting,
                     int intervalMilliseconds) {
    runAndWait(work, &whileWaiting, intervalMilliseconds);
}

}  // namespace qv
