#include "views/GridAccessible.h"

#include <limits>
#include <vector>

#include "views/CellModel.h"
#include "views/GridModel.h"
#include "views/InnerViewEditable.h"
#include "views/SpliterEditable.h"
#include "views/TreeEditable.h"

namespace qv {

namespace {

std::string textOf(const Pointer<CellModel>& cell) {
    return cell.isNull() ? std::string() : cell->text()->toStdString();
}

}  // namespace

GridNode::GridNode(const TableEditable& grid, AccessibleNodePointer parent)
    : EditableNode(grid, std::move(parent), toolkit::AccessibleRole::Table) {}

std::string GridNode::name() const {
    return grid().model()->title()->toStdString();
}

std::int32_t GridNode::rowCount() const {
    return grid().model()->rowCount();
}

std::int32_t GridNode::columnCount() const {
    return grid().model()->columnCount();
}

std::int32_t GridNode::childCount() const {
    // A reader walking the children of a huge grid sees as many as an
    // index can count.
    std::int64_t cells = static_cast<std::int64_t>(rowCount()) * columnCount();
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(cells, std::numeric_limits<std::int32_t>::max()));
}

AccessibleNodePointer GridNode::child(std::int32_t index) const {
    std::int32_t columns = columnCount();
    if (index < 0 || index >= childCount() || columns <= 0) return {};
    return cell(index / columns, index % columns);
}

AccessibleNodePointer GridNode::cell(std::int32_t row, std::int32_t column) const {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return {};
    return std::make_shared<GridCellNode>(grid(), self(), row, column);
}

std::string GridNode::columnHeader(std::int32_t column) const {
    GridModel& model = *grid().model();
    std::string header;
    for (std::int32_t row = 0, headers = model.headerRowCount(); row < headers; ++row) {
        std::string text = textOf(model.createCell(column, row));
        if (text.empty()) continue;
        header += header.empty() ? text : " " + text;
    }
    return header;
}

std::string GridNode::rowHeader(std::int32_t row) const {
    GridModel& model = *grid().model();
    std::string header;
    for (std::int32_t column = 0, leading = model.leadingColumnCount(); column < leading;
         ++column) {
        std::string text = textOf(model.createCell(column, row));
        if (text.empty()) continue;
        header += header.empty() ? text : " " + text;
    }
    return header;
}

AccessibleNodePointer GridNode::focusedChild() const {
    return cell(grid().currentRow(), grid().currentColumn());
}

GridCellNode::GridCellNode(const TableEditable& grid, AccessibleNodePointer table, std::int32_t row,
                           std::int32_t column)
    : m_grid(const_cast<TableEditable*>(&grid)),
      m_table(std::move(table)),
      m_row(row),
      m_column(column) {}

bool GridCellNode::isAlive() const {
    return isInTree(*m_grid) && m_row < m_grid->model()->rowCount() &&
           m_column < m_grid->model()->columnCount();
}

Pointer<CellModel> GridCellNode::cellModel() const {
    if (!isAlive()) return {};
    return m_grid->model()->createCell(m_column, m_row);
}

std::string GridCellNode::name() const {
    if (!isAlive()) return {};
    return m_grid->model()->cellName(m_column, m_row);
}

std::string GridCellNode::value() const {
    return textOf(cellModel());
}

std::string GridCellNode::description() const {
    Pointer<CellModel> cell = cellModel();
    if (cell.isNull() || !cell->isError()) return {};
    // The grid may shorten the text to its column; the error in full.
    return cell->editText()->toStdString();
}

bool GridCellNode::isError() const {
    Pointer<CellModel> cell = cellModel();
    return !cell.isNull() && cell->isError();
}

bool GridCellNode::isEditable() const {
    Pointer<CellModel> cell = cellModel();
    return !cell.isNull() && cell->isEditable();
}

bool GridCellNode::isFocused() const {
    return m_grid->isFocused() && m_grid->currentRow() == m_row &&
           m_grid->currentColumn() == m_column;
}

toolkit::Rect GridCellNode::bounds() const {
    if (!isAlive()) return {};
    toolkit::Rect cell = m_grid->cellRect(m_column, m_row);
    if (cell.width <= 0 || cell.height <= 0) return {};
    toolkit::Rect grid = m_grid->bounds();
    toolkit::Rect shown = shownBounds(*m_grid);
    return {cell.x + shown.x - grid.x, cell.y + shown.y - grid.y, cell.width, cell.height};
}

// The views' own nodes: a grid's table, a result view seen through to the
// view inside it, the project view's tree.

std::shared_ptr<toolkit::AccessibleNode> TableEditable::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    return std::make_shared<GridNode>(*this, parent);
}

std::shared_ptr<toolkit::AccessibleNode> TreeEditable::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    return std::make_shared<EditableNode>(*this, parent, toolkit::AccessibleRole::Tree);
}

std::shared_ptr<toolkit::AccessibleNode> InnerViewEditable::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    if (m_inner.isNull()) return AbstractEditable::accessibleNode(parent);
    return m_inner->accessibleNode(parent);
}

std::shared_ptr<toolkit::AccessibleNode> SpliterEditable::accessibleNode(
    const std::shared_ptr<toolkit::AccessibleNode>& parent) const {
    std::vector<Pointer<AbstractEditable>> sides{leftBox(), rightBox()};
    return std::make_shared<ContainerNode>(*this, parent, toolkit::AccessibleRole::Group,
                                           std::move(sides), "Project");
}

}  // namespace qv
