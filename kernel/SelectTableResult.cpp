#include "kernel/SelectTableResult.h"

#include "core/Errors.h"
#include "core/ValueConversions.h"
#include "kernel/ResultEvaluatable.h"

namespace qv {

Pointer<Object> SelectTableResult::select(const Pointer<TableResult>& source,
                                          const CalculatorPointer& condition,
                                          ResultEvaluatable& caller) {
    std::vector<std::int32_t> selected{0};
    ResultEvaluatable row(caller.results(), source.get(), caller.evaluator(), -1, 0);
    for (std::int32_t i = 1; i < source->rowCount(); ++i) {
        row.setRow(i);
        Pointer<Object> holds =
            condition.isNull() ? Pointer<Object>() : condition->evaluatePair(row, caller);
        if (isRaised(holds)) return holds;
        if (conditionHolds(holds)) selected.push_back(i);
    }
    return make<SelectTableResult>(source, std::move(selected));
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

// The column of the selected rows, not of the whole source table.
Pointer<Object> SelectTableResult::getByIdentifierReference(ResultEvaluatable&,
                                                            std::int32_t identifier) {
    std::int32_t field = m_source->resolved()->fieldOfIdentifier(identifier);
    if (field < 0) throwString(str("identifier not found in table ") + m_source->name());
    return make<SelectTableCol>(Pointer<SelectTableResult>(this), field);
}

Pointer<Object> SelectTableResult::getByIndex(ResultEvaluatable& context, std::int32_t index) {
    return m_source->getByIndex(context, sourceRow(index));
}

bool SelectTableResult::hasIndex(std::int32_t index) {
    return index >= 1 && index < rowCount();
}

Pointer<Object> SelectTableCol::getByIdentifier(ResultEvaluatable&, std::int32_t) {
    throwMessage("result not supporting identifier access");
}

Pointer<Object> SelectTableCol::getByIndex(ResultEvaluatable& context, std::int32_t index) {
    TableResult& source = *m_selection->source();
    ResultEvaluatable cell(source.results(), &source, context.evaluator(), m_field,
                           m_selection->sourceRow(index));
    return context.evaluator().evaluate(cell);
}

StringPointer SelectTableCol::toString() const {
    return m_selection->source()->fieldName(m_field);
}

}  // namespace qv
