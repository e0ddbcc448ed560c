#include "views/ErrorEditable.h"

#include <algorithm>

#include "core/Utf8.h"
#include "editing/EditableSupport.h"

namespace qv {

void ErrorEditable::setText(const StringPointer& text) {
    m_text = text.isNull() ? std::string() : text->toStdString();
    m_lines.clear();
    std::string_view rest = m_text;
    while (m_lines.size() < kMostLines) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (line.size() > kLongestLine) {
            auto cut = utf8::snap(line, static_cast<std::int32_t>(kLongestLine));
            line = line.substr(0, static_cast<std::size_t>(cut));
        }
        m_lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    invalidateLayout();
    repaint();
}

std::int32_t ErrorEditable::maximumWidth() const {
    std::int32_t widest = 0;
    if (support() != nullptr) {
        for (const std::string& line : m_lines)
            widest = std::max(widest, support()->plainMetrics().textWidth(line));
    }
    return std::clamp(widest + 2 * kPadding, kNarrowest, kWidest);
}

std::int32_t ErrorEditable::preferredHeight() const {
    std::int32_t line = support() == nullptr ? 16 : support()->plainMetrics().height();
    return static_cast<std::int32_t>(m_lines.size()) * line + 2 * kPadding;
}

void ErrorEditable::layoutWidth(std::int32_t widthHint) {
    setBounds({0, 0, std::clamp(widthHint, minimumWidth(), maximumWidth()), preferredHeight()});
}

void ErrorEditable::layoutSize(toolkit::Size size) {
    setBounds(
        {0, 0, std::max(size.width, minimumWidth()), std::max(size.height, preferredHeight())});
}

void ErrorEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    if (area.intersected(graphics.clip()).isEmpty() || support() == nullptr) return;
    toolkit::GraphicsScope scope(graphics, area);
    graphics.setColor(colors().view);
    graphics.fillRect(area);
    const toolkit::FontMetrics& metrics = support()->plainMetrics();
    graphics.setFont(support()->plainFont());
    graphics.setColor(colors().text);
    std::int32_t baseline = area.y + kPadding + metrics.ascent();
    for (const std::string& line : m_lines) {
        graphics.drawText({area.x + kPadding, baseline}, line);
        baseline += metrics.height();
    }
}

}  // namespace qv
