#include "editing/ScrollDecorator.h"

#include <algorithm>

#include "core/Assert.h"
#include "editing/EditableSupport.h"
#include "editing/Positions.h"

namespace qv {

ScrollDecorator::ScrollDecorator(const Pointer<AbstractEditable>& view) : m_view(view) {
    QV_ASSERT(!view.isNull());
    adopt(m_view);
}

ScrollDecorator::~ScrollDecorator() {
    release(m_view);
}

toolkit::Rect ScrollDecorator::viewport() const {
    const toolkit::Rect& box = bounds();
    return {box.x, box.y, std::max(0, box.width - (m_verticalBar ? kBarWidth : 0)),
            std::max(0, box.height - (m_horizontalBar ? kBarWidth : 0))};
}

toolkit::Point ScrollDecorator::scrollRange() const {
    toolkit::Rect shown = viewport();
    return {std::max(0, m_view->bounds().width - shown.width),
            std::max(0, m_view->bounds().height - shown.height)};
}

void ScrollDecorator::scrollTo(toolkit::Point offset) {
    toolkit::Point range = scrollRange();
    toolkit::Point clamped{std::clamp(offset.x, 0, range.x), std::clamp(offset.y, 0, range.y)};
    if (clamped == m_scroll) return;
    m_scroll = clamped;
    repaint();
}

void ScrollDecorator::layoutWidth(std::int32_t widthHint) {
    m_view->layoutWidth(widthHint);
    std::int32_t tallest = m_view->tallestUnscrolled();
    if (tallest > 0 && m_view->bounds().height > tallest) {
        // The bar is taken from the hint where the view can give it up.
        std::int32_t width = std::max(std::min(m_view->bounds().width + kBarWidth, widthHint),
                                      m_view->minimumWidth() + kBarWidth);
        // The scroll position stays: layouts come after every change.
        layoutSize({width, tallest});
        return;
    }
    m_verticalBar = m_horizontalBar = false;
    m_scroll = {};
    // All of the view shows: the area it asks for is in sight here, and
    // must not scroll a later, taller layout.
    m_view->takeAreaToShow();
    setBounds({0, 0, m_view->bounds().width, m_view->bounds().height});
}

void ScrollDecorator::layoutSize(toolkit::Size size) {
    m_verticalBar = m_horizontalBar = false;
    toolkit::Size shown = size;
    m_view->layoutSize(shown);
    // A bar takes room from the other direction, which may call for the
    // other bar: two rounds settle it.
    for (int round = 0; round < 2; ++round) {
        if (!m_verticalBar && m_view->bounds().height > shown.height) {
            m_verticalBar = true;
            shown.width = std::max(0, shown.width - kBarWidth);
            m_view->layoutSize(shown);
        }
        if (!m_horizontalBar && m_view->bounds().width > shown.width) {
            m_horizontalBar = true;
            shown.height = std::max(0, shown.height - kBarWidth);
            m_view->layoutSize(shown);
        }
    }
    setBounds({0, 0, size.width, size.height});
    toolkit::Point range = scrollRange();
    m_scroll = {std::clamp(m_scroll.x, 0, range.x), std::clamp(m_scroll.y, 0, range.y)};
    // The view's own wish first: an area asked for since (a key) wins.
    if (std::optional<toolkit::Rect> wanted = m_view->takeAreaToShow()) scrollToShow(*wanted);
    if (m_pendingVisible) {
        scrollToShow(m_pendingVisible->translated(m_view->bounds().x, m_view->bounds().y));
        m_pendingVisible.reset();
    }
}

void ScrollDecorator::moveBy(toolkit::Point delta) {
    AbstractEditable::moveBy(delta);
    m_view->moveBy(delta);
}

void ScrollDecorator::attach(EditableSupport* support) {
    AbstractEditable::attach(support);
    m_view->attach(support);
}

toolkit::Rect ScrollDecorator::barRect(Bar bar) const {
    toolkit::Rect shown = viewport();
    if (bar == Bar::Vertical) return {shown.right(), shown.y, kBarWidth, shown.height};
    return {shown.x, shown.bottom(), shown.width, kBarWidth};
}

ScrollGeometry ScrollDecorator::geometry(Bar bar) const {
    if (bar == Bar::Vertical) {
        return {ScrollAxis::Vertical, barRect(bar), std::max(1, m_view->bounds().height),
                viewport().height,    m_scroll.y,   scrollRange().y};
    }
    return {ScrollAxis::Horizontal, barRect(bar), std::max(1, m_view->bounds().width),
            viewport().width,       m_scroll.x,   scrollRange().x};
}

ScrollDecorator::Bar ScrollDecorator::barAt(toolkit::Point point) const {
    if (m_verticalBar && barRect(Bar::Vertical).contains(point)) return Bar::Vertical;
    if (m_horizontalBar && barRect(Bar::Horizontal).contains(point)) return Bar::Horizontal;
    return Bar::None;
}

void ScrollDecorator::pressBar(Bar bar, toolkit::Point point) {
    const ScrollGeometry bars = geometry(bar);
    const std::int32_t side = bars.sideOfThumb(point);
    if (side == 0) {
        m_dragging = bar;
        m_grip = bars.gripAt(point);
        if (support() != nullptr) support()->grabMouse(self());
        return;
    }
    // A press on the track beside the thumb turns one page that way.
    toolkit::Rect shown = viewport();
    if (bar == Bar::Vertical) {
        scrollTo({m_scroll.x, m_scroll.y + side * shown.height});
    } else {
        scrollTo({m_scroll.x + side * shown.width, m_scroll.y});
    }
}

void ScrollDecorator::dragThumb(toolkit::Point point) {
    auto offset = static_cast<std::int32_t>(geometry(m_dragging).offsetForDrag(point, m_grip));
    scrollTo(m_dragging == Bar::Vertical ? toolkit::Point{m_scroll.x, offset}
                                         : toolkit::Point{offset, m_scroll.y});
}

bool ScrollDecorator::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    if (m_dragging != Bar::None) {
        if (kind == MouseKind::Drag) dragThumb(info.point());
        if (kind == MouseKind::Release) m_dragging = Bar::None;
        return true;
    }
    Bar bar = barAt(info.point());
    if (bar != Bar::None) {
        if (kind == MouseKind::Press || kind == MouseKind::DoubleClick) pressBar(bar, info.point());
        if (kind == MouseKind::Move && support() != nullptr) {
            support()->window().setCursor(toolkit::CursorKind::Arrow);
        }
        return true;
    }
    return m_view->handleMouse(kind, info.shifted(m_scroll.x, m_scroll.y));
}

bool ScrollDecorator::handleWheel(std::int32_t steps) {
    toolkit::Point before = m_scroll;
    scrollTo({m_scroll.x, m_scroll.y - steps * kWheelStep});
    return !(before == m_scroll);
}

void ScrollDecorator::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect shown = viewport().translated(origin.x, origin.y);
    if (shown.intersected(graphics.clip()).isEmpty() && !m_verticalBar && !m_horizontalBar) return;
    {
        toolkit::GraphicsScope scope(graphics, shown);
        m_view->paint(graphics, {origin.x - m_scroll.x, origin.y - m_scroll.y});
    }
    if (m_verticalBar) paintBar(graphics, origin, Bar::Vertical);
    if (m_horizontalBar) paintBar(graphics, origin, Bar::Horizontal);
    if (m_verticalBar && m_horizontalBar) {
        graphics.setColor(colors().shade(2));
        graphics.fillRect({shown.right(), shown.bottom(), kBarWidth, kBarWidth});
    }
}

void ScrollDecorator::paintBar(toolkit::Graphics& graphics, toolkit::Point origin, Bar bar) const {
    toolkit::Rect track = barRect(bar).translated(origin.x, origin.y);
    graphics.setColor(colors().shade(2));
    graphics.fillRect(track);
    toolkit::Rect thumb = geometry(bar).thumb().translated(origin.x, origin.y);
    graphics.setColor(m_dragging == bar ? colors().accent : colors().edge);
    graphics.fillRect({thumb.x + 2, thumb.y + 2, thumb.width - 4, thumb.height - 4});
}

Pointer<AbstractPosition> ScrollDecorator::detach(const Pointer<AbstractEditable>& editable) {
    return detachFrom(*m_view, editable);
}

bool ScrollDecorator::drop(const Pointer<AbstractEditable>& editable,
                           const Pointer<AbstractPosition>& position) {
    return dropInto(*m_view, editable, position);
}

Pointer<AbstractPosition> ScrollDecorator::dropPositionAt(
    std::int32_t x, std::int32_t y, const Pointer<AbstractEditable>& editable) {
    if (!viewport().contains({x, y})) return {};
    return dropPositionIn(*m_view, x + m_scroll.x, y + m_scroll.y, editable);
}

bool ScrollDecorator::showDropTarget(std::int32_t x, std::int32_t y,
                                     const AbstractEditable& dragged) {
    if (!viewport().contains({x, y})) return false;
    return showDropTargetIn(*m_view, x + m_scroll.x, y + m_scroll.y, dragged);
}

Pointer<AbstractEditable> ScrollDecorator::hitTest(std::int32_t x, std::int32_t y, bool deep) {
    if (!bounds().contains({x, y})) return {};
    if (deep && viewport().contains({x, y})) {
        Pointer<AbstractEditable> inner = m_view->hitTest(x + m_scroll.x, y + m_scroll.y, true);
        if (!inner.isNull()) return inner;
    }
    return self();
}

// `area` is in the view's coordinates: scrolled so that it is in sight,
// then what shows of it is passed on to the containers above.
void ScrollDecorator::ensureVisible(const toolkit::Rect& area) {
    if (support() != nullptr && !support()->isLayoutValid()) {
        // Kept relative to the view: the layout to come places it anew.
        m_pendingVisible = area.translated(-m_view->bounds().x, -m_view->bounds().y);
    }
    scrollToShow(area);
    AbstractEditable::ensureVisible(
        area.translated(-m_scroll.x, -m_scroll.y).intersected(viewport()));
}

void ScrollDecorator::scrollToShow(const toolkit::Rect& area) {
    toolkit::Rect shown = viewport();
    toolkit::Point offset = m_scroll;
    if (area.bottom() > shown.bottom() + offset.y) offset.y = area.bottom() - shown.bottom();
    if (area.y < shown.y + offset.y) offset.y = area.y - shown.y;
    if (area.right() > shown.right() + offset.x) offset.x = area.right() - shown.right();
    if (area.x < shown.x + offset.x) offset.x = area.x - shown.x;
    scrollTo(offset);
}

}  // namespace qv
