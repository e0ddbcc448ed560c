#include "cli/ErrorCauses.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "core/LargeStack.h"
#include "kernel/ValueKinds.h"

namespace qv::cli {

namespace {

std::vector<CellPlace> loopOf(const Cause& cause) {
    std::vector<CellPlace> places;
    for (const CellFacts& cell : cause.cycle)
        places.push_back(cell.place);
    std::sort(places.begin(), places.end(), [](const CellPlace& a, const CellPlace& b) {
        return std::tie(a.table, a.field, a.row) < std::tie(b.table, b.field, b.row);
    });
    return places;
}

// The rows as a user reads them: the formula row, the data rows in display
// order, the summary row.
std::vector<std::int32_t> rowsInOrder(TableResult& table) {
    std::vector<std::int32_t> rows{0};
    for (std::int32_t position = 1; position < table.rowCount(); ++position)
        rows.push_back(table.displayRow(position));
    rows.push_back(-1);
    return rows;
}

}  // namespace

bool isErrorValue(const Pointer<Object>& value) {
    return valueKind(*value.object()) == ValueKind::Error;
}

bool sameCause(const Cause& a, const Cause& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case Cause::Kind::None:
            return true;
        case Cause::Kind::Origin:
        case Cause::Kind::Stopped:
            return sameCell(a.origin, b.origin);
        case Cause::Kind::Cycle:
            return loopOf(a) == loopOf(b);
    }
    return false;
}

std::string causeOfExpression(Explanation& explanation, const Pointer<Object>& value) {
    // The value carries its cause: nothing is computed again.
    Cause cause = explanation.causeOfValue(value, CellPlace());
    return cause.text.isNull() ? std::string() : cause.text->toStdString();
}

// All on one large stack: finding a cause may run a formula again, which
// would otherwise take a thread of its own for each error cell.
std::optional<TableCause> firstCauseOf(Explanation& explanation, TableResult& table,
                                       std::int32_t index) {
    std::optional<Cause> first;
    TableCause found;
    runOnLargeStack([&] {
        for (std::int32_t row : rowsInOrder(table)) {
            for (std::int32_t field = 0; field < table.fieldCount(); ++field) {
                if (!isErrorValue(table.value(field, row))) continue;
                ++found.errors;
                Cause cause = explanation.cause(CellPlace{index, field, row});
                if (!first) {
                    first = cause;
                    found.text = cause.text.isNull() ? std::string() : cause.text->toStdString();
                }
                if (sameCause(cause, *first)) ++found.explained;
            }
        }
    });
    if (!first) return std::nullopt;
    return found;
}

}  // namespace qv::cli
