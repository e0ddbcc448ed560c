// Calculators of the constructs that span rows or choose among formulas:
// range, datarange, select, alt, and row@field cell references.
#pragma once

#include <cstdint>

#include "kernel/AbstractCalculator.h"

namespace qv {

class RangeCalculator final : public AbstractCalculator {
    QV_OBJECT(RangeCalculator, AbstractCalculator, "RangeCalculator")
  public:
    RangeCalculator(const CalculatorPointer& start, const CalculatorPointer& end,
                    const CalculatorPointer& step, const CalculatorPointer& steps)
        : m_start(start), m_end(end), m_step(step), m_steps(steps) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool isRange() const override { return true; }
    bool shouldShowAll(EvaluationContext&) const override { return true; }
    bool shouldShow(EvaluationContext&) const override { return false; }

  private:
    CalculatorPointer m_start;
    CalculatorPointer m_end;
    CalculatorPointer m_step;
    CalculatorPointer m_steps;
};

class DataRangeCalculator final : public AbstractCalculator {
    QV_OBJECT(DataRangeCalculator, AbstractCalculator, "DataRangeCalculator")
  public:
    explicit DataRangeCalculator(const CalculatorPointer& inner) : m_inner(inner) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool isRange() const override { return true; }
    bool shouldShowAll(EvaluationContext&) const override { return true; }
    bool shouldShow(EvaluationContext&) const override { return false; }

  private:
    CalculatorPointer m_inner;
};

class SelectCalculator final : public AbstractCalculator {
    QV_OBJECT(SelectCalculator, AbstractCalculator, "SelectCalculator")
  public:
    SelectCalculator(std::int32_t table, const CalculatorPointer& condition)
        : m_table(table), m_condition(condition) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext&) const override { return true; }
    bool shouldShow(EvaluationContext&) const override { return false; }

  private:
    std::int32_t m_table;
    CalculatorPointer m_condition;
};

// The evaluator tries the alternatives itself; evaluated directly (nested
// in a larger formula) an alt gives nothing.
class AltCalculator final : public AbstractCalculator {
    QV_OBJECT(AltCalculator, AbstractCalculator, "AltCalculator")
  public:
    explicit AltCalculator(const Pointer<CalculatorList>& alternatives)
        : m_alternatives(alternatives) {}
    std::int32_t alternativeCount() const override { return m_alternatives->size(); }
    CalculatorPointer alternativeAt(std::int32_t index) const override;
    Pointer<Object> evaluate(EvaluationContext&) const override { return {}; }
    bool shouldShowAll(EvaluationContext& context) const override;
    bool shouldShow(EvaluationContext& context) const override;

  private:
    Pointer<CalculatorList> m_alternatives;
};

// row@field: one fixed cell of the current table.
class SpecificCellCalculator final : public AbstractCalculator {
    QV_OBJECT(SpecificCellCalculator, AbstractCalculator, "SpecificCellCalculator")
  public:
    SpecificCellCalculator(std::int32_t field, std::int32_t row) : m_field(field), m_row(row) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;

  private:
    std::int32_t m_field;
    std::int32_t m_row;
};

}  // namespace qv
