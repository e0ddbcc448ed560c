// A layout table ("panel"): views in a grid of rows and columns, each in a
// frame of its own. Columns start at their widest cell's minimum width and
// grow together towards their maximum until the width given is used up.
// A view dragged over the table goes into an empty cell, or, near the line
// before the first or after any column or row, into a new column or row.
// Rows and columns left empty by a view taken out are removed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/Hashtable.h"
#include "editing/AbstractEditable.h"
#include "editing/DropContainer.h"
#include "editing/RowCol.h"

namespace qv {

class LayoutTableEditable final : public AbstractEditable, public DropContainer {
    QV_OBJECT(LayoutTableEditable, AbstractEditable, "LayoutTableEditable")
  public:
    // ORDER TARGET MODE: where a dragged view would go.
    enum class TargetMode : std::int32_t {
        IntoCell = 0,
        ColumnBeforeFirst = 1,
        RowBeforeFirst = 2,
        ColumnAfter = 3,
        RowAfter = 4,
    };
    // How near a line between columns or rows counts as on it.
    static constexpr std::int32_t kBoundary = 3;
    // The size of an empty cell, so that it can be seen and dropped on.
    static constexpr std::int32_t kEmptyCellSize = 30;
    // The deepest nesting the document reader reads back: a drop that would
    // nest deeper is refused, so that a saved document always reads.
    static constexpr std::int32_t kMaxNesting = 100;

    LayoutTableEditable(std::int32_t gap = 6, std::int32_t emptyMargin = 20);
    ~LayoutTableEditable() override;

    std::int32_t rowCount() const noexcept { return m_rowCount; }
    std::int32_t columnCount() const noexcept { return m_columnCount; }
    std::int32_t gap() const noexcept { return m_gap; }
    std::int32_t cellCount() const noexcept { return m_cells->size(); }
    Pointer<AbstractEditable> cellAt(std::int32_t row, std::int32_t column) const;

    // Stores the editable at (row, column), replacing what was there; the
    // grid grows to hold the place.
    void put(const Pointer<AbstractEditable>& editable, std::int32_t row, std::int32_t column);
    // Cells at or after `index` move by `count`; -1 removes an empty one.
    void insertColumns(std::int32_t index, std::int32_t count);
    void insertRows(std::int32_t index, std::int32_t count);
    // Scans from index 0 upward and removes every column (then row) found
    // empty at the index examined, continuing with the next index; at least
    // one of each is left.
    void removeEmptyColumnsAndRows();

    // The layout's offsets and sizes (relative to the table's corner).
    const std::vector<std::int32_t>& columnPositions() const noexcept { return m_columnPositions; }
    const std::vector<std::int32_t>& rowPositions() const noexcept { return m_rowPositions; }
    const std::vector<std::int32_t>& columnWidths() const noexcept { return m_columnWidths; }
    const std::vector<std::int32_t>& rowHeights() const noexcept { return m_rowHeights; }
    // Each column's widest minimum and maximum, as measured in the current
    // layout pass (measured afresh when none is open).
    std::vector<ColSummary> columnSummaries() const;

    // The drop target for a view dragged to (x, y): true and the target
    // kept when there is one.
    bool computeTarget(std::int32_t x, std::int32_t y);
    std::int32_t targetRow() const noexcept { return m_targetRow; }
    std::int32_t targetColumn() const noexcept { return m_targetColumn; }
    TargetMode targetMode() const noexcept { return m_targetMode; }
    void clearTarget() noexcept;

    void refresh() override;
    void layoutWidth(std::int32_t widthHint) override;
    void moveBy(toolkit::Point delta) override;
    std::int32_t minimumWidth() const override;
    std::int32_t maximumWidth() const override;
    void notify(const Pointer<Object>& message) override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    Pointer<AbstractPosition> detach(const Pointer<AbstractEditable>& editable) override;
    bool drop(const Pointer<AbstractEditable>& editable,
              const Pointer<AbstractPosition>& position) override;
    Pointer<AbstractPosition> dropPositionAt(std::int32_t x, std::int32_t y,
                                             const Pointer<AbstractEditable>& editable) override;
    Pointer<AbstractEditable> hitTest(std::int32_t x, std::int32_t y, bool deep) override;
    StringPointer getTitle() const override { return str("panel"); }
    void attach(EditableSupport* support) override;
    // A group of the frames in its cells, row by row.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override;
    bool isPanel() const override { return true; }
    bool showDropTarget(std::int32_t x, std::int32_t y, const AbstractEditable& dragged) override;
    void hideDropTarget() override;
    std::int32_t panelDepth() const override;
    // As the layout writer writes every layout table.
    void writeSource(std::string& out, std::int32_t indent) const override;
    StringPointer describe() const override;

  private:
    struct Place {
        std::int32_t row;
        std::int32_t column;
    };
    using CellVisitor = std::function<void(std::int32_t row, std::int32_t column,
                                           const Pointer<AbstractEditable>&)>;
    void forEachCell(const CellVisitor& visit) const;
    std::optional<Place> find(const AbstractEditable& editable) const;
    // The occupied cell whose bounds hold the point.
    Pointer<AbstractEditable> cellUnder(toolkit::Point point) const;
    void shift(bool columns, std::int32_t from, std::int32_t count);
    bool columnIsEmpty(std::int32_t column) const;
    bool rowIsEmpty(std::int32_t row) const;
    // True when the editable may go into this table without nesting
    // tables deeper than the reader reads.
    bool nestsWithinLimit(const AbstractEditable& editable) const;
    std::int32_t margin() const noexcept { return cellCount() > 0 ? m_gap : m_emptyMargin; }
    // The column summaries of the open layout pass, measured at its first
    // question; the caller keeps a pass open while it uses them.
    const std::vector<ColSummary>& measuredColumns() const;
    std::vector<ColSummary> measureColumns() const;
    void forgetMeasures() noexcept { m_measuredInPass = 0; }
    std::int32_t widthFor(const std::vector<ColSummary>& columns,
                          std::int32_t ColSummary::*part) const;
    toolkit::Rect cellRect(std::int32_t row, std::int32_t column) const;
    void paintTarget(toolkit::Graphics& graphics, toolkit::Point corner) const;

    Pointer<Hashtable> m_cells;
    std::int32_t m_rowCount = 1;
    std::int32_t m_columnCount = 1;
    std::int32_t m_gap;
    std::int32_t m_emptyMargin;
    std::vector<std::int32_t> m_columnPositions;
    std::vector<std::int32_t> m_rowPositions;
    std::vector<std::int32_t> m_columnWidths;
    std::vector<std::int32_t> m_rowHeights;
    // What measuredColumns answered, and in which pass (0: none).
    mutable std::vector<ColSummary> m_measured;
    mutable std::uint64_t m_measuredInPass = 0;
    std::int32_t m_targetColumn = -1;
    std::int32_t m_targetRow = -1;
    TargetMode m_targetMode = TargetMode::IntoCell;
};

}  // namespace qv
