#include "language/TableExpressions.h"

namespace qv {

void SelectExpression::print(std::string& out) const {
    out += "select * from ";
    printName(out, m_tableName);
    out += " where ";
    printChild(out, m_condition, Precedence::Conditional);
}

Pointer<Object> SelectExpression::clone() const {
    return make<SelectExpression>(m_tableName, cloneExpression(m_condition), m_tableAt);
}

void RangeExpression::print(std::string& out) const {
    out += "range ";
    printChild(out, m_from, Precedence::Conditional);
    out += " to ";
    printChild(out, m_to, Precedence::Conditional);
    if (!m_step.isNull()) {
        out += " step ";
        printChild(out, m_step, Precedence::Conditional);
    }
    if (!m_steps.isNull()) {
        out += " steps ";
        printChild(out, m_steps, Precedence::Conditional);
    }
}

Pointer<Object> RangeExpression::clone() const {
    return make<RangeExpression>(cloneExpression(m_from), cloneExpression(m_to),
                                 cloneExpression(m_step), cloneExpression(m_steps));
}

void DataRangeExpression::print(std::string& out) const {
    out += "datarange";
    if (m_expression.isNull()) return;
    out += ' ';
    printChild(out, m_expression, Precedence::Conditional);
}

Pointer<Object> DataRangeExpression::clone() const {
    return make<DataRangeExpression>(cloneExpression(m_expression));
}

void AltExpression::print(std::string& out) const {
    for (std::int32_t i = 0; i < m_alternatives->size(); ++i) {
        if (i > 0) out += " alt ";
        printChild(out, (*m_alternatives)[i], Precedence::Alternative);
    }
}

Pointer<Object> AltExpression::clone() const {
    return make<AltExpression>(cloneExpressions(m_alternatives));
}

}  // namespace qv
