// The main panel's doors for data: File > Import..., File > Export
// table..., File > Print... and File > Export PDF.... The work itself is
// the flows' (ImportFlow, TableExportFlow, PrintFlow).
#include <algorithm>

#include "desktop/MainPanel.h"
#include "views/EvalMultiModel.h"
#include "views/EvalSingleModel.h"
#include "views/TableEditable.h"
#include "views/TablesView.h"
#include "views/TransposedGridModel.h"

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

// How wide a printed field's column may grow to show its name whole.
constexpr std::int32_t kWidestPrintedColumn = 300;

// The detailed view's lines for a new record and a new field, which
// printing leaves out.
SkippedLines emptyLines(EvalMultiModel& details) {
    SkippedLines skipped;
    std::int32_t records = details.columnCount();
    for (std::int32_t column = std::max(0, records - 2); column < records; ++column)
        if (details.columnKind(column) == EvalMultiModel::NewRecordColumn) skipped.column = column;
    std::int32_t lines = details.rowCount();
    if (lines > details.headerRowCount() && details.fieldOf(lines - 1) < 0) skipped.row = lines - 1;
    return skipped;
}

// Widens each column to its header texts (the field names).
void fitHeaders(TableEditable& grid, const toolkit::FontMetrics& metrics) {
    GridModel& model = *grid.model();
    std::int32_t headers = std::min(model.headerRowCount(), model.rowCount());
    std::int32_t columns = model.columnCount();
    for (std::int32_t column = model.leadingColumnCount(); column < columns; ++column) {
        std::int32_t width = grid.columnWidth(column);
        for (std::int32_t row = 0; row < headers; ++row) {
            StringPointer text = model.createCell(column, row)->text();
            width =
                std::max(width, metrics.textWidth(text->view()) + 2 * TableEditable::kPadding + 1);
        }
        if (width > grid.columnWidth(column))
            grid.setColumnWidth(column, std::min(width, kWidestPrintedColumn));
    }
}

// A detailed view's grid turned a record a line, attached for its fonts and
// laid out so that its leading column fits the record numbers.
Pointer<TableEditable> recordLines(const Pointer<EvalMultiModel>& details,
                                   EditableSupport& support) {
    auto grid = make<TableEditable>(make<TransposedGridModel>(details, emptyLines(*details)));
    grid->attach(&support);
    grid->layoutSize({TableEditable::kPreferredWidth, TableEditable::kPreferredHeight});
    fitHeaders(*grid, support.plainMetrics());
    return grid;
}

}  // namespace

Pointer<TableEditable> MainPanel::gridToPrint() {
    // A detailed view prints with its own flags; a line of a list of tables
    // prints that table's records; any other grid prints as it shows.
    auto grid = cast<TableEditable>(support().selected());
    if (!grid.isNull()) {
        if (auto details = cast<EvalMultiModel>(grid->model()); !details.isNull())
            return recordLines(details, support());
        if (!is<TableListCell>(
                grid->model()->createCell(grid->currentColumn(), grid->currentRow())))
            return grid;
    }
    if (std::optional<std::int32_t> table = selectedTable();
        table && *table >= 0 && *table < m_kernel->getTableCount()) {
        if (Pointer<TableResult> result = m_kernel->getTable(*table); !result.isNull())
            return recordLines(make<EvalMultiModel>(result, m_settings, m_settings->zeroRow),
                               support());
    }
    return grid;
}

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
    if (command == MenuCommand::Print) {
        m_print.print(gridToPrint());
        return true;
    }
    if (command == MenuCommand::ExportPdf) {
        m_print.exportPdf(gridToPrint(), m_kernel);
        return true;
    }
    return false;
}

bool MainPanel::dataMessage(const toolkit::PostedMessage& message) {
    return m_tableExport.handleMessage(message) || m_import.handleMessage(message) ||
           m_print.handleMessage(message);
}

}  // namespace qv
