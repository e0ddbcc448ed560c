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
#include "kernel/TableResultSlices.h"

namespace qv {

namespace {

// A range part: absent, or a number; anything else is refused.
struct RangePart {
    bool present = false;
    double value = 0;
};

// Evaluates the present parts in order; the raised marker of the first that
// fails, or the null object.
Pointer<Object> rangeParts(const CalculatorPointer* calculators, RangePart* parts,
                           EvaluationContext& context) {
    for (int i = 0; i < 4; ++i) {
        if (calculators[i].isNull()) continue;
        Pointer<Object> value = calculators[i]->evaluate(context);
        if (isRaised(value)) return value;
        if (value.isNull()) continue;
        if (!is<Double>(value)) throwMessage("params to range can be number or null only");
        parts[i] = {true, cast<Double>(value)->value()};
    }
    return {};
}

// A count of values, truncated toward zero. It is not bounded here: the row
// generator refuses a count past its limit, and only where rows are made.
double countOf(double steps) {
    double count = std::trunc(steps);
    if (std::isnan(count) || count < 0) return 0;
    return count;
}

// Whether `value` lies beyond `end` in the direction of `step` by more than
// the binary rounding of the numbers involved (a few units in the last
// place): 0.02 + 4 * 0.01 comes out a hair above 0.06 and still belongs to
// a range ending at 0.06, while 3 is beyond 2.9999999999.
bool passesEnd(double value, double end, double start, double step) {
    double magnitude = std::max(std::fabs(start), std::fabs(end));
    double tolerance = 4 * (std::nextafter(magnitude, INFINITY) - magnitude);
    double beyond = step > 0 ? value - end : end - value;
    return !(beyond <= tolerance);
}

Pointer<Object> startEnd(RangePart start, RangePart end, RangePart step, RangePart steps) {
    if (step.present && steps.present) throwMessage("range support up to 3 non-null params");
    if (steps.present) return make<StartEndRange>(countOf(steps.value), start.value, end.value);
    if (step.value == 0) throwMessage("step size can not be zero");
    double distance = end.value - start.value;
    if (step.value * distance < 0) throwMessage("step size must have same sign as end-satrt");
    double n = countOf(distance / step.value);
    // A quotient a hair below a whole number (0.04 / 0.01) would lose the end.
    if (std::isfinite(n) &&
        !passesEnd(start.value + (n + 1) * step.value, end.value, start.value, step.value)) {
        n += 1;
    }
    return make<StartEndRange>(n + 1, start.value, start.value + n * step.value);
}

// A data range over a column whose formula row is being computed reads the
// rows that formula is about to define: a cycle, even before the column has
// any rows to read. Reading the formula row says so.
Pointer<Object> readColumnBeingDefined(const Pointer<Object>& target, EvaluationContext& context) {
    auto column = cast<TableResultCol>(target);
    if (column.isNull()) return {};
    TableResult& table = *column->table();
    if (!table.cachedCellUnlessNumber(column->field(), 0)->isInstanceOf(OnStack::typeId()))
        return {};
    ResultEvaluatable formulaRow(table.results(), &table, context.evaluator(), column->field(), 0);
    return context.evaluator().evaluate(formulaRow);
}

}  // namespace

Pointer<Object> RangeCalculator::evaluate(EvaluationContext& context) const {
    const CalculatorPointer calculators[4] = {m_start, m_end, m_step, m_steps};
    RangePart parts[4];
    Pointer<Object> failure = rangeParts(calculators, parts, context);
    if (isRaised(failure)) return failure;
    auto [start, end, step, steps] = parts;
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
        double n = countOf(steps.value);
        return make<StartEndRange>(n, start.value, start.value + (n - 1) * step.value);
    }
    if (!steps.present) return make<EndStepSizeRange>(end.value, step.value);
    double n = countOf(steps.value);
    return make<StartEndRange>(n, end.value - (n - 1) * step.value, end.value);
}

// The data rows of an accessible result, in order, without empty values.
Pointer<Object> DataRangeCalculator::evaluate(EvaluationContext& context) const {
    if (m_inner.isNull()) return {};
    Pointer<Object> target = m_inner->evaluateReference(context);
    if (isRaised(target)) return target;
    AbstractResultAdapter* adapter = adapterOf(target);
    if (adapter == nullptr) return {};
    Pointer<Object> cycle = readColumnBeingDefined(target, context);
    if (isRaised(cycle)) return cycle;
    auto values = make<Vector>();
    std::int32_t extent = adapter->extent();
    for (std::int32_t index = 0; index <= extent; ++index) {
        if (!adapter->hasIndex(index)) continue;
        Pointer<Object> value = adapter->getByIndex(context, index);
        if (isRaised(value)) return value;
        if (value.isNull() || is<NullResult>(value)) continue;
        values->addElement(value);
    }
    return make<DataRange>(values);
}

Pointer<Object> SelectCalculator::evaluate(EvaluationContext& context) const {
    if (m_table < 0 || m_table >= context.results().tableCount()) return {};
    const Pointer<TableResult>& source = context.results().getTable(m_table);
    if (source.isNull()) return {};
    return SelectTableResult::select(source, m_condition, context);
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
