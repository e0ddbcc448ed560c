#include "editing/AbstractEditable.h"

#include <algorithm>

#include "editing/StandInContainer.h"

namespace qv {

const toolkit::Palette& AbstractEditable::colors() const noexcept {
    static const toolkit::Palette detached = toolkit::Palette::light();
    return m_host != nullptr ? m_host->palette() : detached;
}

void AbstractEditable::layoutSize(toolkit::Size size) {
    layoutWidth(size.width);
}

void AbstractEditable::layoutWidth(std::int32_t widthHint) {
    std::int32_t side = std::max(std::min(widthHint, maximumWidth()), minimumWidth());
    m_bounds = {0, 0, side, side};
}

void AbstractEditable::moveBy(toolkit::Point delta) {
    m_bounds.x = toolkit::saturatingAdd(m_bounds.x, delta.x);
    m_bounds.y = toolkit::saturatingAdd(m_bounds.y, delta.y);
}

void AbstractEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    graphics.drawRect(m_bounds.translated(origin.x, origin.y));
}

Pointer<AbstractEditable> AbstractEditable::hitTest(std::int32_t x, std::int32_t y, bool) {
    return m_bounds.contains({x, y}) ? self() : Pointer<AbstractEditable>();
}

Pointer<Object> AbstractEditable::getObject() const {
    return {};
}

StringPointer AbstractEditable::getTitle() const {
    return str("default title");
}

void AbstractEditable::attach(EditableSupport* support) {
    m_support = support;
    m_host = support == nullptr ? nullptr : hostOf(support);
}

bool AbstractEditable::isSelected() const {
    return m_host != nullptr && m_host->selectedEditable() == this;
}

void AbstractEditable::childKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    if (m_parent != nullptr) m_parent->childKey(code, text, modifiers);
}

void AbstractEditable::ensureVisible(const toolkit::Rect& area) {
    if (m_parent != nullptr) m_parent->ensureVisible(area);
}

void AbstractEditable::writeSource(std::string&, std::int32_t) const {}

StringPointer AbstractEditable::toSource() const {
    std::string out;
    writeSource(out, 0);
    return str(out);
}

bool AbstractEditable::isWithinKeptView() const {
    for (const AbstractEditable* at = this; at != nullptr; at = at->m_parent)
        if (!at->isKeptInDocument()) return false;
    return true;
}

bool AbstractEditable::isFocused() const {
    if (m_host == nullptr) return false;
    const AbstractEditable* selected = m_host->selectedEditable();
    for (const AbstractEditable* at = this; at != nullptr; at = at->m_parent) {
        if (at == selected) return true;
        if (dynamic_cast<const StandInContainer*>(at->m_parent) == nullptr) break;
    }
    return false;
}

toolkit::Point AbstractEditable::layoutPoint(toolkit::Point workArea) const {
    for (const AbstractEditable* at = m_parent; at != nullptr; at = at->m_parent) {
        if (const auto* container = dynamic_cast<const StandInContainer*>(at)) {
            toolkit::Point offset = container->contentOffset();
            workArea.x += offset.x;
            workArea.y += offset.y;
        }
    }
    return workArea;
}

void AbstractEditable::repaint() const {
    if (m_host != nullptr) m_host->repaint();
}

void AbstractEditable::invalidateLayout() const {
    if (m_host != nullptr) m_host->invalidateLayout();
}

void AbstractEditable::adopt(const Pointer<AbstractEditable>& child) {
    if (child.isNull()) return;
    child->setParent(this);
    if (m_support != nullptr) child->attach(m_support);
}

void AbstractEditable::release(const Pointer<AbstractEditable>& child) const {
    if (!child.isNull() && child->parent() == this) child->setParent(nullptr);
}

}  // namespace qv
