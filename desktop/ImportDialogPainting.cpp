// How the import preview draws: the options as check boxes in rows, the
// table's name as a field, the key as a button that steps through its
// choices, the preview as a grid (field names, types, then rows), and the
// message line.
#include <algorithm>

#include "core/Utf8.h"
#include "desktop/ControlPainting.h"
#include "desktop/ImportDialog.h"
#include "editing/EditableSupport.h"

namespace qv {

namespace {

constexpr std::int32_t kBoxSide = 13;
constexpr std::int32_t kBoxGap = 6;
constexpr std::int32_t kLabelLeft = 12;
constexpr std::int32_t kCellPadding = 4;
// Room between a column's widest text and the next column's border.
constexpr std::int32_t kColumnGap = 10;
// The bytes of a cell's text the preview shows at most; more would not fit.
constexpr std::size_t kShownBytes = 200;
constexpr std::int32_t kNarrowestColumn = 40;
constexpr std::int32_t kWidestColumn = 160;

const char* typeName(CsvType type) {
    switch (type) {
        case CsvType::Empty:
            return "empty";
        case CsvType::Number:
            return "number";
        case CsvType::Boolean:
            return "Boolean";
        case CsvType::Text:
            return "text";
    }
    return "";
}

// Only the start of a long text is shown, so that a cell of megabytes costs
// no more to measure and draw than one that fills the column.
std::string_view shownStart(std::string_view text) {
    if (text.size() <= kShownBytes) return text;
    auto end = utf8::snap(text, static_cast<std::int32_t>(kShownBytes));
    return text.substr(0, static_cast<std::size_t>(end));
}

// A cell as the import will read it: a number with its decimal point
// ("1,5" read with a decimal comma shows "1.5"), anything else as written.
std::string shownCell(const CsvTable& table, std::int64_t row, std::int32_t column) {
    std::string_view text = table.cell(row, column);
    if (table.columnType(column) == CsvType::Number && !text.empty())
        return table.formulaText(row, column);
    return std::string(shownStart(text));
}

void drawLabel(toolkit::Graphics& graphics, toolkit::Color color, std::int32_t y,
               std::string_view text) {
    toolkit::Rect line{kLabelLeft, y, 80, 22};
    graphics.setColor(color);
    graphics.drawText({kLabelLeft, centredBaseline(line, graphics.metrics())}, text);
}

// The text clipped to `area`, drawn from its left with the padding.
void drawCellText(toolkit::Graphics& graphics, const toolkit::Rect& area, std::string_view text) {
    graphics.clipTo(area);
    graphics.drawText({area.x + kCellPadding, centredBaseline(area, graphics.metrics())}, text);
    graphics.restoreClip();
}

}  // namespace

void ImportDialog::paint(toolkit::Graphics& graphics, const toolkit::Rect&) {
    toolkit::Size size = m_window->size();
    graphics.setColor(colors().shade(1));
    graphics.fillRect({0, 0, size.width, size.height});
    graphics.setFont(kFont);
    drawLabel(graphics, colors().text, controlRect(Control::Comma).y, "Delimiter:");
    toolkit::Rect encoding = controlRect(Control::Utf8);
    graphics.setColor(colors().text);
    graphics.drawText({encoding.x - 76, centredBaseline(encoding, graphics.metrics())},
                      "Encoding:");
    for (Control control : {Control::Comma, Control::Semicolon, Control::Tab, Control::Header,
                            Control::DecimalComma, Control::Utf8, Control::Latin1})
        paintOption(graphics, control);
    paintNameField(graphics);
    paintKeyChoice(graphics);
    paintPreview(graphics);
    paintMessage(graphics);
    for (Control control : {Control::Ok, Control::Cancel}) {
        paintPushButton(graphics, colors(), controlRect(control), caption(control),
                        m_focus == control ? colors().accent : colors().edge);
    }
}

void ImportDialog::paintFocus(toolkit::Graphics& graphics, const toolkit::Rect& area) const {
    graphics.setColor(colors().accent);
    graphics.drawRect(area);
}

void ImportDialog::paintOption(toolkit::Graphics& graphics, Control control) const {
    toolkit::Rect area = controlRect(control);
    const toolkit::FontMetrics& metrics = graphics.metrics();
    toolkit::Rect box{area.x, area.y + (area.height - kBoxSide) / 2, kBoxSide, kBoxSide};
    paintCheckSquare(graphics, colors(), box, isChecked(control));
    std::int32_t baseline = centredBaseline(area, metrics);
    graphics.setColor(colors().text);
    graphics.drawText({box.right() + kBoxGap, baseline}, caption(control));
    if (m_focus == control) {
        std::int32_t width = metrics.textWidth(caption(control));
        paintFocus(graphics, {box.right() + kBoxGap - 2, baseline - metrics.ascent() - 1, width + 3,
                              metrics.height() + 1});
    }
}

void ImportDialog::paintNameField(toolkit::Graphics& graphics) const {
    toolkit::Rect area = controlRect(Control::TableName);
    drawLabel(graphics, colors().text, area.y, caption(Control::TableName));
    graphics.setColor(colors().view);
    graphics.fillRect(area);
    graphics.setColor(m_focus == Control::TableName ? colors().accent : colors().edge);
    graphics.drawRect({area.x, area.y, area.width - 1, area.height - 1});
    const toolkit::FontMetrics& metrics = graphics.metrics();
    std::int32_t room = area.width - 2 * kCellPadding;
    std::int32_t first = m_name.firstShown(room, metrics);
    std::string_view shown =
        std::string_view(m_name.text()).substr(static_cast<std::size_t>(first));
    graphics.setColor(colors().text);
    drawCellText(graphics, area, shown);
    if (m_focus == Control::TableName) {
        std::int32_t caret =
            area.x + kCellPadding +
            metrics.textWidth(shown.substr(0, static_cast<std::size_t>(m_name.caret() - first)));
        graphics.drawLine({caret, area.y + 4}, {caret, area.bottom() - 5});
    }
    // What OK will do to it.
    std::string what =
        existingTable() != nullptr ? "re-import into the existing table" : "a new table";
    graphics.setColor(colors().quietText);
    graphics.drawText({area.right() + 12, centredBaseline(area, metrics)}, what);
}

void ImportDialog::paintKeyChoice(toolkit::Graphics& graphics) const {
    toolkit::Rect area = controlRect(Control::Key);
    drawLabel(graphics, colors().text, area.y, caption(Control::Key));
    paintPushButton(graphics, colors(), area, m_keyChoices[m_keyChoice],
                    m_focus == Control::Key ? colors().accent : colors().edge);
    std::string hint =
        m_keyChoice == 0 ? "the data rows are replaced" : "rows matched by this field's value";
    if (existingTable() == nullptr) hint = "a new table has no key";
    graphics.setColor(colors().quietText);
    graphics.drawText({area.right() + 12, centredBaseline(area, graphics.metrics())}, hint);
}

void ImportDialog::paintPreview(toolkit::Graphics& graphics) const {
    toolkit::Rect area = kPreviewArea;
    graphics.setColor(colors().view);
    graphics.fillRect(area);
    graphics.setColor(colors().edge);
    graphics.drawRect({area.x, area.y, area.width - 1, area.height - 1});
    if (!m_preview) return;
    const CsvTable& table = *m_preview;
    const toolkit::FontMetrics& metrics = graphics.metrics();
    std::int32_t rowHeight = metrics.height() + 6;
    // Each column as wide as its widest shown text, within bounds.
    // Only the columns that fit are measured: a file may have thousands.
    std::vector<std::int32_t> widths;
    for (std::int32_t column = 0, x = area.x; column < table.columnCount() && x < area.right();
         ++column, x += widths.back()) {
        std::string_view name = table.fieldNames()[column];
        std::int32_t width = std::max(metrics.textWidth(shownStart(name)),
                                      metrics.textWidth(typeName(table.columnType(column))));
        for (std::int64_t row = 0; row < table.rowCount(); ++row)
            width = std::max(width, metrics.textWidth(shownCell(table, row, column)));
        widths.push_back(
            std::clamp(width + kCellPadding + kColumnGap, kNarrowestColumn, kWidestColumn));
    }
    graphics.clipTo({area.x + 1, area.y + 1, area.width - 2, area.height - 2});
    auto drawRow = [&](std::int32_t y, auto textOf) {
        std::int32_t x = area.x + 1;
        for (std::size_t column = 0; column < widths.size(); ++column) {
            auto index = static_cast<std::int32_t>(column);
            drawCellText(graphics, {x, y, widths[column] - 1, rowHeight}, textOf(index));
            x += widths[column];
        }
    };
    std::int32_t y = area.y + 1;
    graphics.setColor(colors().shade(2));
    graphics.fillRect({area.x + 1, y, area.width - 2, 2 * rowHeight});
    graphics.setFont(kBoldFont);
    graphics.setColor(colors().text);
    drawRow(y, [&](std::int32_t column) { return shownStart(table.fieldNames()[column]); });
    y += rowHeight;
    graphics.setFont(kFont);
    graphics.setColor(colors().quietText);
    drawRow(y, [&](std::int32_t column) {
        return std::string_view(typeName(table.columnType(column)));
    });
    y += rowHeight;
    graphics.setColor(colors().text);
    for (std::int64_t row = 0; row < table.rowCount() && y < area.bottom(); ++row) {
        drawRow(y, [&](std::int32_t column) { return shownCell(table, row, column); });
        y += rowHeight;
    }
    // Column borders over the whole height.
    graphics.setColor(colors().shade(3));
    std::int32_t x = area.x + 1;
    for (std::int32_t width : widths) {
        x += width;
        if (x >= area.right()) break;
        graphics.drawLine({x - 1, area.y + 1}, {x - 1, area.bottom() - 2});
    }
    graphics.restoreClip();
}

void ImportDialog::paintMessage(toolkit::Graphics& graphics) const {
    toolkit::Rect area = kMessageArea;
    std::string text = m_message;
    bool fault = !m_reading && !m_message.empty();
    if (text.empty() && m_preview) {
        std::string rows = std::to_string(m_preview->rowCount()) + " rows";
        text = std::to_string(m_preview->columnCount()) + " columns; " +
               (m_preview->cut() ? "the first " + rows + " shown" : "all " + rows + " shown");
    }
    graphics.setColor(fault ? colors().errorText : colors().text);
    drawCellText(graphics, {area.x - kCellPadding, area.y, area.width, area.height}, text);
}

}  // namespace qv
