// Grid test helpers: a grid rendered as lines of cell texts, with the class
// of each cell where a test needs it.
#pragma once

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

// The same with each cell's class: "NameCell:a".
inline std::vector<std::string> renderClasses(GridModel& model) {
    std::vector<std::string> lines;
    for (std::int32_t row = 0; row < model.rowCount(); ++row) {
        std::string line;
        for (std::int32_t column = 0; column < model.columnCount(); ++column) {
            if (column > 0) line += " ";
            line += model.createCell(column, row)->getClassName();
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace qv::test
