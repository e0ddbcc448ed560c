#include "views/InnerViewEditable.h"

#include <algorithm>

#include "editing/EditableSupport.h"

namespace qv {

namespace {

// The size of a view whose value is not there yet.
constexpr std::int32_t kEmptySide = 40;

}  // namespace

InnerViewEditable::~InnerViewEditable() {
    release(m_inner);
}

void InnerViewEditable::setInnerView(const Pointer<AbstractEditable>& view) {
    Pointer<AbstractEditable> old = m_inner;
    bool held = support() != nullptr && !old.isNull() && support()->selected() == old;
    release(old);
    m_inner = view;
    adopt(m_inner);
    if (held) support()->select(m_inner.isNull() ? self() : m_inner);
    invalidateLayout();
    repaint();
}

void InnerViewEditable::layoutWidth(std::int32_t widthHint) {
    if (m_inner.isNull()) {
        setBounds({0, 0, std::clamp(widthHint, kEmptySide, kEmptySide * 4), kEmptySide});
        return;
    }
    m_inner->layoutWidth(widthHint);
    setBounds(m_inner->bounds());
}

void InnerViewEditable::layoutSize(toolkit::Size size) {
    if (m_inner.isNull()) {
        setBounds({0, 0, size.width, size.height});
        return;
    }
    m_inner->layoutSize(size);
    setBounds(m_inner->bounds());
}

void InnerViewEditable::moveBy(toolkit::Point delta) {
    AbstractEditable::moveBy(delta);
    if (!m_inner.isNull()) m_inner->moveBy(delta);
}

std::int32_t InnerViewEditable::minimumWidth() const {
    return m_inner.isNull() ? kEmptySide : m_inner->minimumWidth();
}

std::int32_t InnerViewEditable::maximumWidth() const {
    return m_inner.isNull() ? kEmptySide * 4 : m_inner->maximumWidth();
}

void InnerViewEditable::notify(const Pointer<Object>& message) {
    if (!m_inner.isNull()) m_inner->notify(message);
}

bool InnerViewEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    return !m_inner.isNull() && m_inner->handleMouse(kind, info);
}

void InnerViewEditable::handleKey(std::int32_t code, std::string_view text,
                                  std::uint32_t modifiers) {
    if (m_inner.isNull()) return childKey(code, text, modifiers);
    m_inner->handleKey(code, text, modifiers);
}

bool InnerViewEditable::handleWheel(std::int32_t steps) {
    return !m_inner.isNull() && m_inner->handleWheel(steps);
}

void InnerViewEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    if (!m_inner.isNull()) m_inner->paint(graphics, origin);
}

Pointer<AbstractEditable> InnerViewEditable::hitTest(std::int32_t x, std::int32_t y, bool deep) {
    if (!bounds().contains({x, y})) return {};
    if (deep && !m_inner.isNull()) {
        Pointer<AbstractEditable> inner = m_inner->hitTest(x, y, true);
        if (!inner.isNull()) return inner;
    }
    return self();
}

bool InnerViewEditable::acceptsEditCommand(std::int32_t code) const {
    return !m_inner.isNull() && m_inner->acceptsEditCommand(code);
}

Pointer<Object> InnerViewEditable::getObject() const {
    return m_inner.isNull() ? Pointer<Object>() : m_inner->getObject();
}

StringPointer InnerViewEditable::getTitle() const {
    return m_inner.isNull() ? AbstractEditable::getTitle() : m_inner->getTitle();
}

Pointer<Object> InnerViewEditable::getProperties() {
    return m_inner.isNull() ? Pointer<Object>() : m_inner->getProperties();
}

void InnerViewEditable::attach(EditableSupport* support) {
    AbstractEditable::attach(support);
    if (!m_inner.isNull()) m_inner->attach(support);
}

}  // namespace qv
