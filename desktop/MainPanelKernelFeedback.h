// The main panel's listener on its kernels' computations: after one, the
// window shows the arrow cursor again. It refers to the window, not the
// panel, and forgets it when the panel goes (a kernel may outlive it in a
// view a command still holds).
#pragma once

#include "kernel/KernelFeedback.h"
#include "toolkit/Window.h"

namespace qv {

class MainPanelKernelFeedback final : public AbstractKernelFeedback {
    QV_OBJECT(MainPanelKernelFeedback, AbstractKernelFeedback, "MainPanelKernelFeedback")
  public:
    explicit MainPanelKernelFeedback(toolkit::Window* window) : m_window(window) {}

    void computeStarted() override {}
    void computeFinished() override {
        if (m_window != nullptr) m_window->setCursor(toolkit::CursorKind::Arrow);
    }
    void forgetWindow() noexcept { m_window = nullptr; }

  private:
    toolkit::Window* m_window;
};

}  // namespace qv
