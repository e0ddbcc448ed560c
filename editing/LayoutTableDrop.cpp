// Moving views into and out of a layout table: the drop target under a
// dragged view, the insertion marks that show it, and detach and drop.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "editing/EditableSupport.h"
#include "editing/LayoutTableEditable.h"
#include "editing/LayoutTablePosition.h"
#include "editing/TitleDecorator.h"

namespace qv {

namespace {

enum class Side { None, Before, After };

struct Located {
    std::int32_t index = -1;
    Side side = Side::None;
};

// Finds a coordinate (relative to the table) among columns or rows: on the
// line before the first, on the line after one of them, inside one (with
// the gap after it), before the table, or beyond its end.
Located locate(std::int32_t at, const std::vector<std::int32_t>& positions,
               const std::vector<std::int32_t>& sizes, std::int32_t gap) {
    const auto count = static_cast<std::int32_t>(positions.size());
    if (count == 0) return {};
    const auto near = [](std::int32_t a, std::int32_t b) {
        return std::abs(a - b) <= LayoutTableEditable::kBoundary;
    };
    if (near(at, positions[0])) return {0, Side::Before};
    for (std::int32_t i = 0; i < count; ++i)
        if (near(at, positions[i] + sizes[i])) return {i, Side::After};
    if (at < positions[0]) return {};
    for (std::int32_t i = 0; i < count; ++i)
        if (at < positions[i] + sizes[i] + gap) return {i, Side::None};
    return {count - 1, Side::After};
}

}  // namespace

bool LayoutTableEditable::nestsWithinLimit(const AbstractEditable& editable) const {
    std::int32_t above = 0;
    // Counted by class: a frame's scrolling around a panel answers isPanel too.
    for (const AbstractEditable* at = parent(); at != nullptr; at = at->parent())
        if (is<LayoutTableEditable>(*at)) ++above;
    return above + 1 + panelDepthOf(editable) <= kMaxNesting;
}

void LayoutTableEditable::clearTarget() noexcept {
    m_targetColumn = m_targetRow = -1;
    m_targetMode = TargetMode::IntoCell;
}

bool LayoutTableEditable::computeTarget(std::int32_t x, std::int32_t y) {
    clearTarget();
    if (cellCount() == 0) {
        m_targetColumn = m_targetRow = 0;
        return true;
    }
    Located column = locate(x - bounds().x, m_columnPositions, m_columnWidths, m_gap);
    Located row = locate(y - bounds().y, m_rowPositions, m_rowHeights, m_gap);
    TargetMode mode = TargetMode::IntoCell;
    if (column.side == Side::Before) mode = TargetMode::ColumnBeforeFirst;
    if (column.side == Side::After) mode = TargetMode::ColumnAfter;
    if (row.side == Side::Before) mode = TargetMode::RowBeforeFirst;
    if (row.side == Side::After) mode = TargetMode::RowAfter;
    if (column.index < 0 || row.index < 0) return false;
    if (mode == TargetMode::IntoCell && !cellAt(row.index, column.index).isNull()) return false;
    m_targetColumn = column.index;
    m_targetRow = row.index;
    m_targetMode = mode;
    return true;
}

// The table's own lines come first; over an occupied cell away from them
// the cell is asked (a layout table inside it may take the view).
bool LayoutTableEditable::showDropTarget(std::int32_t x, std::int32_t y,
                                         const AbstractEditable& dragged) {
    if (!nestsWithinLimit(dragged)) return false;
    if (computeTarget(x, y)) {
        repaint();
        return true;
    }
    Pointer<AbstractEditable> cell = cellUnder({x, y});
    return !cell.isNull() && showDropTargetIn(*cell, x, y, dragged);
}

void LayoutTableEditable::hideDropTarget() {
    clearTarget();
    forEachCell([](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) {
        hideDropTargetIn(*cell);
    });
}

Pointer<AbstractPosition> LayoutTableEditable::dropPositionAt(
    std::int32_t x, std::int32_t y, const Pointer<AbstractEditable>& editable) {
    if (editable.isNull() || !nestsWithinLimit(*editable)) return {};
    if (!computeTarget(x, y)) {
        Pointer<AbstractEditable> cell = cellUnder({x, y});
        return cell.isNull() ? Pointer<AbstractPosition>() : dropPositionIn(*cell, x, y, editable);
    }
    std::int32_t row = m_targetRow;
    std::int32_t column = m_targetColumn;
    switch (m_targetMode) {
        case TargetMode::IntoCell:
            break;
        case TargetMode::ColumnBeforeFirst:
            insertColumns(0, 1);
            column = 0;
            break;
        case TargetMode::RowBeforeFirst:
            insertRows(0, 1);
            row = 0;
            break;
        case TargetMode::ColumnAfter:
            insertColumns(column + 1, 1);
            ++column;
            break;
        case TargetMode::RowAfter:
            insertRows(row + 1, 1);
            ++row;
            break;
    }
    put(editable, row, column);
    removeEmptyColumnsAndRows();
    if (auto titled = cast<TitleDecorator>(editable); !titled.isNull()) titled->setTopLevel(false);
    clearTarget();
    // Removing empty lines may have moved the view: its place is read back.
    auto place = find(*editable);
    if (!place) return {};
    return make<LayoutTablePosition>(self(), place->row, place->column, m_rowCount, m_columnCount);
}

Pointer<AbstractPosition> LayoutTableEditable::detach(const Pointer<AbstractEditable>& editable) {
    if (editable.isNull()) return {};
    if (auto place = find(*editable)) {
        auto position =
            make<LayoutTablePosition>(self(), place->row, place->column, m_rowCount, m_columnCount);
        m_cells->remove(make<RowCol>(place->row, place->column));
        forgetMeasures();
        AbstractEditable::release(editable);
        removeEmptyColumnsAndRows();
        invalidateLayout();
        return position;
    }
    Pointer<AbstractPosition> found;
    forEachCell([&](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) {
        if (found.isNull()) found = detachFrom(*cell, editable);
    });
    return found;
}

// Back to a place this table answered before. Lines that emptied and went
// since come back first (the counts of that moment tell how many), and an
// occupied place makes room with a new column: a drop never replaces a view.
bool LayoutTableEditable::drop(const Pointer<AbstractEditable>& editable,
                               const Pointer<AbstractPosition>& position) {
    auto place = cast<LayoutTablePosition>(position);
    if (editable.isNull() || place.isNull() || place->container().object() != this) return false;
    if (find(*editable)) return false;
    std::int32_t row = std::max(0, place->row());
    std::int32_t column = std::max(0, place->column());
    if (m_columnCount < place->columnCount()) {
        insertColumns(std::min(column, m_columnCount), place->columnCount() - m_columnCount);
    }
    if (m_rowCount < place->rowCount()) {
        insertRows(std::min(row, m_rowCount), place->rowCount() - m_rowCount);
    }
    if (!cellAt(row, column).isNull()) insertColumns(column, 1);
    put(editable, row, column);
    if (auto titled = cast<TitleDecorator>(editable); !titled.isNull()) titled->setTopLevel(false);
    invalidateLayout();
    return true;
}

// A filled cell for a drop into it; a bar on the line where a new column
// or row would open.
void LayoutTableEditable::paintTarget(toolkit::Graphics& graphics, toolkit::Point corner) const {
    if (m_targetRow < 0 || m_targetColumn < 0) return;
    toolkit::Rect cell = cellRect(m_targetRow, m_targetColumn).translated(corner.x, corner.y);
    const std::int32_t half = m_gap / 2;
    const std::int32_t left = corner.x + m_columnPositions.front();
    const std::int32_t top = corner.y + m_rowPositions.front();
    const std::int32_t width =
        m_columnPositions.back() + m_columnWidths.back() - m_columnPositions.front();
    const std::int32_t height =
        m_rowPositions.back() + m_rowHeights.back() - m_rowPositions.front();
    toolkit::Rect mark;
    switch (m_targetMode) {
        case TargetMode::IntoCell:
            graphics.setColor(colors().selection);
            graphics.fillRect({cell.x + 1, cell.y + 1, cell.width - 2, cell.height - 2});
            return;
        case TargetMode::ColumnBeforeFirst:
            mark = {left - half - 1, top, 3, height};
            break;
        case TargetMode::ColumnAfter:
            mark = {cell.right() + half - 1, top, 3, height};
            break;
        case TargetMode::RowBeforeFirst:
            mark = {left, top - half - 1, width, 3};
            break;
        case TargetMode::RowAfter:
            mark = {left, cell.bottom() + half - 1, width, 3};
            break;
    }
    graphics.setColor(colors().accent);
    graphics.fillRect(mark);
}

}  // namespace qv
