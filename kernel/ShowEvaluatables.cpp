#include "kernel/ShowEvaluatables.h"

#include "core/Number.h"
#include "kernel/Evaluator.h"
#include "kernel/TableResult.h"

namespace qv {

Object* ShouldShowAllEvaluatable::cachedValue() const {
    return m_table.cachedVariesByRow(m_field);
}

void ShouldShowAllEvaluatable::setCachedValue(const Pointer<Object>& value) {
    m_table.storeVariesByRow(m_field, value);
}

// Inside a computation the decision is evaluated without evaluateTop, which
// would forget the alternatives pending on the way here. A decision that
// meets a cycle counts as "may differ".
bool ShouldShowAllEvaluatable::decide(TableResult& table, std::int32_t field,
                                      Evaluator& evaluator) {
    if (field < 0 || field >= table.fieldCount()) return false;
    Object* cached = table.cachedVariesByRow(field);
    if (cached->isInstanceOf(Boolean::typeId())) return static_cast<Boolean*>(cached)->value();
    ShouldShowAllEvaluatable evaluatable(table, field);
    Pointer<Object> decision = evaluator.depth() == 0 ? evaluator.evaluateTop(evaluatable)
                                                      : evaluator.evaluate(evaluatable);
    if (isRaised(decision)) {
        evaluator.takeRaised();
        return true;
    }
    return !is<Boolean>(decision) || cast<Boolean>(decision)->value();
}

Pointer<Object> ShouldShowEvaluatable::computeAlternative(Evaluator& evaluator, std::int32_t) {
    bool shown = m_row <= 0 || m_table.resolved()->hasOwnCalculator(m_field, m_row) ||
                 ShouldShowAllEvaluatable::decide(m_table, m_field, evaluator);
    return Boolean::of(shown);
}

}  // namespace qv
