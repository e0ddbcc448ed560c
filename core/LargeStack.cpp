#include "core/LargeStack.h"

#include <pthread.h>

#include <exception>
#include <stdexcept>

namespace qv {

namespace {

thread_local bool t_onLargeStack = false;

struct Job {
    const std::function<void()>* work;
    std::exception_ptr error;
};

void* runJob(void* argument) {
    auto* job = static_cast<Job*>(argument);
    t_onLargeStack = true;
    try {
        (*job->work)();
    } catch (...) {
        job->error = std::current_exception();
    }
    return nullptr;
}

}  // namespace

void runOnLargeStack(const std::function<void()>& work) {
    if (t_onLargeStack) {
        work();
        return;
    }
    Job job{&work, nullptr};
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
    pthread_join(thread, nullptr);
    if (job.error) std::rethrow_exception(job.error);
}

}  // namespace qv
