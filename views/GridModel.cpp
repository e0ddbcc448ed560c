#include "views/GridModel.h"

#include <algorithm>
#include <string>

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

std::string GridModel::cellName(std::int32_t column, std::int32_t row) {
    std::string name = title()->toStdString();
    std::int32_t headers = headerRowCount();
    if (row < headers) return name + ", " + createCell(column, row)->text()->toStdString();
    name += " row " + std::to_string(row - headers + 1);
    std::string caption = headers > 0 ? createCell(column, 0)->text()->toStdString() : "";
    if (caption.empty()) caption = "column " + std::to_string(column + 1);
    return name + ", " + caption;
}

}  // namespace qv
