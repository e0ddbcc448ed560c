#include "views/SpliterEditable.h"

#include <algorithm>

#include "editing/EditableSupport.h"

namespace qv {

SpliterEditable::SpliterEditable(const Pointer<AbstractEditable>& left,
                                 const Pointer<AbstractEditable>& right)
    : m_left(make<ScrollDecorator>(left)), m_right(make<ScrollDecorator>(right)) {
    adopt(m_left);
    adopt(m_right);
}

SpliterEditable::~SpliterEditable() {
    release(m_left);
    release(m_right);
}

toolkit::Rect SpliterEditable::dividerRect() const {
    return {bounds().x + m_leftWidth, bounds().y, kDivider, bounds().height};
}

void SpliterEditable::refresh() {
    m_left->refresh();
    m_right->refresh();
}

std::int32_t SpliterEditable::maximumWidth() const {
    return m_left->maximumWidth() + kDivider + m_right->maximumWidth();
}

void SpliterEditable::layoutWidth(std::int32_t widthHint) {
    std::int32_t width = std::max(widthHint, minimumWidth());
    m_left->layoutWidth(width / 3);
    std::int32_t leftWidth = std::max(m_left->bounds().width, kNarrowestSide);
    m_right->layoutWidth(std::max(width - leftWidth - kDivider, kNarrowestRight));
    std::int32_t rightWidth = std::max(m_right->bounds().width, kNarrowestRight);
    std::int32_t height =
        std::clamp(std::max(m_left->bounds().height, m_right->bounds().height), kLowest, kHighest);
    m_leftWidth = leftWidth;
    setBounds({0, 0, leftWidth + kDivider + rightWidth, height});
    arrange({leftWidth + kDivider + rightWidth, height});
}

void SpliterEditable::layoutSize(toolkit::Size size) {
    toolkit::Size laid{std::max(size.width, minimumWidth()), std::max(size.height, kLowest / 2)};
    if (m_leftWidth == 0) m_leftWidth = laid.width / 3;
    setBounds({0, 0, laid.width, laid.height});
    arrange(laid);
}

void SpliterEditable::arrange(toolkit::Size size) {
    m_leftWidth = std::clamp(m_leftWidth, kNarrowestSide, size.width - kDivider - kNarrowestSide);
    m_left->layoutSize({m_leftWidth, size.height});
    m_right->layoutSize({size.width - m_leftWidth - kDivider, size.height});
    m_left->moveBy({bounds().x, bounds().y});
    m_right->moveBy({bounds().x + m_leftWidth + kDivider, bounds().y});
}

void SpliterEditable::moveBy(toolkit::Point delta) {
    AbstractEditable::moveBy(delta);
    m_left->moveBy(delta);
    m_right->moveBy(delta);
}

void SpliterEditable::notify(const Pointer<Object>& message) {
    m_left->notify(message);
    m_right->notify(message);
}

Pointer<ScrollDecorator> SpliterEditable::boxAt(toolkit::Point point) const {
    if (m_left->bounds().contains(point)) return m_left;
    if (m_right->bounds().contains(point)) return m_right;
    return {};
}

bool SpliterEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    if (m_draggingDivider) {
        if (kind == MouseKind::Drag) {
            m_leftWidth = info.x - bounds().x;
            toolkit::Point corner{bounds().x, bounds().y};
            setBounds({0, 0, bounds().width, bounds().height});
            AbstractEditable::moveBy(corner);
            arrange({bounds().width, bounds().height});
            repaint();
        }
        if (kind == MouseKind::Release) m_draggingDivider = false;
        return true;
    }
    bool press =
        kind == MouseKind::Press || kind == MouseKind::DoubleClick || kind == MouseKind::RightPress;
    if (press && dividerRect().contains(info.point())) {
        m_draggingDivider = kind == MouseKind::Press;
        if (m_draggingDivider && support() != nullptr) support()->grabMouse(self());
        return true;
    }
    if (kind == MouseKind::Move && dividerRect().contains(info.point()) && support() != nullptr) {
        support()->window().setCursor(toolkit::CursorKind::SizeWestEast);
        return true;
    }
    Pointer<ScrollDecorator> box = boxAt(info.point());
    if (press) m_pressed = box;
    if ((kind == MouseKind::Drag || kind == MouseKind::Release) && !m_pressed.isNull())
        box = m_pressed;
    if (kind == MouseKind::Release) m_pressed = {};
    return !box.isNull() && box->handleMouse(kind, info);
}

void SpliterEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    if (area.intersected(graphics.clip()).isEmpty()) return;
    for (const Pointer<ScrollDecorator>& box : {m_left, m_right}) {
        toolkit::GraphicsScope scope(graphics, box->bounds().translated(origin.x, origin.y));
        box->paint(graphics, origin);
    }
    graphics.setColor(colors().shade(1));
    graphics.fillRect(dividerRect().translated(origin.x, origin.y));
}

Pointer<AbstractEditable> SpliterEditable::hitTest(std::int32_t x, std::int32_t y, bool deep) {
    if (!bounds().contains({x, y})) return {};
    if (deep) {
        Pointer<ScrollDecorator> box = boxAt({x, y});
        if (!box.isNull()) {
            Pointer<AbstractEditable> inner = box->hitTest(x, y, true);
            if (!inner.isNull()) return inner;
        }
    }
    return self();
}

void SpliterEditable::attach(EditableSupport* support) {
    AbstractEditable::attach(support);
    m_left->attach(support);
    m_right->attach(support);
}

}  // namespace qv
