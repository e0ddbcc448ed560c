// Member and index access on accessible results: a.b, a[i], a[sum],
// a[base] and a[*].
#pragma once

#include <cstdint>

#include "kernel/AbstractCalculator.h"

namespace qv {

class DotCalculator final : public AbstractCalculator {
    QV_OBJECT(DotCalculator, AbstractCalculator, "DotCalculator")
  public:
    DotCalculator(const CalculatorPointer& left, const CalculatorPointer& right)
        : m_left(left), m_right(right) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    Pointer<Object> evaluateReference(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    Pointer<Object> evaluateRight(EvaluationContext& context, bool reference) const;

    CalculatorPointer m_left;
    CalculatorPointer m_right;
};

class IndexCalculator final : public AbstractCalculator {
    QV_OBJECT(IndexCalculator, AbstractCalculator, "IndexCalculator")
  public:
    IndexCalculator(const CalculatorPointer& target, const CalculatorPointer& index)
        : m_target(target), m_index(index) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    CalculatorPointer m_target;
    CalculatorPointer m_index;
};

// [sum] (-1) and [base] (0).
class KnownIndexCalculator final : public AbstractCalculator {
    QV_OBJECT(KnownIndexCalculator, AbstractCalculator, "KnownIndexCalculator")
  public:
    KnownIndexCalculator(const CalculatorPointer& target, std::int32_t index)
        : m_target(target), m_index(index) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    CalculatorPointer m_target;
    std::int32_t m_index;
};

// [*]: the last element.
class LastIndexCalculator final : public AbstractCalculator {
    QV_OBJECT(LastIndexCalculator, AbstractCalculator, "LastIndexCalculator")
  public:
    explicit LastIndexCalculator(const CalculatorPointer& target) : m_target(target) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    CalculatorPointer m_target;
};

}  // namespace qv
