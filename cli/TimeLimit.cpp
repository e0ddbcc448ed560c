#include "cli/TimeLimit.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "kernel/ValueKinds.h"

namespace qv::cli {

namespace {

// Longer limits are no limits; the bound keeps the deadline within the clock.
constexpr double kMaxSeconds = 365.0 * 24 * 3600;

}  // namespace

std::optional<double> TimeLimit::parseSeconds(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const char* begin = text.c_str();
    char* end = nullptr;
    double seconds = std::strtod(begin, &end);
    if (end != begin + text.size() || !std::isfinite(seconds)) return std::nullopt;
    if (!(seconds > 0) || seconds > kMaxSeconds) return std::nullopt;
    return seconds;
}

TimeLimit::TimeLimit(double seconds)
    : m_seconds(seconds),
      m_deadline(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                    std::chrono::duration<double>(seconds))) {}

TimeLimit::~TimeLimit() {
    // The kernel may outlive the command (kept until the process exits).
    if (!m_kernel.isNull()) m_kernel->setWaitingHook({});
}

void TimeLimit::watch(const Pointer<Kernel>& kernel) {
    m_kernel = kernel;
    kernel->setWaitingHook([this] { check(); });
}

void TimeLimit::check() {
    if (Clock::now() < m_deadline) return;
    m_stopped = true;
    if (!m_kernel.isNull()) m_kernel->requestStop();
}

bool TimeLimit::passed() {
    if (!m_stopped) check();
    return m_stopped;
}

std::string TimeLimit::message() const {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", m_seconds);
    return std::string(kStoppedText) + ": the time limit of " + seconds + " s passed";
}

}  // namespace qv::cli
