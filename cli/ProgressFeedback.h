// Shows on a terminal that a long computation is running: after a second
// without an answer, the elapsed time on stderr, updated every second, and
// erased when the computation ends.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "kernel/Kernel.h"

namespace qv::cli {

class ProgressFeedback final : public AbstractKernelFeedback {
    QV_OBJECT(ProgressFeedback, AbstractKernelFeedback, "ProgressFeedback")
  public:
    // Shows nothing unless stderr is a terminal.
    ProgressFeedback();
    ~ProgressFeedback() override;

    void computeStarted() override;
    void computeFinished() override;

  private:
    void report();

    bool m_enabled;
    bool m_running = false;
    bool m_shown = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_reporter;
};

}  // namespace qv::cli
