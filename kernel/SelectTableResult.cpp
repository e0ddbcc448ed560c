#include "kernel/SelectTableResult.h"

#include "core/ValueConversions.h"
#include "kernel/ResultEvaluatable.h"

namespace qv {

SelectTableResult::SelectTableResult(const Pointer<TableResult>& source,
                                     const CalculatorPointer& condition, ResultEvaluatable& caller)
    : m_source(source), m_condition(condition), m_selected{0} {
    ResultEvaluatable row(caller.results(), source.get(), caller.evaluator(), -1, 0);
    for (std::int32_t i = 1; i < source->rowCount(); ++i) {
        row.setRow(i);
        Pointer<Object> holds =
            condition.isNull() ? Pointer<Object>() : condition->evaluatePair(row, caller);
        if (toBoolean(holds)) m_selected.push_back(i);
    }
}

std::int32_t SelectTableResult::sourceRow(std::int32_t row) const {
    if (row < 0 || row >= rowCount()) return row < 0 ? row : m_source->rowCount();
    return m_selected[static_cast<std::size_t>(row)];
}

Pointer<Object> SelectTableResult::value(std::int32_t field, std::int32_t row) {
    return m_source->value(field, sourceRow(row));
}

StringPointer SelectTableResult::rowLabel(std::int32_t row) {
    if (row == rowCount()) return str("*");
    return m_source->rowLabel(sourceRow(row));
}

Pointer<Object> SelectTableResult::getByIdentifier(ResultEvaluatable& context,
                                                   std::int32_t identifier) {
    return m_source->getByIdentifier(context, identifier);
}

Pointer<Object> SelectTableResult::getByIdentifierReference(ResultEvaluatable& context,
                                                            std::int32_t identifier) {
    return m_source->getByIdentifierReference(context, identifier);
}

Pointer<Object> SelectTableResult::getByIndex(ResultEvaluatable& context, std::int32_t index) {
    return m_source->getByIndex(context, sourceRow(index));
}

bool SelectTableResult::hasIndex(std::int32_t index) {
    return index >= 1 && index < rowCount();
}

}  // namespace qv
