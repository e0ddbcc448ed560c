#include "kernel/TableResultSlices.h"

#include "core/Errors.h"
#include "kernel/ResultEvaluatable.h"

namespace qv {

// The table result's access operations that hand out its rows and columns.
Pointer<Object> TableResult::getByIdentifierReference(ResultEvaluatable&, std::int32_t identifier) {
    std::int32_t field = m_table->fieldOfIdentifier(identifier);
    if (field < 0) throwString(str("identifier not found in table ") + name());
    return make<TableResultCol>(Pointer<TableResult>(this), field);
}

Pointer<Object> TableResult::getByIndex(ResultEvaluatable&, std::int32_t index) {
    return make<TableResultRow>(Pointer<TableResult>(this), index);
}

TableResult* TableResultSlice::sourceTable() const noexcept {
    return m_table.get();
}

Pointer<Object> TableResultRow::getByIdentifier(ResultEvaluatable& context,
                                                std::int32_t identifier) {
    std::int32_t field = m_table->resolved()->fieldOfIdentifier(identifier);
    if (field < 0) throwString(str("identifier not found in table ") + m_table->name());
    ResultEvaluatable cell(m_table->results(), m_table.get(), context.evaluator(), field, m_index);
    return context.evaluator().evaluate(cell);
}

namespace {

// The field of the i-th position counted from 1 after the marker fields, or
// -1. Counted wide: any index a formula computes must not overflow here.
std::int32_t fieldAtPosition(const TableResult& table, std::int32_t index) {
    if (index < 1) return -1;
    std::int64_t field = std::int64_t{table.resolved()->headerCount()} + index - 1;
    return field < table.fieldCount() ? static_cast<std::int32_t>(field) : -1;
}

}  // namespace

Pointer<Object> TableResultRow::getByIndex(ResultEvaluatable& context, std::int32_t index) {
    std::int32_t field = fieldAtPosition(*m_table, index);
    if (field < 0) return Pointer<Object>();
    ResultEvaluatable cell(m_table->results(), m_table.get(), context.evaluator(), field, m_index);
    return context.evaluator().evaluate(cell);
}

bool TableResultRow::hasIndex(std::int32_t index) {
    return fieldAtPosition(*m_table, index) >= 0;
}

std::int32_t TableResultRow::extent() {
    return m_table->fieldCount() - m_table->resolved()->headerCount();
}

StringPointer TableResultRow::toString() const {
    return str("Tuple");
}

Pointer<Object> TableResultCol::getByIdentifier(ResultEvaluatable&, std::int32_t) {
    throwMessage("result not supporting identifier access");
}

Pointer<Object> TableResultCol::getByIndex(ResultEvaluatable& context, std::int32_t index) {
    ResultEvaluatable cell(m_table->results(), m_table.get(), context.evaluator(), m_index, index);
    return context.evaluator().evaluate(cell);
}

bool TableResultCol::hasIndex(std::int32_t index) {
    return index >= 1 && index < m_table->rowCount();
}

std::int32_t TableResultCol::extent() {
    return m_table->rowCount() - 1;
}

StringPointer TableResultCol::toString() const {
    return m_table->fieldName(m_index);
}

}  // namespace qv
