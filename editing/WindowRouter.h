// Routes one window's events to its editables: the work area of the main
// window and the source window both hand their window events to one. Before
// an event it shows the error an editable left pending, after a mouse event
// or a key too; mouse events update the MouseInfo and go to the support's
// layout root, keys to the root, wheel notches to the owner's wheel target;
// paint lays out what is stale and paints the root. It offers screen
// readers the work area's nodes.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "editing/EditableAccessible.h"
#include "editing/EditableSupport.h"
#include "editing/MouseInfo.h"
#include "toolkit/Window.h"

namespace qv {

class WindowRouter {
  public:
    // The caption of the notices the router shows.
    static constexpr const char* kProductName = "Quorvatelle";

    // Wheel notches at a window point; true when something scrolled.
    using WheelTarget = std::function<bool(std::int32_t steps, toolkit::Point at)>;

    WindowRouter(toolkit::Window& window, EditableSupport& support, WheelTarget wheel)
        : m_window(window), m_support(support), m_wheel(std::move(wheel)), m_access(support) {}

    const MouseInfo& mouseInfo() const noexcept { return m_mouse; }
    // Shows the error an editable left, if any, as a notice.
    void showPendingError();

    // Then tells screen readers what changed: what the user sees, they hear.
    void paint(toolkit::Graphics& graphics);
    const AccessibilityTracker& accessibility() const noexcept { return m_access; }
    void resized();
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers);
    void wheel(std::int32_t steps, toolkit::Point position);
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers);

  private:
    toolkit::Window& m_window;
    EditableSupport& m_support;
    WheelTarget m_wheel;
    MouseInfo m_mouse;
    AccessibilityTracker m_access;
};

}  // namespace qv
