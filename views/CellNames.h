// How screen readers hear the records of a table: "row 12" as the grid's
// header shows it (a named record by its name), "base row" for the
// formulas every record shares and "sum row" for the summary.
#pragma once

#include <cstdint>
#include <string>

#include "kernel/TableResult.h"

namespace qv {

std::string recordName(TableResult& table, std::int32_t record);

}  // namespace qv
