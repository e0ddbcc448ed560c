#include "cli/ProgressFeedback.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace qv::cli {

ProgressFeedback::ProgressFeedback() : m_enabled(isatty(STDERR_FILENO) == 1) {}

ProgressFeedback::~ProgressFeedback() {
    computeFinished();
}

void ProgressFeedback::computeStarted() {
    if (!m_enabled || m_running) return;
    m_running = true;
    m_reporter = std::thread([this] { report(); });
}

void ProgressFeedback::computeFinished() {
    if (!m_running) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
    }
    m_wake.notify_all();
    m_reporter.join();
    if (m_shown) std::fputs("\r\033[K", stderr);
    m_shown = false;
}

void ProgressFeedback::report() {
    using namespace std::chrono;
    auto start = steady_clock::now();
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, seconds(1), [this] { return !m_running; })) {
        auto elapsed = duration_cast<seconds>(steady_clock::now() - start).count();
        std::fprintf(stderr, "\rqvl: computing... %lld s", static_cast<long long>(elapsed));
        std::fflush(stderr);
        m_shown = true;
    }
}

}  // namespace qv::cli
