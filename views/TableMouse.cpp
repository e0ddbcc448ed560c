// The grid's mouse: a press selects a cell (or, on a header cell, a range
// of columns; Shift extends it), toggles a Boolean cell, grips a header
// border to resize its column or works a scroll bar; a double click edits
// the cell or activates the line; the wheel scrolls.
#include <algorithm>

#include "editing/BooleanChangeCommand.h"
#include "editing/ColWidthChangeCommand.h"
#include "editing/EditableSupport.h"
#include "model/ModelEditor.h"
#include "views/TableEditable.h"

namespace qv {

namespace {

// The grid's column widths as the width command changes them.
class GridColumnWidths final : public ColumnWidthTarget {
    QV_OBJECT(GridColumnWidths, ColumnWidthTarget, "GridColumnWidths")
  public:
    explicit GridColumnWidths(Pointer<TableEditable> grid) : m_grid(std::move(grid)) {}
    std::int32_t columnCount() const override { return m_grid->model()->columnCount(); }
    std::int32_t columnWidth(std::int32_t column) const override {
        return m_grid->columnWidth(column);
    }
    void setColumnWidth(std::int32_t column, std::int32_t width) override {
        m_grid->setColumnWidth(column, width);
    }
    bool isKeptInDocument() const override { return m_grid->isWithinKeptView(); }

  private:
    Pointer<TableEditable> m_grid;
};

// The grid's Boolean cells as the toggle command reaches them: the model
// makes the cell anew each time, so the command works after relayouts.
class GridBooleans final : public BooleanCellTarget {
    QV_OBJECT(GridBooleans, BooleanCellTarget, "GridBooleans")
  public:
    explicit GridBooleans(Pointer<TableEditable> grid) : m_grid(std::move(grid)) {}
    std::optional<bool> booleanAt(std::int32_t column, std::int32_t row) const override {
        const Pointer<GridModel>& model = m_grid->model();
        if (column < 0 || row < 0 || column >= model->columnCount() || row >= model->rowCount())
            return std::nullopt;
        return model->createCell(column, row)->booleanValue();
    }
    // The toggle command is the undo step, so the editor records none.
    void setBooleanAt(std::int32_t column, std::int32_t row, bool value) override {
        auto editor =
            make<ModelEditor>(Pointer<ProgramDef>(m_grid->model()->editedProgram()), nullptr);
        m_grid->model()->createCell(column, row)->setBoolean(*editor, value);
        m_grid->invalidateLayout();
        m_grid->repaint();
    }

  private:
    Pointer<TableEditable> m_grid;
};

bool isPress(toolkit::MouseKind kind) {
    return kind == toolkit::MouseKind::Press || kind == toolkit::MouseKind::DoubleClick ||
           kind == toolkit::MouseKind::RightPress;
}

}  // namespace

bool TableEditable::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    toolkit::Point local{info.x - bounds().x, info.y - bounds().y};
    if (isPress(kind)) {
        press(kind, info);
    } else if (kind == MouseKind::Drag) {
        if (m_resize.isActive()) {
            setColumnWidth(m_resize.column(), m_resize.widthAfter(info.dragDx));
        } else if (m_scroll.thumbVertical()) {
            dragThumb(local);
        }
    } else if (kind == MouseKind::Release) {
        endResize();
        m_scroll.releaseThumb();
    } else if (kind == MouseKind::Move && support() != nullptr) {
        support()->window().setCursor(borderAt(local) ? toolkit::CursorKind::SizeWestEast
                                                      : toolkit::CursorKind::Arrow);
    }
    repaint();
    return true;
}

void TableEditable::press(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    toolkit::Point local{info.x - bounds().x, info.y - bounds().y};
    if (support() != nullptr) support()->select(self());
    Extent e = extent();
    if (kind == MouseKind::Press && pressBar(local, e)) return;
    if (kind == MouseKind::Press) {
        if (std::optional<std::int32_t> border = borderAt(local)) {
            commitPending();
            m_resize.start(*border, columnWidth(*border));
            if (support() != nullptr) support()->grabMouse(self());
            return;
        }
    }
    std::optional<std::pair<std::int32_t, std::int32_t>> at = cellAt(local);
    if (!at) return;
    auto [column, row] = *at;
    commitPending();
    if (kind == MouseKind::DoubleClick) {
        if (row >= e.headers && !m_controller.isNull() &&
            (column == 0 || m_controller->activatesEveryColumn()) &&
            m_controller->lineActivated(*this, row))
            return;
        selectCell(column, row);
        startEditing(std::nullopt);
        return;
    }
    if (kind == MouseKind::RightPress) {
        // Selects for a context menu; toggles nothing.
        selectCell(column, row);
        return;
    }
    pressCell(column, row, info.modifiers);
}

void TableEditable::pressCell(std::int32_t column, std::int32_t row, std::uint32_t modifiers) {
    Extent e = extent();
    if (row < e.headers && column >= e.leading) {
        bool extend = (modifiers & toolkit::modifier::kShift) != 0 && m_selection.anchor() >= 0;
        selectColumns(extend ? m_selection.anchor() : column, column);
        return;
    }
    selectCell(column, row);
    if (modifiers != 0) return;
    if (m_model->createCell(column, row)->booleanValue()) toggleBoolean(column, row);
}

void TableEditable::toggleBoolean(std::int32_t column, std::int32_t row) {
    auto command =
        make<BooleanChangeCommand>(make<GridBooleans>(Pointer<TableEditable>(this)), column, row);
    if (support() != nullptr) {
        support()->commands().execute(command, true);
    } else {
        command->redo();
    }
    showCurrentFormula();
}

void TableEditable::endResize() {
    std::optional<std::pair<std::int32_t, std::int32_t>> ended = m_resize.finish();
    if (!ended) return;
    std::int32_t column = ended->first;
    std::int32_t change = columnWidth(column) - ended->second;
    if (change == 0 || support() == nullptr) return;
    // The drag has already applied the change.
    support()->commands().execute(
        make<ColWidthChangeCommand>(make<GridColumnWidths>(Pointer<TableEditable>(this)), column,
                                    change),
        false);
}

bool TableEditable::pressBar(toolkit::Point local, const Extent& e) {
    for (bool vertical : {true, false}) {
        if (vertical ? !e.verticalBar : !e.horizontalBar) continue;
        if (!barRect(vertical, e).contains(local)) continue;
        const ScrollGeometry bar = geometry(vertical, e);
        const std::int32_t side = bar.sideOfThumb(local);
        if (side == 0) {
            m_scroll.grabThumb(vertical, bar.gripAt(local));
            if (support() != nullptr) support()->grabMouse(self());
            return true;
        }
        // Beside the thumb: one page that way.
        if (vertical) {
            scrollTo(m_scroll.left(), m_scroll.top() + side * e.pageRows);
        } else {
            std::int32_t width = std::max(1, e.content.width - e.frozenWidth);
            scrollTo(m_scroll.left() + side * columnsFitting(m_scroll.left(), width),
                     m_scroll.top());
        }
        return true;
    }
    return false;
}

void TableEditable::dragThumb(toolkit::Point local) {
    Extent e = extent();
    bool vertical = *m_scroll.thumbVertical();
    auto offset =
        static_cast<std::int32_t>(geometry(vertical, e).offsetForDrag(local, m_scroll.grip()));
    if (vertical) {
        scrollTo(m_scroll.left(), e.headers + offset);
    } else {
        scrollTo(e.leading + offset, m_scroll.top());
    }
}

// Rows when there are rows to scroll, else columns: a detailed view of many
// records is wide, not tall.
bool TableEditable::handleWheel(std::int32_t steps) {
    Extent e = extent();
    std::int32_t left = m_scroll.left();
    std::int32_t top = m_scroll.top();
    if (e.maxTop > e.headers) {
        scrollTo(m_scroll.left(), m_scroll.top() - steps * kWheelRows);
    } else {
        scrollTo(m_scroll.left() - steps * kWheelRows, m_scroll.top());
    }
    return left != m_scroll.left() || top != m_scroll.top();
}

}  // namespace qv
