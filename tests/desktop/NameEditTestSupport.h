// The main panel on a model whose names are used across tables and views,
// and the steps the tests of renaming, where used and delete warnings take:
// clicking a cell of a view's grid chosen by what it holds, typing a name,
// and reading values and the document.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/ValueConversions.h"
#include "tests/desktop/PanelTestSupport.h"
#include "views/ProjectEditable.h"
#include "views/ResultEditable.h"
#include "views/TableCells.h"
#include "views/TableEditable.h"
#include "views/TablesView.h"
#include "views/WhereUsedEditable.h"

namespace qv::test {

// Prices.qty is used in Prices, in Report and in a result view; Spare.x by
// nothing. Frames: 0 the detailed view of Prices, 1 its heading view, 2 the
// project view (its list of tables), 3 a result view naming Prices.qty.
inline constexpr std::string_view kNamesModel =
    "table Prices{ qty:=range 1 to 3! price:=qty * 2! }\n"
    "table Report{ n:=range 1 to 1! total:=Prices[2].price + Prices[3].qty! }\n"
    "table Spare{ x:=range 1 to 2! }\n"
    "optimized(10,10) result(Prices);\n"
    "optimized(10,200) result(Prices[0]);\n"
    "optimized(400,10) project(Report);\n"
    "optimized(400,400) result(Prices[1].qty);\n";

using CellTest = std::function<bool(CellModel&)>;

inline CellTest fieldNameCell(std::string name) {
    return [name](CellModel& cell) { return is<NameCell>(cell) && cell.text()->equals(name); };
}
inline CellTest tableNameCell(std::string name) {
    return [name](CellModel& cell) { return is<TableNameCell>(cell) && cell.text()->equals(name); };
}

struct NamesFixture : PanelFixture {
    explicit NamesFixture(std::string_view model = kNamesModel) { startOn("names.qvl", model); }

    // The grid a frame shows: a result view's, or a project view's list of
    // tables, or a where-used list's.
    Pointer<TableEditable> grid(std::int32_t frameIndex) const {
        Pointer<AbstractEditable> view = frame(frameIndex)->view();
        if (auto project = cast<ProjectEditable>(view); !project.isNull()) view = project->tables();
        if (auto inner = cast<InnerViewEditable>(view); !inner.isNull()) view = inner->innerView();
        return cast<TableEditable>(view);
    }
    // Clicks the first cell of the frame's grid that passes `wanted`.
    bool clickCell(std::int32_t frameIndex, const CellTest& wanted) {
        layout();
        Pointer<TableEditable> shown = grid(frameIndex);
        if (shown.isNull()) return false;
        const Pointer<GridModel>& model = shown->model();
        for (std::int32_t row = 0; row < model->rowCount(); ++row) {
            for (std::int32_t column = 0; column < model->columnCount(); ++column) {
                if (!wanted(*model->createCell(column, row))) continue;
                shown->scrollTo(column, row);
                layout();
                toolkit::Rect rect = shown->cellRect(column, row);
                toolkit::Point shift = shown->layoutPoint({0, 0});
                click({rect.x + rect.width / 2 - shift.x, rect.y + rect.height / 2 - shift.y});
                return true;
            }
        }
        return false;
    }
    // Types over the clicked cell and ends with Enter.
    void typeName(std::string_view text) {
        type(text);
        key(toolkit::key::kEnter);
    }
    std::string value(std::string_view table, std::int32_t field, std::int32_t row) const {
        Pointer<TableResult> result = panel->kernel()->getTableByName(table);
        if (result.isNull()) return "(no table)";
        return toText(result->value(field, row))->toStdString();
    }
    // Report.total, which reads Prices.qty and Prices.price.
    std::string total() const { return value("Report", 1, 1); }
    bool modified() const { return panel->flow().isModified(); }
    std::int32_t undoCount() const { return commands().undoCount(); }
    void undo() { key(toolkit::key::kUndo); }
    void redo() { key(toolkit::key::kRedo); }
};

}  // namespace qv::test
