// ResultEvaluatable: one cell of a table result as something the Evaluator
// computes, and the evaluation context its formula's calculators read — the
// program result, the current table, field and row, the arguments of the
// user function being called and the target of the innermost dot. It lives
// on the stack: computing a cell allocates nothing but the value.
#pragma once

#include <cstdint>

#include "core/ValueConversions.h"
#include "functions/Function.h"
#include "kernel/AbstractCalculator.h"
#include "kernel/AbstractEvaluatable.h"
#include "kernel/Evaluator.h"

namespace qv {

class ProgramResult;
class TableResult;

class ResultEvaluatable final : public AbstractEvaluatable {
  public:
    ResultEvaluatable(ProgramResult& results, TableResult* table, Evaluator& evaluator,
                      std::int32_t field, std::int32_t row);
    // A kernel-level expression: no table, the given calculator.
    ResultEvaluatable(ProgramResult& results, Evaluator& evaluator,
                      const CalculatorPointer& calculator);

    Pointer<Object> cachedValue() const override;
    void setCachedValue(const Pointer<Object>& value) override;
    Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t index) override;
    std::int32_t alternativesOf() override;
    CellPlace place() const override;
    Pointer<Object> readersWarning(const Pointer<Object>& error) const override;

    ProgramResult& results() const noexcept { return m_results; }
    TableResult* table() const noexcept { return m_table; }
    Evaluator& evaluator() const noexcept { return m_evaluator; }
    std::int32_t field() const noexcept { return m_field; }
    std::int32_t row() const noexcept { return m_row; }
    // The cell's calculator, when the caller has looked it up already.
    void knowCalculator(const CalculatorPointer& calculator) {
        m_calculator = calculator;
        m_calculatorKnown = true;
    }
    void setRow(std::int32_t row) noexcept {
        m_row = row;
        m_calculatorKnown = false;
    }

    Arguments arguments() const noexcept { return m_arguments; }
    void setArguments(Arguments arguments) noexcept { m_arguments = arguments; }
    Pointer<Object>& dotTarget() noexcept { return m_dotTarget; }

    // Another cell of the current table, through the Evaluator (cached, with
    // cycle detection); errors give the raised marker.
    Pointer<Object> evaluateCell(std::int32_t field, std::int32_t row);
    // A cell of the current table already computed to a number, read as
    // evaluateCell would read it; false for anything else (nothing done).
    bool cachedNumber(std::int32_t field, std::int32_t row, double& number) const;
    // The current table's row count (row keys 0 ... count - 1), 0 without a table.
    std::int32_t rowCount() const;
    // Whether a field's formula may differ by row, decided once per field.
    bool fieldVariesByRow(std::int32_t field);

    StringPointer describe() const;

  private:
    const CalculatorPointer& calculator();
    bool sharesFormulaRow();
    Pointer<Object> formulaRowValue();

    ProgramResult& m_results;
    TableResult* m_table;
    Evaluator& m_evaluator;
    std::int32_t m_field;
    std::int32_t m_row;
    Arguments m_arguments;
    Pointer<Object> m_dotTarget;
    CalculatorPointer m_calculator;
    bool m_calculatorKnown = false;
};

// A cell for a reader that takes errors as values (a summary, a field read
// by name, the fill pass): a Warning or a special value comes back as the
// value. Outside any computation it starts afresh (evaluateTop); inside one
// it keeps the alternatives pending on the way there, and a cycle met while
// one is pending comes back as the raised marker, which the caller returns,
// so that the alternative can fall back and nothing half-computed is kept.
Pointer<Object> evaluateAsValue(Evaluator& evaluator, AbstractEvaluatable& evaluatable);

// Whether a row meets the condition of a find or a selection. A condition
// whose value is itself an error (one that could not be compiled, such as an
// assignment) is raised with its message instead of holding for every row.
bool conditionHolds(const Pointer<Object>& value);

// The value of a summary cell without a formula: the sum of the numbers of
// its column's data rows, the empty result when there are none (or the
// raised marker of a cycle met while an alternative is pending).
Pointer<Object> defaultSummary(TableResult& table, std::int32_t field, Evaluator& evaluator);

}  // namespace qv
