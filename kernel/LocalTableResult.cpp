#include "kernel/LocalTableResult.h"

#include <utility>

namespace qv {

LocalTableResult::LocalTableResult(ProgramResult& results, ResultOptions options,
                                   const Pointer<ResolvedTable>& table,
                                   std::vector<LocalTableFieldValue> values,
                                   LocalCallSiteSlot& call)
    : TableResult(results, std::move(options), table, table->index()),
      m_values(std::move(values)),
      m_call(call) {}

Pointer<Object> LocalTableResult::readersWarning(std::int32_t field, std::int32_t row,
                                                 const Pointer<Object>& error) {
    return m_call.site().dependsOn(field, row, error);
}

// A given value stands in every row that would use the field's general
// formula; a row with a formula of its own keeps it.
void LocalTableResult::storeGivenValues() {
    for (const LocalTableFieldValue& given : m_values) {
        for (std::int32_t row = 0; row < rowCount(); ++row) {
            if (resolved()->hasOwnCalculator(given.field, row)) continue;
            storeCell(given.field, row, given.value);
        }
    }
}

Pointer<Object> LocalTableResult::compute(Evaluator& evaluator) {
    storeGivenValues();
    Pointer<Object> failure = evaluateRanges(evaluator);
    if (isRaised(failure)) return failure;
    generateRows(evaluator);
    storeGivenValues();
    failure = fillCells(evaluator);
    if (isRaised(failure)) return failure;
    orderRows();
    return {};
}

}  // namespace qv
