#include "kernel/AccessCalculators.h"

#include <cmath>

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

// The target of the innermost dot is put back afterwards, so nested dots
// work left to right.
Pointer<Object> DotCalculator::evaluateRight(EvaluationContext& context, bool reference) const {
    Pointer<Object> saved = context.dotTarget();
    context.dotTarget() = evaluateOrNull(m_left, context);
    Pointer<Object> result;
    try {
        result = m_right.isNull() ? Pointer<Object>()
                 : reference      ? m_right->evaluateReference(context)
                                  : m_right->evaluate(context);
    } catch (...) {
        context.dotTarget() = saved;
        throw;
    }
    context.dotTarget() = saved;
    return result;
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
    AbstractResultAdapter& adapter = indexAdapter(target);
    double index = std::trunc(toNumber(evaluateOrNull(m_index, context)));
    if (!(index > 0) || index > 2147483647.0) return {};
    return adapter.getByIndex(context, static_cast<std::int32_t>(index));
}

bool IndexCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_target, context) || showsAll(m_index, context);
}

Pointer<Object> KnownIndexCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> target = referenceOf(m_target, context);
    return indexAdapter(target).getByIndex(context, m_index);
}

bool KnownIndexCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_target, context);
}

Pointer<Object> LastIndexCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> target = referenceOf(m_target, context);
    AbstractResultAdapter& adapter = indexAdapter(target);
    return adapter.getByIndex(context, adapter.extent());
}

bool LastIndexCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_target, context);
}

}  // namespace qv
