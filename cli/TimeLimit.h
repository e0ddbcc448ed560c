// A bound on the time a command of qvl may compute. Once it has passed, the
// kernel is asked to stop: the cells not computed yet say "calculation
// stopped", the command prints what it has, and it ends with a failure.
//
// The kernel calls its waiting hook about every 50 ms while it computes, so
// the limit is looked at there rather than by a timer thread of its own.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "kernel/Kernel.h"

namespace qv::cli {

class TimeLimit {
  public:
    using Clock = std::chrono::steady_clock;

    // The seconds of "--time-limit SECONDS": a number above 0, fractions
    // allowed, at most a year; nothing for any other text.
    static std::optional<double> parseSeconds(const std::string& text);

    // Counts from now; `seconds` as parseSeconds gives them.
    explicit TimeLimit(double seconds);
    ~TimeLimit();
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;

    // Watches the computations of `kernel` until this limit ends.
    void watch(const Pointer<Kernel>& kernel);
    // Whether the limit has passed, looked at now: for work done in many
    // short computations, between them. Once it has, it stops the kernel as
    // the waiting hook does and counts as having stopped it.
    bool passed();
    // Whether the limit stopped a computation.
    bool stoppedComputing() const noexcept { return m_stopped; }
    // "calculation stopped: the time limit of 1.5 s passed".
    std::string message() const;

  private:
    void check();

    double m_seconds;
    Clock::time_point m_deadline;
    Pointer<Kernel> m_kernel;
    bool m_stopped = false;
};

}  // namespace qv::cli
