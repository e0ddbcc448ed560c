#include "desktop/ZoomedWindow.h"

#include "desktop/ZoomedAccessible.h"
#include "desktop/ZoomedGraphics.h"

namespace qv {

bool ZoomedWindow::setPercent(std::int32_t percent) {
    std::int32_t before = m_zoom.percent();
    m_zoom.setPercent(percent);
    return changed(before);
}

bool ZoomedWindow::zoomIn() {
    std::int32_t before = m_zoom.percent();
    m_zoom.zoomIn();
    return changed(before);
}

bool ZoomedWindow::zoomOut() {
    std::int32_t before = m_zoom.percent();
    m_zoom.zoomOut();
    return changed(before);
}

bool ZoomedWindow::changed(std::int32_t before) {
    if (m_zoom.percent() == before) return false;
    if (m_listener != nullptr) m_listener->resized(size());
    m_window.repaint();
    return true;
}

toolkit::Size ZoomedWindow::size() const {
    return m_zoom.toWorkArea(m_window.size());
}

void ZoomedWindow::popupMenu(const toolkit::MenuBar& items, toolkit::Point at) {
    m_window.popupMenu(items, m_zoom.toWindow(at));
}

void ZoomedWindow::postMessage(toolkit::PostedMessage message) {
    m_window.postMessage(std::move(message));
}

void ZoomedWindow::setAccessibleRoot(std::shared_ptr<toolkit::AccessibleNode> root) {
    m_window.setAccessibleRoot(zoomedNode(std::move(root), m_sharedZoom));
}

void ZoomedWindow::accessibleChanged(toolkit::AccessibleChange change,
                                     const std::shared_ptr<toolkit::AccessibleNode>& node) {
    m_window.accessibleChanged(change, zoomedNode(node, m_sharedZoom));
}

void ZoomedWindow::paint(toolkit::Graphics& graphics, const toolkit::Rect& area) {
    if (m_listener == nullptr) return;
    if (m_zoom.isNormal()) return m_listener->paint(graphics, area);
    ZoomedGraphics zoomed(graphics, m_zoom,
                          [this](const toolkit::Font& font) { return m_window.metrics(font); });
    m_listener->paint(zoomed, m_zoom.toWorkArea(area));
}

void ZoomedWindow::resized(toolkit::Size size) {
    if (m_listener != nullptr) m_listener->resized(m_zoom.toWorkArea(size));
}

void ZoomedWindow::mouse(toolkit::MouseKind kind, toolkit::Point position,
                         std::uint32_t modifiers) {
    if (m_listener != nullptr) m_listener->mouse(kind, m_zoom.toWorkArea(position), modifiers);
}

void ZoomedWindow::wheel(std::int32_t steps, toolkit::Point position, std::uint32_t modifiers) {
    if (m_listener != nullptr) m_listener->wheel(steps, m_zoom.toWorkArea(position), modifiers);
}

void ZoomedWindow::key(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    if (m_listener != nullptr) m_listener->key(code, text, modifiers);
}

void ZoomedWindow::menuChosen(std::int32_t id) {
    if (m_listener != nullptr) m_listener->menuChosen(id);
}

void ZoomedWindow::message(const toolkit::PostedMessage& message) {
    if (m_listener != nullptr) m_listener->message(message);
}

void ZoomedWindow::timer(std::int32_t id) {
    if (m_listener != nullptr) m_listener->timer(id);
}

void ZoomedWindow::closeRequested() {
    if (m_listener != nullptr) m_listener->closeRequested();
}

}  // namespace qv
