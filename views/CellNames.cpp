#include "views/CellNames.h"

namespace qv {

std::string recordName(TableResult& table, std::int32_t record) {
    if (record < 0) return "sum row";
    if (record == 0) return "base row";
    if (table.resolved()->nameField() >= 0) return "row " + table.rowLabel(record)->toStdString();
    return "row " + std::to_string(record);
}

}  // namespace qv
