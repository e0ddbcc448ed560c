#include "views/TableEditable.h"

#include <algorithm>
#include <cstdlib>

#include "editing/EditableSupport.h"

namespace qv {

TableEditable::TableEditable(const Pointer<GridModel>& model) : m_model(model) {
    m_selection.selectCell(*m_model, m_model->leadingColumnCount(), m_model->headerRowCount());
    m_scroll.setLeft(m_selection.column());
    m_scroll.setTop(m_selection.row());
}

TableEditable::~TableEditable() = default;

bool TableEditable::acceptValue(const Pointer<Object>& value) {
    if (!m_model->acceptValue(value)) return false;
    m_typing.end();
    m_selection.followModel(*m_model);
    // The formula line beside a focused grid shows the value just computed.
    if (isFocused()) showCurrentFormula();
    invalidateLayout();
    repaint();
    return true;
}

void TableEditable::selectCell(std::int32_t column, std::int32_t row) {
    placeCursor(column, row);
    showCurrentFormula();
}

void TableEditable::placeCursor(std::int32_t column, std::int32_t row) {
    m_selection.selectCell(*m_model, column, row);
    revealCurrent();
    repaint();
}

std::optional<std::pair<std::int32_t, std::int32_t>> TableEditable::selectedColumns() const {
    return m_selection.columnRange();
}

void TableEditable::selectColumns(std::int32_t first, std::int32_t last) {
    if (!m_selection.selectColumns(*m_model, first, last)) return;
    revealCurrent();
    repaint();
}

StringPointer TableEditable::getTitle() const {
    return m_model->title();
}

Pointer<Object> TableEditable::getProperties() {
    return m_model->viewProperties();
}

std::int32_t TableEditable::columnWidth(std::int32_t column) const {
    if (std::optional<std::int32_t> width = m_resize.width(column)) return *width;
    // The fitted widths hold until the next layout; the model's flags may
    // have taken a leading column away since.
    if (column >= 0 && column < static_cast<std::int32_t>(m_fittedLeading.size()) &&
        column < m_model->leadingColumnCount())
        return m_fittedLeading[static_cast<std::size_t>(column)];
    return std::max(0, m_model->columnWidth(column));
}

// Bounded by lines read and by width, so a long list of tables or a long
// name costs a fixed amount.
void TableEditable::fitLeadingColumns() {
    m_fittedLeading.clear();
    if (support() == nullptr) return;
    const toolkit::FontMetrics& metrics = support()->plainMetrics();
    std::int32_t leading = std::clamp(m_model->leadingColumnCount(), 0, m_model->columnCount());
    std::int32_t rows = std::min(m_model->rowCount(), kFittedRows);
    for (std::int32_t column = 0; column < leading; ++column) {
        std::int32_t width = std::max(0, m_model->columnWidth(column));
        for (std::int32_t row = 0; row < rows && width < kWidestFitted; ++row) {
            StringPointer text = m_model->createCell(column, row)->text();
            width = std::max(width, metrics.textWidth(text->view()) + 2 * kPadding + 1);
        }
        m_fittedLeading.push_back(std::min(width, kWidestFitted));
    }
}

void TableEditable::setColumnWidth(std::int32_t column, std::int32_t width) {
    m_resize.setWidth(column, width);
    invalidateLayout();
    repaint();
}

std::int32_t TableEditable::rowHeight() const {
    return (support() == nullptr ? 16 : support()->plainMetrics().height()) + 2 * 2;
}

std::int32_t TableEditable::columnsFitting(std::int32_t first, std::int32_t width) const {
    std::int32_t columns = m_model->columnCount();
    std::int32_t used = 0;
    std::int32_t count = 0;
    for (std::int32_t column = first; column < columns; ++column) {
        used += columnWidth(column);
        if (used > width && count > 0) break;
        ++count;
        if (used >= width) break;
    }
    return count;
}

toolkit::Size TableEditable::naturalSize(std::int32_t widthLimit, std::int32_t heightLimit) const {
    std::int32_t columns = m_model->columnCount();
    std::int32_t width = 0;
    for (std::int32_t column = 0; column < columns && width <= widthLimit; ++column)
        width += columnWidth(column);
    std::int64_t height = std::int64_t{m_model->rowCount()} * rowHeight();
    return {std::min(width, widthLimit),
            static_cast<std::int32_t>(std::min<std::int64_t>(height, heightLimit))};
}

TableEditable::Extent TableEditable::extent() const {
    Extent e;
    e.columns = m_model->columnCount();
    e.rows = m_model->rowCount();
    e.leading = std::clamp(m_model->leadingColumnCount(), 0, e.columns);
    e.headers = std::clamp(m_model->headerRowCount(), 0, e.rows);
    for (std::int32_t column = 0; column < e.leading; ++column)
        e.frozenWidth += columnWidth(column);
    std::int32_t line = rowHeight();
    e.frozenHeight = e.headers * line;
    const toolkit::Rect& box = bounds();
    toolkit::Size whole = naturalSize(box.width + 1, box.height + 1);
    std::int32_t width = box.width;
    std::int32_t height = box.height;
    // A bar takes room from the other direction, which may call for the
    // other bar: two rounds settle it.
    for (int round = 0; round < 2; ++round) {
        if (!e.verticalBar && whole.height > height) {
            e.verticalBar = true;
            width = std::max(0, box.width - kBarWidth);
        }
        if (!e.horizontalBar && whole.width > width) {
            e.horizontalBar = true;
            height = std::max(0, box.height - kBarWidth);
        }
    }
    e.content = {0, 0, width, height};
    std::int32_t scrollWidth = std::max(1, width - e.frozenWidth);
    // The last columns that fit decide how far the grid scrolls.
    e.maxLeft = e.columns;
    std::int32_t used = 0;
    while (e.maxLeft > e.leading) {
        used += columnWidth(e.maxLeft - 1);
        if (used > scrollWidth && e.maxLeft < e.columns) break;
        --e.maxLeft;
    }
    e.maxLeft = std::clamp(e.maxLeft, e.leading, std::max(e.leading, e.columns - 1));
    e.pageRows = std::max(1, (height - e.frozenHeight) / line);
    e.maxTop = std::max(e.headers, e.rows - e.pageRows);
    return e;
}

void TableEditable::clampScroll(const Extent& extent) {
    m_scroll.clamp(extent.leading, extent.maxLeft, extent.headers, extent.maxTop);
}

void TableEditable::scrollTo(std::int32_t column, std::int32_t row) {
    m_scroll.setLeft(column);
    m_scroll.setTop(row);
    clampScroll(extent());
    repaint();
}

void TableEditable::revealCurrent() {
    Extent e = extent();
    const std::int32_t selectedColumn = m_selection.column();
    const std::int32_t selectedRow = m_selection.row();
    std::int32_t left = m_scroll.left();
    if (selectedColumn >= e.leading) {
        if (selectedColumn < left) {
            left = selectedColumn;
        } else {
            std::int32_t fitting =
                columnsFitting(left, std::max(1, e.content.width - e.frozenWidth));
            // Fully in sight, unless the column is wider than the view.
            std::int32_t used = 0;
            for (std::int32_t column = left; column <= selectedColumn && column < left + fitting;
                 ++column)
                used += columnWidth(column);
            if (selectedColumn >= left + fitting ||
                (used > e.content.width - e.frozenWidth && selectedColumn > left)) {
                // Scroll so the column is the last one in sight.
                left = selectedColumn;
                std::int32_t width = columnWidth(selectedColumn);
                while (left > e.leading &&
                       width + columnWidth(left - 1) <= e.content.width - e.frozenWidth) {
                    --left;
                    width += columnWidth(left);
                }
            }
        }
    }
    m_scroll.setLeft(left);
    if (selectedRow >= e.headers) {
        if (selectedRow < m_scroll.top()) m_scroll.setTop(selectedRow);
        if (selectedRow >= m_scroll.top() + e.pageRows)
            m_scroll.setTop(selectedRow - e.pageRows + 1);
    }
    clampScroll(e);
    toolkit::Rect shown = cellRect(selectedColumn, selectedRow);
    if (shown.width > 0) ensureVisible(shown);
}

toolkit::Rect TableEditable::cellRect(std::int32_t column, std::int32_t row) const {
    Extent e = extent();
    if (column < 0 || row < 0 || column >= e.columns || row >= e.rows) return {};
    std::int32_t x = 0;
    if (column < e.leading) {
        for (std::int32_t at = 0; at < column; ++at)
            x += columnWidth(at);
    } else {
        if (column < m_scroll.left()) return {};
        x = e.frozenWidth;
        for (std::int32_t at = m_scroll.left(); at < column; ++at) {
            x += columnWidth(at);
            if (x >= e.content.width) return {};
        }
    }
    std::int32_t y = 0;
    if (row < e.headers) {
        y = row * rowHeight();
    } else {
        if (row < m_scroll.top() || row >= m_scroll.top() + e.pageRows + 1) return {};
        y = e.frozenHeight + (row - m_scroll.top()) * rowHeight();
    }
    if (x >= e.content.width || y >= e.content.height) return {};
    return {bounds().x + x, bounds().y + y, columnWidth(column), rowHeight()};
}

std::optional<std::pair<std::int32_t, std::int32_t>> TableEditable::cellAt(
    toolkit::Point local) const {
    Extent e = extent();
    if (!e.content.contains(local)) return std::nullopt;
    std::optional<std::int32_t> column;
    std::int32_t x = 0;
    for (std::int32_t at = 0; at < e.leading && !column; ++at) {
        x += columnWidth(at);
        if (local.x < x) column = at;
    }
    for (std::int32_t at = m_scroll.left(); at < e.columns && !column && x <= local.x; ++at) {
        x += columnWidth(at);
        if (local.x < x) column = at;
    }
    std::int32_t line = rowHeight();
    std::int32_t row = local.y < e.frozenHeight
                           ? local.y / line
                           : m_scroll.top() + (local.y - e.frozenHeight) / line;
    if (!column || row >= e.rows) return std::nullopt;
    return std::pair{*column, row};
}

std::optional<std::int32_t> TableEditable::borderAt(toolkit::Point local) const {
    Extent e = extent();
    if (local.y < 0 || local.y >= e.frozenHeight || local.x >= e.content.width) return std::nullopt;
    std::int32_t x = 0;
    auto near = [&] { return std::abs(local.x - x) <= kResizeGrip; };
    for (std::int32_t at = 0; at < e.leading; ++at) {
        x += columnWidth(at);
        if (near()) return at;
    }
    for (std::int32_t at = m_scroll.left(); at < e.columns && x <= e.content.width; ++at) {
        x += columnWidth(at);
        if (near()) return at;
    }
    return std::nullopt;
}

void TableEditable::layoutWidth(std::int32_t widthHint) {
    fitLeadingColumns();
    toolkit::Size natural = naturalSize(kPreferredWidth, kPreferredHeight + 1);
    std::int32_t width = std::clamp(natural.width, std::min(minimumWidth(), widthHint), widthHint);
    // An empty grid keeps one line's height, to be seen and clicked.
    std::int32_t height = std::clamp(natural.height, rowHeight(), kPreferredHeight);
    // Room for the bars the size calls for.
    if (natural.height > kPreferredHeight) width = std::min(width + kBarWidth, widthHint);
    setBounds({0, 0, width, height});
    if (extent().horizontalBar) setBounds({0, 0, width, height + kBarWidth});
    clampScroll(extent());
}

void TableEditable::layoutSize(toolkit::Size size) {
    fitLeadingColumns();
    setBounds({0, 0, std::max(0, size.width), std::max(0, size.height)});
    clampScroll(extent());
}

std::int32_t TableEditable::minimumWidth() const {
    return std::min(naturalSize(100, 1).width, 100) + kBarWidth;
}

std::int32_t TableEditable::maximumWidth() const {
    return naturalSize(kPreferredWidth, 1).width + kBarWidth;
}

}  // namespace qv
