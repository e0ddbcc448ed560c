#include "editing/FormulaTextFieldEditable.h"

#include <algorithm>

#include "editing/EditableSupport.h"

namespace qv {

void FormulaTextFieldEditable::handleKey(std::int32_t code, std::string_view text,
                                         std::uint32_t modifiers) {
    namespace key = toolkit::key;
    if (m_owner == nullptr || !m_owner->isEditingCell()) {
        TextFieldEditable::handleKey(code, text, modifiers);
        return;
    }
    if (code == key::kTab || code == key::kEnter) {
        m_owner->commit(code, text, modifiers);
    } else if (code == key::kEscape) {
        m_owner->cancel();
    } else {
        TextFieldEditable::handleKey(code, text, modifiers);
        m_owner->fieldEdited();
    }
}

void FormulaTextFieldEditable::setLinkStart(std::int32_t begin) {
    if (begin < 0 || static_cast<std::size_t>(begin) >= text().size()) {
        m_linkStart = -1;
        m_linkText.clear();
        return;
    }
    m_linkStart = begin;
    m_linkText = std::string(text().substr(static_cast<std::size_t>(begin)));
    repaint();
}

bool FormulaTextFieldEditable::hasLink() const {
    return m_linkStart >= 0 && static_cast<std::size_t>(m_linkStart) <= text().size() &&
           text().substr(static_cast<std::size_t>(m_linkStart)) == m_linkText;
}

toolkit::Rect FormulaTextFieldEditable::linkRect() const {
    if (!hasLink()) return {};
    std::int32_t left = std::max(textX(m_linkStart), bounds().x + 1);
    std::int32_t right =
        std::min(textX(static_cast<std::int32_t>(text().size())), bounds().right() - 1);
    if (right <= left) return {};
    return {left, bounds().y + kPadding, right - left, lineHeight()};
}

void FormulaTextFieldEditable::paintText(toolkit::Graphics& graphics,
                                         toolkit::Point topLeft) const {
    if (!hasLink()) return TextFieldEditable::paintText(graphics, topLeft);
    std::string_view shown = text();
    paintLineSelection(graphics, shown, 0, topLeft);
    const toolkit::FontMetrics* plain = metrics();
    std::int32_t baseline = topLeft.y + (plain == nullptr ? 12 : plain->ascent());
    std::string_view before = shown.substr(0, static_cast<std::size_t>(m_linkStart));
    graphics.setColor(colors().text);
    graphics.drawText({topLeft.x, baseline}, before);
    std::int32_t left = topLeft.x + widthOf(before);
    graphics.setColor(colors().accent);
    graphics.drawText({left, baseline}, m_linkText);
    std::int32_t underline = baseline + 1;
    graphics.drawLine({left, underline}, {left + widthOf(m_linkText) - 1, underline});
}

}  // namespace qv
