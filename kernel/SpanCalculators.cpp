#include "kernel/SpanCalculators.h"

#include <algorithm>
#include <cmath>

#include "core/Errors.h"
#include "core/Number.h"
#include "core/ValueConversions.h"
#include "kernel/OperatorCalculators.h"
#include "kernel/ProgramResult.h"
#include "kernel/RangeValues.h"
#include "kernel/ResultEvaluatable.h"
#include "kernel/RowLimits.h"
#include "kernel/SelectTableResult.h"

namespace qv {

namespace {

// A range part: absent, or a number; anything else is refused.
struct RangePart {
    bool present = false;
    double value = 0;
};

RangePart rangePart(const CalculatorPointer& calculator, EvaluationContext& context) {
    if (calculator.isNull()) return {};
    Pointer<Object> value = calculator->evaluate(context);
    if (value.isNull()) return {};
    if (!is<Double>(value)) throwMessage("params to range can be number or null only");
    return {true, cast<Double>(value)->value()};
}

// A count of values, truncated toward zero; a count the row generator could
// never use is refused with the limit instead of overflowing.
std::int32_t countOf(double steps) {
    double count = std::trunc(steps);
    if (std::isnan(count) || count < 0) count = 0;
    if (count > static_cast<double>(kMaxRows)) {
        throwString(tooManyRowsMessage(count));
    }
    return static_cast<std::int32_t>(count);
}

Pointer<Object> startEnd(RangePart start, RangePart end, RangePart step, RangePart steps) {
    if (step.present && steps.present) throwMessage("range support up to 3 non-null params");
    if (steps.present) return make<StartEndRange>(countOf(steps.value), start.value, end.value);
    if (step.value == 0) throwMessage("step size can not be zero");
    double distance = end.value - start.value;
    if (step.value * distance < 0) throwMessage("step size must have same sign as end-satrt");
    // Binary fractions make 0.04 / 0.01 come out a hair below 4; a quotient
    // that close to a whole number reaches it, so the end is not lost.
    double quotient = distance / step.value;
    double count = std::trunc(quotient + 1e-9 * std::max(1.0, std::fabs(quotient)));
    std::int32_t n = countOf(count + 1) - 1;
    return make<StartEndRange>(n + 1, start.value, start.value + n * step.value);
}

}  // namespace

Pointer<Object> RangeCalculator::evaluate(EvaluationContext& context) const {
    RangePart start = rangePart(m_start, context);
    RangePart end = rangePart(m_end, context);
    RangePart step = rangePart(m_step, context);
    RangePart steps = rangePart(m_steps, context);
    if (!step.present && (!start.present || !end.present || !steps.present)) {
        step = {true, 1};
        if (start.present && end.present && end.value - start.value < 0) step.value = -1;
    }
    if (!start.present && !end.present) {
        throwMessage("either start or end must be specified at range");
    }
    if (start.present && end.present) return startEnd(start, end, step, steps);
    if (start.present) {
        if (!steps.present) return make<StartStepSizeRange>(start.value, step.value);
        std::int32_t n = countOf(steps.value);
        return make<StartEndRange>(n, start.value, start.value + (n - 1) * step.value);
    }
    if (!steps.present) return make<EndStepSizeRange>(end.value, step.value);
    std::int32_t n = countOf(steps.value);
    return make<StartEndRange>(n, end.value - (n - 1) * step.value, end.value);
}

// The data rows of an accessible result, in order, without empty values.
Pointer<Object> DataRangeCalculator::evaluate(EvaluationContext& context) const {
    if (m_inner.isNull()) return {};
    Pointer<Object> target = m_inner->evaluateReference(context);
    AbstractResultAdapter* adapter = adapterOf(target);
    if (adapter == nullptr) return {};
    auto values = make<Vector>();
    std::int32_t extent = adapter->extent();
    for (std::int32_t index = 0; index <= extent; ++index) {
        if (!adapter->hasIndex(index)) continue;
        Pointer<Object> value = adapter->getByIndex(context, index);
        if (value.isNull() || is<NullResult>(value)) continue;
        values->addElement(value);
    }
    return make<DataRange>(values);
}

Pointer<Object> SelectCalculator::evaluate(EvaluationContext& context) const {
    if (m_table < 0 || m_table >= context.results().tableCount()) return {};
    const Pointer<TableResult>& source = context.results().getTable(m_table);
    if (source.isNull()) return {};
    return make<SelectTableResult>(source, m_condition, context);
}

CalculatorPointer AltCalculator::alternativeAt(std::int32_t index) const {
    if (index < 0 || index >= m_alternatives->size()) return {};
    return (*m_alternatives)[index];
}

bool AltCalculator::shouldShowAll(EvaluationContext& context) const {
    for (const auto& alternative : *m_alternatives) {
        if (showsAll(alternative, context)) return true;
    }
    return false;
}

bool AltCalculator::shouldShow(EvaluationContext& context) const {
    for (const auto& alternative : *m_alternatives) {
        if (!alternative.isNull() && alternative->shouldShow(context)) return true;
    }
    return false;
}

Pointer<Object> SpecificCellCalculator::evaluate(EvaluationContext& context) const {
    return context.evaluateCell(m_field, m_row);
}

}  // namespace qv
