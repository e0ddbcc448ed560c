#include "desktop/DirectiveEditable.h"

#include <algorithm>

#include "core/Assert.h"
#include "editing/EditableSupport.h"

namespace qv {

DirectiveEditable::DirectiveEditable(const Pointer<ViewElement>& element) : m_element(element) {
    QV_ASSERT(!element.isNull() && element->kind() != ElementKind::kTextArea);
    std::string text = element->toSource()->toStdString();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    for (std::size_t start = 0;;) {
        std::size_t end = text.find('\n', start);
        m_lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

std::int32_t DirectiveEditable::maximumWidth() const {
    std::int32_t widest = 0;
    if (support() != nullptr) {
        for (const std::string& line : m_lines)
            widest = std::max(widest, support()->plainMetrics().textWidth(line));
    }
    return std::max(widest + 2 * kPadding, kNarrowest);
}

std::int32_t DirectiveEditable::preferredHeight() const {
    std::int32_t line = support() == nullptr ? 16 : support()->plainMetrics().height();
    return static_cast<std::int32_t>(m_lines.size()) * line + 2 * kPadding;
}

void DirectiveEditable::layoutWidth(std::int32_t widthHint) {
    std::int32_t width = std::clamp(widthHint, minimumWidth(), maximumWidth());
    setBounds({0, 0, width, preferredHeight()});
}

void DirectiveEditable::layoutSize(toolkit::Size size) {
    setBounds(
        {0, 0, std::max(size.width, minimumWidth()), std::max(size.height, preferredHeight())});
}

void DirectiveEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    if (area.intersected(graphics.clip()).isEmpty() || support() == nullptr) return;
    graphics.setColor(EditableSupport::kViewColor);
    graphics.fillRect(area);
    const toolkit::FontMetrics& metrics = support()->plainMetrics();
    graphics.setFont(support()->plainFont());
    graphics.setColor(EditableSupport::kTextColor);
    toolkit::GraphicsScope scope(graphics, area);
    std::int32_t baseline = area.y + kPadding + metrics.ascent();
    for (const std::string& line : m_lines) {
        graphics.drawText({area.x + kPadding, baseline}, line);
        baseline += metrics.height();
    }
}

StringPointer DirectiveEditable::getTitle() const {
    const std::string argument = m_element->argument()->toStdString();
    switch (m_element->kind()) {
        case ElementKind::kResultView:
            return str(argument);
        case ElementKind::kChart:
            return str(argument + " chart view");
        case ElementKind::kProjectView:
            return str("project  - " + argument);
        case ElementKind::kPropertiesView:
            return str("Properties");
        case ElementKind::kTextArea:
        case ElementKind::kLayoutTable:
            break;
    }
    return str(std::string(elementKeyword(m_element->kind())));
}

void DirectiveEditable::writeSource(std::string& out, std::int32_t indent) const {
    m_element->writeSource(out, indent);
}

}  // namespace qv
