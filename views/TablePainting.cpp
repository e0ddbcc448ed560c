// Drawing the grid: the frozen header rows and leading columns, then only
// the rows and columns in sight after the scrolled ones, each cell made by
// the model for its position as it is drawn; then the scroll bars.
#include <algorithm>
#include <optional>
#include <string>

#include "core/FitText.h"
#include "editing/EditableSupport.h"
#include "views/TableEditable.h"

namespace qv {

// Printed pages are paper: white, whatever the screen's colours.
const toolkit::Palette& TableEditable::cellColors() const noexcept {
    static const toolkit::Palette paper = toolkit::Palette::light();
    return m_printing ? paper : colors();
}

namespace {

// Error cells stand out in red; special values that are no error are grey
// on the usual background, so a sound model does not look broken; the rest
// follows the support's colours.

struct FittedText {
    std::string text;
    bool fits = true;  // within the budget, so it needs no clip
};

// The cell's text as it fits the width: a number too wide rounded to the
// digits that fit, any other text ending in a mark. Only a text that does
// not fit costs more than one measurement.
FittedText fittedText(CellModel& cell, const StringPointer& text, std::int32_t budget,
                      const toolkit::FontMetrics& metrics) {
    if (metrics.textWidth(text->view()) <= budget) return {text->toStdString(), true};
    TextWidth width = [&metrics](std::string_view part) { return metrics.textWidth(part); };
    std::optional<double> number = cell.number();
    std::string fitted =
        number ? fitNumber(*number, budget, width) : fitText(text->view(), budget, width);
    bool fits = metrics.textWidth(fitted) <= budget;
    return {std::move(fitted), fits};
}

}  // namespace

void TableEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    if (area.intersected(graphics.clip()).isEmpty()) return;
    Extent e = extent();
    clampScroll(e);
    toolkit::GraphicsScope scope(graphics, area);
    graphics.setColor(cellColors().view);
    graphics.fillRect(area);
    toolkit::Point corner{area.x, area.y};
    paintCells(graphics, corner, e);
    paintBars(graphics, corner, e);
}

void TableEditable::paintCells(toolkit::Graphics& graphics, toolkit::Point corner,
                               const Extent& e) {
    toolkit::Rect content = e.content.translated(corner.x, corner.y);
    toolkit::GraphicsScope scope(graphics, content);
    if (support() != nullptr) graphics.setFont(support()->plainFont());
    std::int32_t line = rowHeight();
    auto paintRow = [&](std::int32_t row, std::int32_t y) {
        std::int32_t x = content.x;
        for (std::int32_t column = 0; column < e.leading; ++column) {
            std::int32_t width = columnWidth(column);
            paintCell(graphics, {x, y, width, line}, content.right(), column, row, e);
            x += width;
        }
        for (std::int32_t column = m_scroll.left(); column < e.columns && x < content.right();
             ++column) {
            std::int32_t width = columnWidth(column);
            paintCell(graphics, {x, y, width, line}, content.right(), column, row, e);
            x += width;
        }
    };
    std::int32_t y = content.y;
    for (std::int32_t row = 0; row < e.headers; ++row, y += line)
        paintRow(row, y);
    for (std::int32_t row = m_scroll.top(); row < e.rows && y < content.bottom(); ++row, y += line)
        paintRow(row, y);
}

void TableEditable::paintCell(toolkit::Graphics& graphics, const toolkit::Rect& rect,
                              std::int32_t visibleRight, std::int32_t column, std::int32_t row,
                              const Extent& e) {
    if (rect.width <= 0) return;
    Pointer<CellModel> cell = m_model->createCell(column, row);
    bool header = row < e.headers || column < e.leading;
    bool current = !m_printing && column == m_selection.column() && row == m_selection.row();
    bool editing = current && m_typing.isEditing();
    std::optional<std::pair<std::int32_t, std::int32_t>> range = selectedColumns();
    bool inRange = !m_printing && range && column >= range->first && column <= range->second;
    bool error = !header && cell->isError();
    bool special = !header && !error && cell->isSpecial();

    toolkit::Color background = cellColors().view;
    if (header) background = cellColors().shade(2);
    if (error) background = cellColors().errorBackground;
    if (inRange) background = cellColors().range;
    if (current) background = editing ? cellColors().typing : cellColors().selection;
    // A page is white already: a PDF would hold a rectangle for every cell.
    if (!m_printing || !(background == cellColors().view)) {
        graphics.setColor(background);
        graphics.fillRect(rect);
    }
    graphics.setColor(cellColors().gridLine);
    graphics.drawLine({rect.right() - 1, rect.y}, {rect.right() - 1, rect.bottom() - 1});
    graphics.drawLine({rect.x, rect.bottom() - 1}, {rect.right() - 1, rect.bottom() - 1});
    if (current && isFocused()) {
        graphics.setColor(cellColors().accent);
        graphics.drawRect({rect.x, rect.y, rect.width - 2, rect.height - 2});
    }

    // Typed text is drawn as it is, clipped: it is no value yet.
    StringPointer text = editing ? str(*m_typing.text()) : cell->text();
    if (text->length() == 0) return;
    const toolkit::FontMetrics& metrics = graphics.metrics();
    // A cell cut by the grid's edge fits what is in sight of it: a number
    // cut there would read as another number as much as one cut by a border.
    // The text keeps the padding on both sides, clear of the grid line.
    std::int32_t right = std::min(rect.right(), visibleRight);
    FittedText shown = editing ? FittedText{text->toStdString(), false}
                               : fittedText(*cell, text, right - rect.x - 2 * kPadding, metrics);
    if (shown.text.empty()) return;
    // A clip is a change of state on every surface (a PDF records each one),
    // so only a text that may reach past the cell's borders gets one.
    std::optional<toolkit::GraphicsScope> clip;
    if (!shown.fits)
        clip.emplace(graphics, toolkit::Rect{rect.x + 1, rect.y, rect.width - 2, rect.height});
    toolkit::Color color = cellColors().text;
    if (!editing && error) color = cellColors().errorText;
    if (!editing && special) color = cellColors().quietText;
    graphics.setColor(color);
    std::int32_t baseline = rect.y + (rect.height - metrics.height()) / 2 + metrics.ascent();
    graphics.drawText({rect.x + kPadding, baseline}, shown.text);
}

toolkit::Rect TableEditable::barRect(bool vertical, const Extent& e) const {
    if (vertical) return {e.content.right(), 0, kBarWidth, e.content.height};
    return {0, e.content.bottom(), e.content.width, kBarWidth};
}

// The bars count scrolled columns (rows), not pixels, so a million columns
// cost nothing.
ScrollGeometry TableEditable::geometry(bool vertical, const Extent& e) const {
    if (vertical) {
        return m_scroll.bar(ScrollAxis::Vertical, barRect(true, e), e.headers, e.rows, e.pageRows,
                            e.maxTop);
    }
    return m_scroll.bar(
        ScrollAxis::Horizontal, barRect(false, e), e.leading, e.columns,
        columnsFitting(m_scroll.left(), std::max(1, e.content.width - e.frozenWidth)), e.maxLeft);
}

void TableEditable::paintBars(toolkit::Graphics& graphics, toolkit::Point corner,
                              const Extent& e) const {
    for (bool vertical : {true, false}) {
        if (vertical ? !e.verticalBar : !e.horizontalBar) continue;
        toolkit::Rect track = barRect(vertical, e).translated(corner.x, corner.y);
        graphics.setColor(cellColors().shade(2));
        graphics.fillRect(track);
        toolkit::Rect thumb = geometry(vertical, e).thumb().translated(corner.x, corner.y);
        bool dragging = m_scroll.thumbVertical() == vertical;
        graphics.setColor(dragging ? cellColors().accent : cellColors().edge);
        graphics.fillRect({thumb.x + 2, thumb.y + 2, thumb.width - 4, thumb.height - 4});
    }
    if (e.verticalBar && e.horizontalBar) {
        graphics.setColor(cellColors().shade(2));
        graphics.fillRect(
            {corner.x + e.content.right(), corner.y + e.content.bottom(), kBarWidth, kBarWidth});
    }
}

}  // namespace qv
