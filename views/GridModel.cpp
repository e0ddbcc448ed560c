#include "views/GridModel.h"

#include <algorithm>

namespace qv {

std::string copyColumns(GridModel& model, std::int32_t first, std::int32_t last) {
    std::string text;
    std::int32_t rows = model.rowCount();
    first = std::max(first, 0);
    last = std::min(last, model.columnCount() - 1);
    for (std::int32_t column = first; column <= last; ++column) {
        for (std::int32_t row = model.headerRowCount(); row < rows; ++row) {
            text += model.createCell(column, row)->text()->view();
            text += '\t';
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace qv
