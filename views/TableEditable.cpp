#include "views/TableEditable.h"

#include <algorithm>
#include <cstdlib>

#include "editing/EditableSupport.h"

namespace qv {

TableEditable::TableEditable(const Pointer<GridModel>& model) : m_model(model) {
    m_row = std::clamp(m_model->headerRowCount(), 0, std::max(0, m_model->rowCount() - 1));
    m_column =
        std::clamp(m_model->leadingColumnCount(), 0, std::max(0, m_model->columnCount() - 1));
    m_left = m_column;
    m_top = m_row;
    m_rowIdentity = m_model->rowIdentity(m_row);
}

TableEditable::~TableEditable() = default;

bool TableEditable::acceptValue(const Pointer<Object>& value) {
    if (!m_model->acceptValue(value)) return false;
    m_typing.reset();
    keepRowIdentity();
    // Records or fields may have gone.
    m_column = std::clamp(m_column, 0, std::max(0, m_model->columnCount() - 1));
    if (m_rangeAnchor >= m_model->columnCount()) m_rangeAnchor = m_rangeEnd = -1;
    m_rangeEnd = std::min(m_rangeEnd, m_model->columnCount() - 1);
    invalidateLayout();
    repaint();
    return true;
}

// The line the selection stood on may have moved (fields shown or hidden,
// formula lines added): find it again by its identity, else stay in range.
void TableEditable::keepRowIdentity() {
    std::int32_t rows = m_model->rowCount();
    if (m_row < rows && m_model->rowIdentity(m_row) == m_rowIdentity) return;
    for (std::int32_t row = 0; row < rows; ++row) {
        if (m_model->rowIdentity(row) == m_rowIdentity) {
            m_row = row;
            return;
        }
    }
    m_row = std::clamp(m_row, 0, std::max(0, rows - 1));
    m_rowIdentity = m_model->rowIdentity(m_row);
}

void TableEditable::selectCell(std::int32_t column, std::int32_t row) {
    m_column = std::clamp(column, 0, std::max(0, m_model->columnCount() - 1));
    m_row = std::clamp(row, 0, std::max(0, m_model->rowCount() - 1));
    m_rowIdentity = m_model->rowIdentity(m_row);
    m_rangeAnchor = m_rangeEnd = -1;
    revealCurrent();
    showCurrentFormula();
    repaint();
}

std::optional<std::pair<std::int32_t, std::int32_t>> TableEditable::selectedColumns() const {
    if (m_rangeAnchor < 0) return std::nullopt;
    return std::pair{std::min(m_rangeAnchor, m_rangeEnd), std::max(m_rangeAnchor, m_rangeEnd)};
}

void TableEditable::selectColumns(std::int32_t first, std::int32_t last) {
    std::int32_t columns = m_model->columnCount();
    if (columns == 0) return;
    m_rangeAnchor = std::clamp(first, 0, columns - 1);
    m_rangeEnd = std::clamp(last, 0, columns - 1);
    m_column = m_rangeEnd;
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
    auto found = m_widths.find(column);
    if (found != m_widths.end()) return found->second;
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
    m_widths[column] = std::max(kSmallestColumn, width);
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
    m_left = std::clamp(m_left, extent.leading, extent.maxLeft);
    m_top = std::clamp(m_top, extent.headers, extent.maxTop);
}

void TableEditable::scrollTo(std::int32_t column, std::int32_t row) {
    m_left = column;
    m_top = row;
    clampScroll(extent());
    repaint();
}

void TableEditable::revealCurrent() {
    Extent e = extent();
    if (m_column >= e.leading) {
        if (m_column < m_left) {
            m_left = m_column;
        } else {
            std::int32_t fitting =
                columnsFitting(m_left, std::max(1, e.content.width - e.frozenWidth));
            // Fully in sight, unless the column is wider than the view.
            std::int32_t used = 0;
            for (std::int32_t column = m_left; column <= m_column && column < m_left + fitting;
                 ++column)
                used += columnWidth(column);
            if (m_column >= m_left + fitting ||
                (used > e.content.width - e.frozenWidth && m_column > m_left)) {
                // Scroll so the column is the last one in sight.
                std::int32_t left = m_column;
                std::int32_t width = columnWidth(m_column);
                while (left > e.leading &&
                       width + columnWidth(left - 1) <= e.content.width - e.frozenWidth) {
                    --left;
                    width += columnWidth(left);
                }
                m_left = left;
            }
        }
    }
    if (m_row >= e.headers) {
        if (m_row < m_top) m_top = m_row;
        if (m_row >= m_top + e.pageRows) m_top = m_row - e.pageRows + 1;
    }
    clampScroll(e);
    toolkit::Rect shown = cellRect(m_column, m_row);
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
        if (column < m_left) return {};
        x = e.frozenWidth;
        for (std::int32_t at = m_left; at < column; ++at) {
            x += columnWidth(at);
            if (x >= e.content.width) return {};
        }
    }
    std::int32_t y = 0;
    if (row < e.headers) {
        y = row * rowHeight();
    } else {
        if (row < m_top || row >= m_top + e.pageRows + 1) return {};
        y = e.frozenHeight + (row - m_top) * rowHeight();
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
    for (std::int32_t at = m_left; at < e.columns && !column && x <= local.x; ++at) {
        x += columnWidth(at);
        if (local.x < x) column = at;
    }
    std::int32_t line = rowHeight();
    std::int32_t row =
        local.y < e.frozenHeight ? local.y / line : m_top + (local.y - e.frozenHeight) / line;
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
    for (std::int32_t at = m_left; at < e.columns && x <= e.content.width; ++at) {
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
