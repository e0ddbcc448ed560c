#include "editing/WorkAreaScroll.h"

#include <algorithm>

#include "editing/EditableSupport.h"

namespace qv {

namespace {

constexpr std::int32_t kBar = ScrollGeometry::kBarWidth;

}  // namespace

void WorkAreaScroll::fit(const toolkit::Rect& full, toolkit::Point reach) {
    m_full = full;
    m_reach = reach;
    m_vertical = false;
    m_horizontal = false;
    m_area = full;
    // A bar along one edge narrows the area and may call for the other.
    for (int round = 0; round < 2; ++round) {
        if (!m_vertical && reach.y > m_area.bottom()) {
            m_vertical = true;
            m_area.width = std::max(0, m_area.width - kBar);
        }
        if (!m_horizontal && reach.x > m_area.right()) {
            m_horizontal = true;
            m_area.height = std::max(0, m_area.height - kBar);
        }
    }
    scrollTo(m_offset);
}

toolkit::Point WorkAreaScroll::range() const {
    return {std::max(0, m_reach.x - m_area.right()), std::max(0, m_reach.y - m_area.bottom())};
}

void WorkAreaScroll::scrollTo(toolkit::Point offset) {
    toolkit::Point most = range();
    m_offset = {std::clamp(offset.x, 0, most.x), std::clamp(offset.y, 0, most.y)};
}

bool WorkAreaScroll::wheel(std::int32_t steps) {
    toolkit::Point before = m_offset;
    scrollTo({m_offset.x, m_offset.y - steps * kWheelStep});
    return before != m_offset;
}

toolkit::Rect WorkAreaScroll::barRect(ScrollAxisChoice bar) const {
    if (bar == ScrollAxisChoice::Vertical) return {m_area.right(), m_area.y, kBar, m_area.height};
    return {m_area.x, m_area.bottom(), m_area.width, kBar};
}

ScrollGeometry WorkAreaScroll::geometry(ScrollAxisChoice bar) const {
    toolkit::Point most = range();
    if (bar == ScrollAxisChoice::Vertical) {
        return {ScrollAxis::Vertical, barRect(bar), most.y + m_area.height,
                m_area.height,        m_offset.y,   most.y};
    }
    return {ScrollAxis::Horizontal, barRect(bar), most.x + m_area.width,
            m_area.width,           m_offset.x,   most.x};
}

WorkAreaScroll::ScrollAxisChoice WorkAreaScroll::barAt(toolkit::Point point) const {
    if (m_vertical && barRect(ScrollAxisChoice::Vertical).contains(point))
        return ScrollAxisChoice::Vertical;
    if (m_horizontal && barRect(ScrollAxisChoice::Horizontal).contains(point))
        return ScrollAxisChoice::Horizontal;
    return ScrollAxisChoice::None;
}

bool WorkAreaScroll::isOnBars(toolkit::Point point) const {
    return m_full.contains(point) && !m_area.contains(point);
}

bool WorkAreaScroll::handleMouse(toolkit::MouseKind kind, toolkit::Point point) {
    using toolkit::MouseKind;
    if (m_dragging != ScrollAxisChoice::None) {
        if (kind == MouseKind::Drag) {
            auto to = static_cast<std::int32_t>(geometry(m_dragging).offsetForDrag(point, m_grip));
            scrollTo(m_dragging == ScrollAxisChoice::Vertical ? toolkit::Point{m_offset.x, to}
                                                              : toolkit::Point{to, m_offset.y});
        }
        if (kind == MouseKind::Release) m_dragging = ScrollAxisChoice::None;
        return true;
    }
    if (!isOnBars(point)) return false;
    ScrollAxisChoice bar = barAt(point);
    if (bar == ScrollAxisChoice::None ||
        (kind != MouseKind::Press && kind != MouseKind::DoubleClick))
        return true;
    const ScrollGeometry bars = geometry(bar);
    const std::int32_t side = bars.sideOfThumb(point);
    if (side == 0) {
        m_dragging = bar;
        m_grip = bars.gripAt(point);
    } else if (bar == ScrollAxisChoice::Vertical) {
        // Beside the thumb: one page that way.
        scrollTo({m_offset.x, m_offset.y + side * m_area.height});
    } else {
        scrollTo({m_offset.x + side * m_area.width, m_offset.y});
    }
    return true;
}

void WorkAreaScroll::paint(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                           toolkit::Point origin) const {
    for (ScrollAxisChoice bar : {ScrollAxisChoice::Vertical, ScrollAxisChoice::Horizontal}) {
        if (bar == ScrollAxisChoice::Vertical ? !m_vertical : !m_horizontal) continue;
        const ScrollGeometry bars = geometry(bar);
        graphics.setColor(colors.shade(2));
        graphics.fillRect(bars.track().translated(origin.x, origin.y));
        toolkit::Rect thumb = bars.thumb().translated(origin.x, origin.y);
        graphics.setColor(m_dragging == bar ? colors.accent : colors.edge);
        graphics.fillRect({thumb.x + 2, thumb.y + 2, thumb.width - 4, thumb.height - 4});
    }
    if (m_vertical && m_horizontal) {
        graphics.setColor(colors.shade(2));
        graphics.fillRect({origin.x + m_area.right(), origin.y + m_area.bottom(), kBar, kBar});
    }
}

}  // namespace qv
