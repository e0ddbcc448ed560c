// The main panel's doors for data: File > Import... and File > Export
// table.... The work itself is the flows' (ImportFlow, TableExportFlow).
#include "desktop/MainPanel.h"
#include "views/EvalMultiModel.h"
#include "views/EvalSingleModel.h"
#include "views/TableEditable.h"

namespace qv {

namespace {

// The table a grid shows (a detailed grid or a heading view), or null.
Pointer<TableResult> gridTable(const Pointer<AbstractEditable>& selected) {
    auto grid = cast<TableEditable>(selected);
    if (grid.isNull()) return {};
    if (auto details = cast<EvalMultiModel>(grid->model()); !details.isNull())
        return details->table();
    if (auto heading = cast<EvalSingleModel>(grid->model()); !heading.isNull())
        return heading->table();
    return {};
}

}  // namespace

std::optional<std::int32_t> MainPanel::tableToExport() const {
    if (std::optional<std::int32_t> table = selectedTable()) return table;
    // Any position of a grid of a program's table (a corner, a row label),
    // but not a selection or a local table that no program table computes.
    Pointer<TableResult> table = gridTable(support().selected());
    if (table.isNull()) return std::nullopt;
    std::int32_t index = table->index();
    if (index < 0 || index >= m_kernel->getTableCount() ||
        m_kernel->program()->table(index).get() != table->definition().get())
        return std::nullopt;
    return index;
}

bool MainPanel::dataMenuChosen(MenuCommand command) {
    if (command == MenuCommand::Import) {
        m_import.start();
        return true;
    }
    if (command == MenuCommand::ExportTable) {
        m_tableExport.start(m_kernel, tableToExport());
        return true;
    }
    return false;
}

bool MainPanel::dataMessage(const toolkit::PostedMessage& message) {
    return m_tableExport.handleMessage(message) || m_import.handleMessage(message);
}

}  // namespace qv
