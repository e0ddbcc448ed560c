#include "editing/WindowRouter.h"

#include <string>

namespace qv {

void WindowRouter::showPendingError() {
    if (!m_support.hasPendingError()) return;
    std::string message = m_support.takePendingError();
    m_window.showMessageBox(message, kProductName, toolkit::MessageBoxKind::Notice);
}

void WindowRouter::paint(toolkit::Graphics& graphics) {
    m_support.layoutIfNeeded();
    const Pointer<AbstractEditable>& root = m_support.layoutRoot();
    if (!root.isNull()) root->paint(graphics, {0, 0});
    m_access.update();
}

void WindowRouter::resized() {
    m_support.invalidateLayout();
    m_window.repaint();
}

void WindowRouter::mouse(toolkit::MouseKind kind, toolkit::Point position,
                         std::uint32_t modifiers) {
    showPendingError();
    m_support.layoutIfNeeded();
    m_mouse.update(kind, position, modifiers, m_support.visibleArea());
    const Pointer<AbstractEditable> root = m_support.layoutRoot();
    if (!root.isNull()) root->handleMouse(kind, m_mouse);
    // Shown at once rather than with the next event, which may be long in
    // coming.
    showPendingError();
    m_window.repaint();
}

void WindowRouter::wheel(std::int32_t steps, toolkit::Point position) {
    showPendingError();
    m_support.layoutIfNeeded();
    if (m_wheel && m_wheel(steps, position)) m_window.repaint();
}

void WindowRouter::key(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    showPendingError();
    m_support.layoutIfNeeded();
    const Pointer<AbstractEditable> root = m_support.layoutRoot();
    if (!root.isNull()) root->handleKey(code, text, modifiers);
    showPendingError();
    m_window.repaint();
}

}  // namespace qv
