#include "kernel/ResultAccess.h"

#include "core/Errors.h"
#include "kernel/ResultEvaluatable.h"
#include "kernel/TableResult.h"

namespace qv {

AbstractResultAdapter* adapterOf(const Pointer<Object>& value) {
    if (!is<AbstractResultGetter>(value)) return nullptr;
    return &cast<AbstractResultGetter>(value)->adapter();
}

Pointer<Object> TableResultRow::getByIdentifier(ResultEvaluatable& context,
                                                std::int32_t identifier) {
    std::int32_t field = m_table->resolved()->fieldOfIdentifier(identifier);
    if (field < 0) throwString(str("identifier not found in table ") + m_table->name());
    ResultEvaluatable cell(m_table->results(), m_table.get(), context.evaluator(), field, m_row);
    return context.evaluator().evaluate(cell);
}

// The i-th field counted from 1 after the marker fields.
Pointer<Object> TableResultRow::getByIndex(ResultEvaluatable& context, std::int32_t index) {
    std::int32_t field = m_table->resolved()->headerCount() + index - 1;
    if (index < 1 || field >= m_table->fieldCount()) return Pointer<Object>();
    ResultEvaluatable cell(m_table->results(), m_table.get(), context.evaluator(), field, m_row);
    return context.evaluator().evaluate(cell);
}

bool TableResultRow::hasIndex(std::int32_t index) {
    return index >= 1 && m_table->resolved()->headerCount() + index - 1 < m_table->fieldCount();
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
    ResultEvaluatable cell(m_table->results(), m_table.get(), context.evaluator(), m_field, index);
    return context.evaluator().evaluate(cell);
}

bool TableResultCol::hasIndex(std::int32_t index) {
    return index >= 1 && index < m_table->rowCount();
}

std::int32_t TableResultCol::extent() {
    return m_table->rowCount() - 1;
}

StringPointer TableResultCol::toString() const {
    return m_table->fieldName(m_field);
}

}  // namespace qv
