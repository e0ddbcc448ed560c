// The main panel's part in deleting fields and tables: which field or table
// the selection names, the Edit menu's and a cell's context menu's items,
// and Ctrl+Delete on a name cell. The warning and the edit are the delete
// flow's (DeleteFlow).
//
// Ctrl+Delete acts only on a name cell (a field's header, a table's name
// in a list of tables): Delete alone clears a cell, and a slip of Ctrl on a
// value must not take its whole field with it.
#include "desktop/MainPanel.h"
#include "views/TableCells.h"
#include "views/TableEditable.h"
#include "views/TablesView.h"

namespace qv {

namespace {

// The cell at the grid's current position, or null.
Pointer<CellModel> currentCell(const Pointer<AbstractEditable>& selected) {
    auto grid = cast<TableEditable>(selected);
    if (grid.isNull()) return {};
    const Pointer<GridModel>& model = grid->model();
    if (grid->currentColumn() >= model->columnCount() || grid->currentRow() >= model->rowCount())
        return {};
    return model->createCell(grid->currentColumn(), grid->currentRow());
}

// The index of the program's table that `table` computes, or -1 for a
// table of no program of the kernel's (a selection, a local table).
std::int32_t programIndex(Kernel& kernel, const TableResult& table) {
    std::int32_t index = table.index();
    if (index < 0 || index >= kernel.getTableCount()) return -1;
    return kernel.program()->table(index).get() == table.definition().get() ? index : -1;
}

}  // namespace

std::optional<MainPanel::FieldChoice> MainPanel::selectedField() const {
    auto cell = cast<FieldCell>(currentCell(support().selected()));
    if (cell.isNull()) return std::nullopt;
    std::int32_t table = programIndex(*m_kernel, *cell->table());
    if (table < 0 || cell->field() < 0 || cell->field() >= cell->table()->fieldCount())
        return std::nullopt;
    return FieldChoice{table, cell->field()};
}

std::optional<std::int32_t> MainPanel::selectedTable() const {
    Pointer<CellModel> cell = currentCell(support().selected());
    if (auto line = cast<TableListCell>(cell); !line.isNull()) {
        if (line->index() < 0 || line->index() >= m_kernel->getTableCount()) return std::nullopt;
        return line->index();
    }
    if (std::optional<FieldChoice> field = selectedField()) return field->table;
    return std::nullopt;
}

void MainPanel::deleteMenuChosen(MenuCommand command) {
    if (m_nameEdits.isAsking() || m_deletes.isAsking()) return;
    if (command == MenuCommand::DeleteField || command == MenuCommand::CellDeleteField) {
        if (std::optional<FieldChoice> field = selectedField())
            return m_deletes.deleteField(field->table, field->field);
        window().showMessageBox("Select a cell of a field to delete the field.", kProductName,
                                toolkit::MessageBoxKind::Notice);
        return;
    }
    if (std::optional<std::int32_t> table = selectedTable()) return m_deletes.deleteTable(*table);
    window().showMessageBox("Select a table, or a cell of one, to delete the table.", kProductName,
                            toolkit::MessageBoxKind::Notice);
}

bool MainPanel::deleteKey(std::int32_t code, std::uint32_t modifiers) {
    constexpr std::uint32_t kOthers = toolkit::modifier::kShift | toolkit::modifier::kAlt;
    if (code != toolkit::key::kDelete || (modifiers & toolkit::modifier::kControl) == 0 ||
        (modifiers & kOthers) != 0) {
        return false;
    }
    Pointer<CellModel> cell = currentCell(support().selected());
    if (is<NameCell>(cell)) {
        deleteMenuChosen(MenuCommand::DeleteField);
        return true;
    }
    if (is<TableNameCell>(cell)) {
        deleteMenuChosen(MenuCommand::DeleteTable);
        return true;
    }
    return false;
}

void MainPanel::addDeleteItems(toolkit::MenuBar& items) const {
    auto item = [](const char* caption, MenuCommand command) {
        return toolkit::MenuItem{caption, static_cast<std::int32_t>(command), {}, {}};
    };
    if (is<TableListCell>(currentCell(support().selected()))) {
        if (selectedTable()) items.push_back(item("Delete &table", MenuCommand::CellDeleteTable));
    } else if (selectedField()) {
        items.push_back(item("Delete f&ield", MenuCommand::CellDeleteField));
    }
}

}  // namespace qv
