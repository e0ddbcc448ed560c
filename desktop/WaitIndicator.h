// What the window shows while the kernel computes on its computing thread.
// The window's thread then waits in the kernel's waiting hook, which calls
// whileWaiting about every 50 ms: the wait cursor comes at once, and after
// half a second an overlay says that the kernel is computing and for how
// long, with a Stop button. Each call lets the window repaint and take
// input; Escape or a press on Stop asks the kernel to stop. While waiting,
// the window paints only the overlay, over the frame it painted last: the
// kernel and the views belong to the computation until it ends.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "kernel/Kernel.h"
#include "toolkit/Window.h"

namespace qv {

class WaitIndicator {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kOverlayDelay{500};
    static constexpr toolkit::Size kOverlaySize{320, 100};
    static constexpr toolkit::Size kStopButtonSize{80, 26};

    explicit WaitIndicator(toolkit::Window& window) : m_window(window) {}
    WaitIndicator(const WaitIndicator&) = delete;
    WaitIndicator& operator=(const WaitIndicator&) = delete;

    // The kernel's waiting hook, for the kernel that computes.
    void whileWaiting(Kernel& kernel);
    // Long work of the window's own thread (a PDF written page by page),
    // called between its steps: the same cursor and overlay, with `status`
    // ("Writing page 3 of 40") for the overlay's text. Stop and Escape make
    // isStopping() true; the work asks it and ends.
    void whileWorking(std::string_view status);
    // The computation (or work) has ended: the arrow cursor again and a
    // whole new frame painted.
    void finished();

    bool isWaiting() const noexcept { return m_kernel != nullptr || m_working; }
    bool isOverlayShown() const;
    bool isStopping() const noexcept { return m_stopping; }

    // Input while waiting; the window ignores every other event meanwhile.
    void key(std::int32_t code);
    void mouse(toolkit::MouseKind kind, toolkit::Point at);
    // The overlay, when it is due; nothing before.
    void paint(toolkit::Graphics& graphics) const;

    // Centred in the work area.
    toolkit::Rect overlayRect() const;
    toolkit::Rect stopButtonRect() const;
    // "Computing for 2.4 s", or "Stopping..." once a stop was asked for.
    std::string statusText() const;

  private:
    void stop();

    const toolkit::Palette& colors() const noexcept { return m_window.palette(); }

    toolkit::Window& m_window;
    Kernel* m_kernel = nullptr;
    bool m_working = false;
    std::string m_workStatus;
    Clock::time_point m_since;
    std::string m_shownStatus;
    bool m_stopping = false;
};

}  // namespace qv
