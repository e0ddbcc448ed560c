// Grid test helpers: a grid rendered as lines of cell texts, with what
// each cell lets the user do where a test needs it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"
#include "views/GridModel.h"

namespace qv::test {

// The model editor a grid's edits go through, here without undo.
inline Pointer<ModelEditor> editorOf(GridModel& model) {
    return make<ModelEditor>(Pointer<ProgramDef>(model.editedProgram()), nullptr);
}

// One line per grid row: what `show` says of each cell, separated.
inline std::vector<std::string> renderCells(GridModel& model, std::string_view separator,
                                            const std::function<std::string(CellModel&)>& show) {
    std::vector<std::string> lines;
    for (std::int32_t row = 0; row < model.rowCount(); ++row) {
        std::string line;
        for (std::int32_t column = 0; column < model.columnCount(); ++column) {
            if (column > 0) line += separator;
            line += show(*model.createCell(column, row));
        }
        lines.push_back(line);
    }
    return lines;
}

// The cells' texts separated by "|".
inline std::vector<std::string> renderGrid(GridModel& model) {
    return renderCells(model, "|", [](CellModel& cell) { return cell.text()->toStdString(); });
}

// What each cell lets the user do, by position: "check" (a box that
// toggles), "edit" (typing changes the model), "read" (shown only).
inline std::vector<std::string> renderRoles(GridModel& model) {
    return renderCells(model, " ", [](CellModel& cell) -> std::string {
        return cell.booleanValue() ? "check" : cell.isEditable() ? "edit" : "read";
    });
}

}  // namespace qv::test
