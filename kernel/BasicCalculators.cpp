#include "kernel/BasicCalculators.h"

#include "core/Errors.h"
#include "core/Number.h"
#include "kernel/ProgramResult.h"
#include "kernel/ResultEvaluatable.h"
#include "kernel/TableResult.h"
#include "kernel/TableResultSlices.h"

namespace qv {

Pointer<Object> FuncParamCalculator::evaluate(EvaluationContext& context) const {
    Arguments arguments = context.arguments();
    if (m_position < 0 || static_cast<std::size_t>(m_position) >= arguments.size()) return {};
    return arguments[static_cast<std::size_t>(m_position)];
}

Pointer<Object> LocalFieldCalculator::evaluate(EvaluationContext& context) const {
    return context.evaluateCell(m_field, context.row());
}

bool LocalFieldCalculator::evaluateNumber(EvaluationContext& context, double& number) const {
    return context.cachedNumber(m_field, context.row(), number);
}

bool ValueCalculator::evaluateNumber(EvaluationContext&, double& number) const {
    if (m_value->classTypeId() != Double::typeId()) return false;
    number = static_cast<const Double&>(*m_value).value();
    return true;
}

Pointer<Object> LocalFieldCalculator::evaluateReference(EvaluationContext& context) const {
    if (context.table() == nullptr) return {};
    return make<TableResultCol>(Pointer<TableResult>(context.table()), m_field);
}

bool LocalFieldCalculator::shouldShowAll(EvaluationContext& context) const {
    return context.fieldVariesByRow(m_field);
}

Pointer<Object> LocalRowCalculator::evaluate(EvaluationContext& context) const {
    return context.evaluateCell(context.field(), m_row);
}

Pointer<Object> LocalRowCalculator::evaluateReference(EvaluationContext& context) const {
    if (context.table() == nullptr) return {};
    return make<TableResultRow>(Pointer<TableResult>(context.table()), m_row);
}

Pointer<Object> ForienTableCalculator::evaluate(EvaluationContext& context) const {
    if (m_table < 0 || m_table >= context.results().tableCount()) return {};
    return context.results().getTable(m_table);
}

Pointer<Object> CalcTimeIdentifierCalculator::evaluate(EvaluationContext& context) const {
    AbstractResultAdapter* adapter = adapterOf(context.dotTarget());
    if (adapter == nullptr) throwMessage("result not supporting identifier access");
    return adapter->getByIdentifier(context, m_identifier);
}

Pointer<Object> CalcTimeIdentifierCalculator::evaluateReference(EvaluationContext& context) const {
    AbstractResultAdapter* adapter = adapterOf(context.dotTarget());
    if (adapter == nullptr) throwMessage("result not supporting identifier access");
    return adapter->getByIdentifierReference(context, m_identifier);
}

Pointer<Object> ColFunctionCalculator::evaluate(EvaluationContext& context) const {
    TableResult* table = context.table();
    if (table == nullptr) return make<Double>(context.field() + 1);
    const ResolvedTable& resolved = *table->resolved();
    if (context.field() == resolved.baseField()) {
        return context.evaluator().raiseSpecial(make<StringSpecialValue>(str("(range)")));
    }
    std::int32_t column = context.field() - resolved.headerCount();
    if (column < 0) return {};
    return make<Double>(column + 1);
}

}  // namespace qv
