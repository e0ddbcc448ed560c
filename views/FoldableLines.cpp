#include "views/FoldableLines.h"

#include <algorithm>

#include "editing/EditableSupport.h"

namespace qv::foldable {

LineKey lineKeyOf(std::int32_t code, std::string_view text) {
    namespace key = toolkit::key;
    switch (code) {
        case key::kUp:
            return LineKey::Previous;
        case key::kDown:
            return LineKey::Next;
        case key::kHome:
            return LineKey::First;
        case key::kEnd:
            return LineKey::Last;
        case key::kRight:
            return LineKey::Unfold;
        case key::kLeft:
            return LineKey::Fold;
        case key::kEnter:
            return LineKey::Act;
        case key::kCharacter:
            return text == " " ? LineKey::Toggle : LineKey::None;
        default:
            return LineKey::None;
    }
}

bool isLinePress(toolkit::MouseKind kind) {
    using toolkit::MouseKind;
    return kind == MouseKind::Press || kind == MouseKind::DoubleClick ||
           kind == MouseKind::RightPress;
}

void paintLinesInSight(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                       const toolkit::Rect& area, std::int32_t padding, std::int32_t lineHeight,
                       std::int32_t lineCount, const std::function<void(std::int32_t)>& paintLine) {
    toolkit::Rect clip = area.intersected(graphics.clip());
    if (clip.isEmpty()) return;
    toolkit::GraphicsScope scope(graphics, area);
    graphics.setColor(colors.view);
    graphics.fillRect(area);
    // A long list costs what its visible part does.
    std::int32_t first = std::max(0, (clip.y - area.y - padding) / lineHeight);
    std::int32_t last = std::min(lineCount - 1, (clip.bottom() - area.y - padding) / lineHeight);
    for (std::int32_t line = first; line <= last; ++line)
        paintLine(line);
}

void paintCurrentLine(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                      const toolkit::Rect& row, bool focused) {
    graphics.setColor(focused ? colors.selection : colors.shade(2));
    graphics.fillRect(row);
}

void paintFoldBox(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                  const toolkit::Rect& box, bool unfolded) {
    graphics.setColor(colors.edge);
    graphics.drawRect({box.x, box.y, box.width - 1, box.height - 1});
    graphics.setColor(colors.text);
    std::int32_t middle = box.y + box.height / 2;
    graphics.drawLine({box.x + 2, middle}, {box.right() - 3, middle});
    if (!unfolded) {
        std::int32_t centre = box.x + box.width / 2;
        graphics.drawLine({centre, box.y + 2}, {centre, box.bottom() - 3});
    }
}

std::int32_t baselineIn(const toolkit::Rect& row, const toolkit::FontMetrics& metrics) {
    return row.y + (row.height + metrics.ascent() - metrics.descent()) / 2;
}

}  // namespace qv::foldable
