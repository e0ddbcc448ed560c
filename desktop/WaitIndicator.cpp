#include "desktop/WaitIndicator.h"

#include <algorithm>
#include <cstdio>

#include "editing/EditableSupport.h"

namespace qv {

namespace {

constexpr std::int32_t kTextLeft = 16;
const toolkit::Font kStatusFont{"arial", 16, true};
const toolkit::Font kHintFont{"arial", 13, false};

void drawCentred(toolkit::Graphics& graphics, const toolkit::Rect& box, std::string_view text) {
    const toolkit::FontMetrics& metrics = graphics.metrics();
    std::int32_t x = box.x + (box.width - metrics.textWidth(text)) / 2;
    std::int32_t y = box.y + (box.height - metrics.height()) / 2 + metrics.ascent();
    graphics.drawText({x, y}, text);
}

}  // namespace

void WaitIndicator::whileWaiting(Kernel& kernel) {
    if (m_kernel == nullptr) {
        m_kernel = &kernel;
        m_since = Clock::now();
        m_stopping = false;
        m_shownStatus.clear();
        m_window.setCursor(toolkit::CursorKind::Wait);
    }
    // A repaint only when what the overlay says has changed.
    if (isOverlayShown() && statusText() != m_shownStatus) {
        m_shownStatus = statusText();
        m_window.repaint();
    }
    m_window.processPendingEvents();
}

void WaitIndicator::whileWorking(std::string_view status) {
    if (!m_working) {
        m_working = true;
        m_since = Clock::now();
        m_stopping = false;
        m_shownStatus.clear();
        m_window.setCursor(toolkit::CursorKind::Wait);
    }
    m_workStatus = status;
    if (isOverlayShown() && statusText() != m_shownStatus) {
        m_shownStatus = statusText();
        m_window.repaint();
    }
    m_window.processPendingEvents();
}

void WaitIndicator::finished() {
    if (!isWaiting()) return;
    m_kernel = nullptr;
    m_working = false;
    m_workStatus.clear();
    m_stopping = false;
    m_shownStatus.clear();
    m_window.setCursor(toolkit::CursorKind::Arrow);
    m_window.repaint();
}

bool WaitIndicator::isOverlayShown() const {
    return isWaiting() && Clock::now() - m_since >= kOverlayDelay;
}

std::string WaitIndicator::statusText() const {
    if (m_stopping) return "Stopping...";
    if (m_working) return m_workStatus;
    auto tenths =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_since).count() / 100;
    char text[64];
    std::snprintf(text, sizeof text, "Computing for %lld.%lld s",
                  static_cast<long long>(tenths / 10), static_cast<long long>(tenths % 10));
    return text;
}

void WaitIndicator::key(std::int32_t code) {
    if (code == toolkit::key::kEscape) stop();
}

void WaitIndicator::mouse(toolkit::MouseKind kind, toolkit::Point at) {
    if (kind == toolkit::MouseKind::Press && isOverlayShown() && stopButtonRect().contains(at))
        stop();
}

void WaitIndicator::stop() {
    if (!isWaiting() || m_stopping) return;
    m_stopping = true;
    if (m_kernel != nullptr) m_kernel->requestStop();
    m_window.repaint();
}

toolkit::Rect WaitIndicator::overlayRect() const {
    toolkit::Size area = m_window.size();
    toolkit::Size box{std::min(kOverlaySize.width, area.width),
                      std::min(kOverlaySize.height, area.height)};
    return {(area.width - box.width) / 2, (area.height - box.height) / 2, box.width, box.height};
}

toolkit::Rect WaitIndicator::stopButtonRect() const {
    toolkit::Rect box = overlayRect();
    return {box.right() - kStopButtonSize.width - kTextLeft,
            box.bottom() - kStopButtonSize.height - 12, kStopButtonSize.width,
            kStopButtonSize.height};
}

void WaitIndicator::paint(toolkit::Graphics& graphics) const {
    if (!isOverlayShown()) return;
    toolkit::Rect box = overlayRect();
    graphics.setColor(colors().view);
    graphics.fillRect(box);
    graphics.setColor(colors().accent);
    graphics.drawRect({box.x, box.y, box.width - 1, box.height - 1});
    graphics.drawRect({box.x + 1, box.y + 1, box.width - 3, box.height - 3});

    graphics.setFont(kStatusFont);
    graphics.setColor(colors().text);
    graphics.drawText({box.x + kTextLeft, box.y + 14 + graphics.metrics().ascent()}, statusText());
    graphics.setFont(kHintFont);
    toolkit::Rect button = stopButtonRect();
    std::int32_t hintBaseline =
        button.y + (button.height - graphics.metrics().height()) / 2 + graphics.metrics().ascent();
    graphics.drawText({box.x + kTextLeft, hintBaseline}, "Escape stops it");

    graphics.setColor(m_stopping ? colors().shade(2) : colors().shade(1));
    graphics.fillRect(button);
    graphics.setColor(colors().edge);
    graphics.drawRect({button.x, button.y, button.width - 1, button.height - 1});
    graphics.setFont(kStatusFont);
    graphics.setColor(colors().text);
    drawCentred(graphics, button, "Stop");
}

}  // namespace qv
