#include "kernel/ResultEvaluatable.h"

#include "kernel/ProgramResult.h"
#include "kernel/ShowEvaluatables.h"
#include "kernel/TableResult.h"

namespace qv {

ResultEvaluatable::ResultEvaluatable(ProgramResult& results, TableResult* table,
                                     Evaluator& evaluator, std::int32_t field, std::int32_t row)
    : m_results(results), m_table(table), m_evaluator(evaluator), m_field(field), m_row(row) {}

ResultEvaluatable::ResultEvaluatable(ProgramResult& results, Evaluator& evaluator,
                                     const CalculatorPointer& calculator)
    : m_results(results),
      m_table(nullptr),
      m_evaluator(evaluator),
      m_field(0),
      m_row(0),
      m_calculator(calculator),
      m_calculatorKnown(true) {}

Object* ResultEvaluatable::cachedValue() const {
    if (m_table == nullptr) return nullObject();
    return m_table->cachedCell(m_field, m_row);
}

void ResultEvaluatable::setCachedValue(const Pointer<Object>& value) {
    if (m_table != nullptr) m_table->storeCell(m_field, m_row, value);
}

const CalculatorPointer& ResultEvaluatable::calculator() {
    if (!m_calculatorKnown) {
        m_calculator =
            m_table == nullptr ? CalculatorPointer() : m_table->calculatorAt(m_field, m_row);
        m_calculatorKnown = true;
    }
    return m_calculator;
}

std::int32_t ResultEvaluatable::alternativesOf() {
    const CalculatorPointer& own = calculator();
    return own.isNull() ? 1 : own->alternativeCount();
}

// A cell without a formula is empty, except a summary row, which totals
// its column.
Pointer<Object> ResultEvaluatable::computeAlternative(Evaluator& evaluator, std::int32_t index) {
    const CalculatorPointer& own = calculator();
    if (own.isNull()) {
        if (m_row == -1 && m_table != nullptr) return defaultSummary(*m_table, m_field, evaluator);
        return evaluator.nullResult();
    }
    if (own->alternativeCount() > 1) return own->alternativeAt(index)->evaluate(*this);
    return own->evaluate(*this);
}

Pointer<Object> ResultEvaluatable::evaluateCell(std::int32_t field, std::int32_t row) {
    ResultEvaluatable cell(m_results, m_table, m_evaluator, field, row);
    return m_evaluator.evaluate(cell);
}

std::int32_t ResultEvaluatable::rowCount() const {
    return m_table == nullptr ? 0 : m_table->rowCount();
}

bool ResultEvaluatable::fieldVariesByRow(std::int32_t field) {
    if (m_table == nullptr) return false;
    return ShouldShowAllEvaluatable::decide(*m_table, field, m_evaluator);
}

StringPointer ResultEvaluatable::describe() const {
    StringPointer name = m_table == nullptr ? StringPointer() : m_table->definition()->tableName();
    return str("ResultEvaluatable(table=") + name + ",field=" + m_field + ",row=" + m_row + ")";
}

Pointer<Object> defaultSummary(TableResult& table, std::int32_t field, Evaluator& evaluator) {
    Pointer<Object> total;
    for (std::int32_t row = 1; row < table.rowCount(); ++row) {
        ResultEvaluatable cell(table.results(), &table, evaluator, field, row);
        Pointer<Object> value = evaluator.evaluateTop(cell);
        if (!is<Double>(value) && !is<Integer>(value)) continue;
        if (total.isNull()) {
            total = value;
        } else {
            total = make<Double>(toNumber(total) + toNumber(value));
        }
    }
    return total.isNull() ? evaluator.nullResult() : total;
}

}  // namespace qv
