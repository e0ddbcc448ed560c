// The grid of a layout table: its cells, their layout, painting and text.
// Drop targets, detaching and dropping are in LayoutTableDrop.cpp.
#include "editing/LayoutTableEditable.h"

#include <algorithm>
#include <numeric>

#include "editing/EditableSupport.h"
#include "layout/LayoutWriter.h"

namespace qv {

namespace {

// A layout pass asks a nested table for its minimum width, its maximum
// width and then lays it out, and every one of those questions used to
// measure the tables inside it afresh: three times a level, exponential in
// the depth. Nothing a measure depends on changes while one outermost width
// question is being answered, so the tables remember their measures for as
// long as it runs; the next question opens a new pass and measures again.
thread_local std::uint64_t t_lastPass = 0;
thread_local std::int32_t t_openQuestions = 0;

class LayoutPass {
  public:
    LayoutPass() noexcept {
        if (t_openQuestions++ == 0) ++t_lastPass;
    }
    ~LayoutPass() { --t_openQuestions; }
    LayoutPass(const LayoutPass&) = delete;
    LayoutPass& operator=(const LayoutPass&) = delete;
    std::uint64_t id() const noexcept { return t_lastPass; }
};

}  // namespace

LayoutTableEditable::LayoutTableEditable(std::int32_t gap, std::int32_t emptyMargin)
    : m_cells(make<Hashtable>()), m_gap(gap), m_emptyMargin(emptyMargin) {}

LayoutTableEditable::~LayoutTableEditable() {
    forEachCell([this](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) {
        AbstractEditable::release(cell);
    });
}

void LayoutTableEditable::forEachCell(const CellVisitor& visit) const {
    // A copy of the entries first: a visitor may change the table.
    std::vector<std::pair<Place, Pointer<AbstractEditable>>> entries;
    entries.reserve(static_cast<std::size_t>(m_cells->size()));
    for (std::int32_t bucket = 0; bucket < m_cells->bucketCount(); ++bucket) {
        for (Pointer<KeyVal> entry = m_cells->bucket(bucket); !entry.isNull();
             entry = entry->next) {
            const auto& key = static_cast<const RowCol&>(*entry->key.object());
            entries.emplace_back(Place{key.row, key.column}, cast<AbstractEditable>(entry->value));
        }
    }
    for (const auto& [key, cell] : entries)
        visit(key.row, key.column, cell);
}

Pointer<AbstractEditable> LayoutTableEditable::cellAt(std::int32_t row, std::int32_t column) const {
    return cast<AbstractEditable>(m_cells->get(make<RowCol>(row, column)));
}

std::optional<LayoutTableEditable::Place> LayoutTableEditable::find(
    const AbstractEditable& editable) const {
    std::optional<Place> found;
    forEachCell([&](std::int32_t row, std::int32_t column, const Pointer<AbstractEditable>& cell) {
        if (cell.object() == &editable) found = Place{row, column};
    });
    return found;
}

void LayoutTableEditable::put(const Pointer<AbstractEditable>& editable, std::int32_t row,
                              std::int32_t column) {
    if (editable.isNull() || row < 0 || column < 0) return;
    m_rowCount = std::max(m_rowCount, row + 1);
    m_columnCount = std::max(m_columnCount, column + 1);
    Pointer<AbstractEditable> old =
        cast<AbstractEditable>(m_cells->put(make<RowCol>(row, column), editable));
    if (!(old == editable)) AbstractEditable::release(old);
    adopt(editable);
    forgetMeasures();
    invalidateLayout();
}

// Cells at or after `from` move by `count` along rows or columns.
void LayoutTableEditable::shift(bool columns, std::int32_t from, std::int32_t count) {
    auto moved = make<Hashtable>();
    forEachCell([&](std::int32_t row, std::int32_t column, const Pointer<AbstractEditable>& cell) {
        std::int32_t& along = columns ? column : row;
        if (along >= from) along += count;
        moved->put(make<RowCol>(row, column), cell);
    });
    m_cells = moved;
    forgetMeasures();
}

void LayoutTableEditable::insertColumns(std::int32_t index, std::int32_t count) {
    if (count == 0 || (count < 0 && !columnIsEmpty(index))) return;
    if (count < 0) count = -1;
    shift(true, count < 0 ? index + 1 : index, count);
    m_columnCount = std::max(0, m_columnCount + count);
    invalidateLayout();
}

void LayoutTableEditable::insertRows(std::int32_t index, std::int32_t count) {
    if (count == 0 || (count < 0 && !rowIsEmpty(index))) return;
    if (count < 0) count = -1;
    shift(false, count < 0 ? index + 1 : index, count);
    m_rowCount = std::max(0, m_rowCount + count);
    invalidateLayout();
}

bool LayoutTableEditable::columnIsEmpty(std::int32_t column) const {
    bool empty = true;
    forEachCell([&](std::int32_t, std::int32_t at, const Pointer<AbstractEditable>&) {
        if (at == column) empty = false;
    });
    return empty;
}

bool LayoutTableEditable::rowIsEmpty(std::int32_t row) const {
    bool empty = true;
    forEachCell([&](std::int32_t at, std::int32_t, const Pointer<AbstractEditable>&) {
        if (at == row) empty = false;
    });
    return empty;
}

void LayoutTableEditable::removeEmptyColumnsAndRows() {
    for (std::int32_t column = 0; column < m_columnCount; ++column)
        if (columnIsEmpty(column)) insertColumns(column, -1);
    if (m_columnCount == 0) m_columnCount = 1;
    for (std::int32_t row = 0; row < m_rowCount; ++row)
        if (rowIsEmpty(row)) insertRows(row, -1);
    if (m_rowCount == 0) m_rowCount = 1;
    forgetMeasures();
}

// ---- layout

std::vector<ColSummary> LayoutTableEditable::columnSummaries() const {
    LayoutPass pass;
    return measuredColumns();
}

const std::vector<ColSummary>& LayoutTableEditable::measuredColumns() const {
    std::uint64_t pass = t_lastPass;
    if (t_openQuestions == 0 || m_measuredInPass != pass) {
        m_measured = measureColumns();
        m_measuredInPass = t_openQuestions == 0 ? 0 : pass;
    }
    return m_measured;
}

std::vector<ColSummary> LayoutTableEditable::measureColumns() const {
    std::vector<ColSummary> columns(static_cast<std::size_t>(m_columnCount));
    std::vector<bool> occupied(columns.size(), false);
    forEachCell([&](std::int32_t, std::int32_t column, const Pointer<AbstractEditable>& cell) {
        auto at = static_cast<std::size_t>(column);
        if (at >= columns.size()) return;
        columns[at].minimum = std::max(columns[at].minimum, cell->minimumWidth());
        columns[at].maximum = std::max(columns[at].maximum, cell->maximumWidth());
        occupied[at] = true;
    });
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!occupied[i]) columns[i].minimum = columns[i].maximum = kEmptyCellSize;
        // No column is wider than a view is laid out.
        columns[i].minimum = toolkit::limitExtent(columns[i].minimum);
        columns[i].maximum = toolkit::limitExtent(std::max(columns[i].maximum, columns[i].minimum));
        columns[i].width = columns[i].minimum;
    }
    return columns;
}

std::int32_t LayoutTableEditable::widthFor(const std::vector<ColSummary>& columns,
                                           std::int32_t ColSummary::*part) const {
    std::int64_t total = 2 * margin() + m_gap * (static_cast<std::int64_t>(columns.size()) - 1);
    for (const ColSummary& column : columns)
        total += column.*part;
    return toolkit::limitExtent(total);
}

std::int32_t LayoutTableEditable::minimumWidth() const {
    LayoutPass pass;
    return widthFor(measuredColumns(), &ColSummary::minimum);
}

std::int32_t LayoutTableEditable::maximumWidth() const {
    LayoutPass pass;
    return widthFor(measuredColumns(), &ColSummary::maximum);
}

void LayoutTableEditable::layoutWidth(std::int32_t widthHint) {
    LayoutPass pass;
    std::vector<ColSummary> columns = measuredColumns();
    // Every column below its maximum gets an equal share of what is left,
    // until the width is used up, none can grow, or the share is 0.
    for (;;) {
        std::int32_t total = widthFor(columns, &ColSummary::width);
        if (total >= widthHint) break;
        auto growing = std::count_if(columns.begin(), columns.end(),
                                     [](const ColSummary& c) { return c.width < c.maximum; });
        if (growing == 0) break;
        std::int32_t share = (widthHint - total) / static_cast<std::int32_t>(growing);
        if (share == 0) break;
        for (ColSummary& column : columns)
            if (column.width < column.maximum)
                column.width = static_cast<std::int32_t>(
                    std::min<std::int64_t>(std::int64_t{column.width} + share, column.maximum));
    }
    m_columnWidths.clear();
    m_columnPositions.clear();
    // Offsets are summed in 64 bits: ten thousand columns of the widest
    // size would overflow, and end at the widest a table is laid out.
    std::int64_t x = margin();
    for (const ColSummary& column : columns) {
        m_columnPositions.push_back(toolkit::limitExtent(x));
        m_columnWidths.push_back(column.width);
        x += std::int64_t{column.width} + m_gap;
    }
    m_rowHeights.assign(static_cast<std::size_t>(m_rowCount), 0);
    forEachCell([&](std::int32_t row, std::int32_t column, const Pointer<AbstractEditable>& cell) {
        cell->layoutWidth(m_columnWidths[static_cast<std::size_t>(column)]);
        auto& height = m_rowHeights[static_cast<std::size_t>(row)];
        height = std::max(height, cell->bounds().height);
    });
    m_rowPositions.clear();
    std::int64_t y = margin();
    for (std::int32_t& height : m_rowHeights) {
        if (height == 0) height = kEmptyCellSize;
        m_rowPositions.push_back(toolkit::limitExtent(y));
        y += std::int64_t{height} + m_gap;
    }
    forEachCell([&](std::int32_t row, std::int32_t column, const Pointer<AbstractEditable>& cell) {
        cell->moveBy({m_columnPositions[static_cast<std::size_t>(column)],
                      m_rowPositions[static_cast<std::size_t>(row)]});
    });
    setBounds({0, 0, toolkit::limitExtent(x - m_gap + margin()),
               toolkit::limitExtent(y - m_gap + margin())});
}

void LayoutTableEditable::moveBy(toolkit::Point delta) {
    AbstractEditable::moveBy(delta);
    forEachCell([&](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) {
        cell->moveBy(delta);
    });
}

void LayoutTableEditable::refresh() {
    forEachCell(
        [](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) { cell->refresh(); });
}

void LayoutTableEditable::notify(const Pointer<Object>& message) {
    forEachCell([&](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) {
        cell->notify(message);
    });
}

void LayoutTableEditable::attach(EditableSupport* support) {
    AbstractEditable::attach(support);
    forEachCell([support](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) {
        cell->attach(support);
    });
}

std::int32_t LayoutTableEditable::panelDepth() const {
    std::int32_t deepest = 0;
    forEachCell([&](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) {
        deepest = std::max(deepest, panelDepthOf(*cell));
    });
    return deepest + 1;
}

// ---- events and painting

Pointer<AbstractEditable> LayoutTableEditable::cellUnder(toolkit::Point point) const {
    Pointer<AbstractEditable> found;
    forEachCell([&](std::int32_t, std::int32_t, const Pointer<AbstractEditable>& cell) {
        if (cell->bounds().contains(point)) found = cell;
    });
    return found;
}

bool LayoutTableEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    Pointer<AbstractEditable> cell = cellUnder(info.point());
    return !cell.isNull() && cell->handleMouse(kind, info);
}

Pointer<AbstractEditable> LayoutTableEditable::hitTest(std::int32_t x, std::int32_t y, bool deep) {
    if (!bounds().contains({x, y})) return {};
    if (deep) {
        Pointer<AbstractEditable> cell = cellUnder({x, y});
        if (!cell.isNull()) {
            Pointer<AbstractEditable> inner = cell->hitTest(x, y, true);
            if (!inner.isNull()) return inner;
        }
    }
    return self();
}

toolkit::Rect LayoutTableEditable::cellRect(std::int32_t row, std::int32_t column) const {
    auto r = static_cast<std::size_t>(row);
    auto c = static_cast<std::size_t>(column);
    if (r >= m_rowPositions.size() || c >= m_columnPositions.size()) return {};
    return {m_columnPositions[c], m_rowPositions[r], m_columnWidths[c], m_rowHeights[r]};
}

void LayoutTableEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    if (area.intersected(graphics.clip()).isEmpty()) return;
    graphics.setColor(colors().shade(3));
    graphics.fillRect(area);
    for (std::int32_t row = 0; row < m_rowCount; ++row) {
        for (std::int32_t column = 0; column < m_columnCount; ++column) {
            toolkit::Rect place = cellRect(row, column).translated(area.x, area.y);
            if (place.intersected(graphics.clip()).isEmpty()) continue;
            Pointer<AbstractEditable> cell = cellAt(row, column);
            if (!cell.isNull()) {
                cell->paint(graphics, origin);
                continue;
            }
            // An empty cell shows where a view could go.
            graphics.setColor(colors().shade(1));
            graphics.drawRect({place.x, place.y, place.width - 1, place.height - 1});
        }
    }
    paintTarget(graphics, {area.x, area.y});
}

void LayoutTableEditable::writeSource(std::string& out, std::int32_t indent) const {
    writeLayoutTable(
        out, indent, m_rowCount, m_columnCount,
        [this](std::string& text, std::int32_t row, std::int32_t column, std::int32_t cellIndent) {
            Pointer<AbstractEditable> cell = cellAt(row, column);
            if (cell.isNull() || !cell->isKeptInDocument()) return false;
            cell->writeSource(text, cellIndent);
            return true;
        });
}

StringPointer LayoutTableEditable::describe() const {
    return str("LayoutTableEditable(" + std::to_string(m_rowCount) + "x" +
               std::to_string(m_columnCount) + ",cells=" + std::to_string(cellCount()) + ")");
}

}  // namespace qv
