// The causes of error values as `qvl eval --why` and `qvl check --why` say
// them: the cause's text after an expression's error, and per table the
// cause of its first error cell with the count of error cells it explains.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "kernel/Explanation.h"
#include "kernel/TableResult.h"

namespace qv::cli {

// A warning, a circular reference or a stopped computation.
bool isErrorValue(const Pointer<Object>& value);

// Whether two causes name the same origin, or the same loop (told from
// any of its cells).
bool sameCause(const Cause& a, const Cause& b);

// The cause of a value computed outside any table (an expression of
// `qvl eval`), "" when it is no error.
std::string causeOfExpression(Explanation& explanation, const Pointer<Object>& value);

struct TableCause {
    std::string text;            // the cause of the table's first error cell
    std::int64_t explained = 0;  // the table's error cells with that cause
    std::int64_t errors = 0;     // the table's cells with error values
};

// For the table at `index`: the cause of its first cell with an error
// value (circular references and stopped cells too) (row by
// row: the formula row, the data rows in display order, the summary row;
// fields left to right) and how many of its error cells share it; nothing
// for a table without error cells.
std::optional<TableCause> firstCauseOf(Explanation& explanation, TableResult& table,
                                       std::int32_t index);

}  // namespace qv::cli
