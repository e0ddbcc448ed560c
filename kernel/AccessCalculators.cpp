#include "kernel/AccessCalculators.h"

#include <cmath>
#include <utility>

#include "core/Errors.h"
#include "core/ValueConversions.h"
#include "kernel/OperatorCalculators.h"
#include "kernel/ResultAccess.h"
#include "kernel/ResultEvaluatable.h"

namespace qv {

namespace {

AbstractResultAdapter& indexAdapter(const Pointer<Object>& target) {
    AbstractResultAdapter* adapter = adapterOf(target);
    if (adapter == nullptr) throwMessage("result does not support index");
    return *adapter;
}

Pointer<Object> referenceOf(const CalculatorPointer& calculator, EvaluationContext& context) {
    if (calculator.isNull()) return {};
    return calculator->evaluateReference(context);
}

}  // namespace

namespace {

// Puts the target of the enclosing dot back however the right side ends.
class DotTargetScope {
  public:
    DotTargetScope(EvaluationContext& context, Pointer<Object> target)
        : m_context(context), m_saved(std::move(context.dotTarget())) {
        context.dotTarget() = std::move(target);
    }
    ~DotTargetScope() { m_context.dotTarget() = std::move(m_saved); }
    DotTargetScope(const DotTargetScope&) = delete;
    DotTargetScope& operator=(const DotTargetScope&) = delete;

  private:
    EvaluationContext& m_context;
    Pointer<Object> m_saved;
};

}  // namespace

// The target of the innermost dot is put back afterwards, so nested dots
// work left to right.
Pointer<Object> DotCalculator::evaluateRight(EvaluationContext& context, bool reference) const {
    Pointer<Object> left = evaluateOrNull(m_left, context);
    if (isRaised(left)) return left;
    DotTargetScope scope(context, std::move(left));
    if (m_right.isNull()) return {};
    return reference ? m_right->evaluateReference(context) : m_right->evaluate(context);
}

Pointer<Object> DotCalculator::evaluate(EvaluationContext& context) const {
    return evaluateRight(context, false);
}

Pointer<Object> DotCalculator::evaluateReference(EvaluationContext& context) const {
    return evaluateRight(context, true);
}

bool DotCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_left, context) || showsAll(m_right, context);
}

Pointer<Object> IndexCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> target = referenceOf(m_target, context);
    if (isRaised(target)) return target;
    AbstractResultAdapter& adapter = indexAdapter(target);
    Pointer<Object> position = evaluateOrNull(m_index, context);
    if (isRaised(position)) return position;
    double index = std::trunc(toNumber(position));
    if (!(index > 0) || index > 2147483647.0) return {};
    return adapter.getByIndex(context, static_cast<std::int32_t>(index));
}

bool IndexCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_target, context) || showsAll(m_index, context);
}

Pointer<Object> KnownIndexCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> target = referenceOf(m_target, context);
    if (isRaised(target)) return target;
    return indexAdapter(target).getByIndex(context, m_index);
}

bool KnownIndexCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_target, context);
}

Pointer<Object> LastIndexCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> target = referenceOf(m_target, context);
    if (isRaised(target)) return target;
    AbstractResultAdapter& adapter = indexAdapter(target);
    return adapter.getByIndex(context, adapter.extent());
}

bool LastIndexCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_target, context);
}

}  // namespace qv
