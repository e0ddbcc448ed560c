// Grid test helpers: a grid rendered as lines of cell texts, with what
// each cell lets the user do where a test needs it.
#pragma once

#include <string>
#include <vector>

#include "tests/kernel/ModelTestSupport.h"
#include "views/GridModel.h"

namespace qv::test {

// One line per grid row: the cells' texts separated by "|".
inline std::vector<std::string> renderGrid(GridModel& model) {
    std::vector<std::string> lines;
    for (std::int32_t row = 0; row < model.rowCount(); ++row) {
        std::string line;
        for (std::int32_t column = 0; column < model.columnCount(); ++column) {
            if (column > 0) line += "|";
            line += model.createCell(column, row)->text()->toStdString();
        }
        lines.push_back(line);
    }
    return lines;
}

// What each cell lets the user do, by position: "check" (a box that
// toggles), "edit" (typing changes the model), "read" (shown only).
inline std::vector<std::string> renderRoles(GridModel& model) {
    std::vector<std::string> lines;
    for (std::int32_t row = 0; row < model.rowCount(); ++row) {
        std::string line;
        for (std::int32_t column = 0; column < model.columnCount(); ++column) {
            if (column > 0) line += " ";
            Pointer<CellModel> cell = model.createCell(column, row);
            line += cell->booleanValue() ? "check" : cell->isEditable() ? "edit" : "read";
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace qv::test
