#include "editing/TextFieldEditable.h"

#include <algorithm>

#include "editing/EditableSupport.h"

namespace qv {

TextFieldEditable::TextFieldEditable(std::string_view text) {
    setText(text);
}

void TextFieldEditable::layoutWidth(std::int32_t widthHint) {
    setBounds(
        {0, 0, std::clamp(widthHint, minimumWidth(), maximumWidth()), lineHeight() + 2 * kPadding});
    scrollCaretIntoView();
}

void TextFieldEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    if (area.intersected(graphics.clip()).isEmpty()) return;
    graphics.setColor(colors().view);
    graphics.fillRect(area);
    graphics.setColor(isFocused() ? colors().accent : colors().edge);
    graphics.drawRect({area.x, area.y, area.width - 1, area.height - 1});
    toolkit::GraphicsScope scope(graphics,
                                 {area.x + 1, area.y + 1, area.width - 2, area.height - 2});
    if (support() != nullptr) graphics.setFont(support()->plainFont());
    paintText(graphics, {area.x + kPadding - m_scroll, area.y + kPadding});
    if (isFocused()) {
        toolkit::Rect caret = caretRect().translated(origin.x, origin.y);
        graphics.setColor(colors().text);
        graphics.drawLine({caret.x, caret.y}, {caret.x, caret.bottom() - 1});
    }
}

void TextFieldEditable::paintText(toolkit::Graphics& graphics, toolkit::Point topLeft) const {
    paintLine(graphics, text(), 0, topLeft);
}

std::int32_t TextFieldEditable::textX(std::int32_t index) const {
    std::size_t end = std::min(static_cast<std::size_t>(std::max(index, 0)), text().size());
    return bounds().x + kPadding + widthOf(text().substr(0, end)) - m_scroll;
}

void TextFieldEditable::handleKey(std::int32_t code, std::string_view text,
                                  std::uint32_t modifiers) {
    TextBase::handleKey(code, text, modifiers);
    scrollCaretIntoView();
}

bool TextFieldEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    bool handled = TextBase::handleMouse(kind, info);
    scrollCaretIntoView();
    return handled;
}

void TextFieldEditable::textChanged() {
    scrollCaretIntoView();
    TextBase::textChanged();
}

std::int32_t TextFieldEditable::indexAt(toolkit::Point point) const {
    return indexInLine(text(), point.x - bounds().x - kPadding + m_scroll);
}

toolkit::Rect TextFieldEditable::caretRect() const {
    std::int32_t before = widthOf(text().substr(0, static_cast<std::size_t>(caret())));
    return {bounds().x + kPadding + before - m_scroll, bounds().y + kPadding, 1, lineHeight()};
}

void TextFieldEditable::scrollCaretIntoView() {
    std::int32_t inner = std::max(1, bounds().width - 2 * kPadding - 1);
    std::int32_t caretX = widthOf(text().substr(0, static_cast<std::size_t>(caret())));
    if (caretX - m_scroll > inner) m_scroll = caretX - inner;
    if (caretX < m_scroll) m_scroll = caretX;
    // No empty space after the text while some of it is hidden on the left.
    m_scroll = std::clamp(m_scroll, 0, std::max(0, widthOf(text()) - inner));
}

}  // namespace qv
