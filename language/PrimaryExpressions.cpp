#include "language/PrimaryExpressions.h"

#include <charconv>
#include <cmath>

#include "core/Number.h"

namespace qv {

namespace {

// The shortest text that reads back as the same double.
void printNumber(std::string& out, double value) {
    if (std::isinf(value)) {
        out += value < 0 ? "-1e999" : "1e999";
        return;
    }
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

}  // namespace

bool endsWithRange(const Pointer<AbstractExpression>& node) {
    return !node.isNull() && node->endsWithRangeClause();
}

bool AssignExpression::endsWithRangeClause() const {
    return endsWithRange(m_value);
}

bool ValueExpression::holdsString() const noexcept {
    return is<String>(m_value);
}

StringPointer ValueExpression::nameText() const {
    return cast<String>(m_value);
}

void ValueExpression::print(std::string& out) const {
    if (m_value.isNull()) {
        out += '?';
    } else if (holdsString()) {
        out += '"';
        out += cast<String>(m_value)->view();
        out += '"';
    } else if (is<Number>(m_value)) {
        printNumber(out, cast<Number>(m_value)->doubleValue());
    } else {
        out += m_value->toString()->view();
    }
}

Pointer<Object> ValueExpression::clone() const {
    return make<ValueExpression>(m_value.isNull() ? m_value : m_value->clone());
}

Pointer<Object> IdentifierExpression::clone() const {
    return make<IdentifierExpression>(m_name, m_at);
}

void FuncExpression::print(std::string& out) const {
    printName(out, m_name);
    out += '(';
    for (std::int32_t i = 0; i < m_arguments->size(); ++i) {
        if (i > 0) out += ", ";
        printChild(out, (*m_arguments)[i], Precedence::Alternatives);
    }
    // A range must be followed by a comma or it would read the parenthesis as a step word.
    if (m_arguments->size() > 0 && endsWithRange((*m_arguments)[m_arguments->size() - 1])) {
        out += ',';
    }
    out += ')';
}

Pointer<Object> FuncExpression::clone() const {
    return make<FuncExpression>(m_name, cloneExpressions(m_arguments), m_at);
}

void AtExpression::print(std::string& out) const {
    printName(out, m_rowName);
    out += '@';
    printName(out, m_fieldName);
}

Pointer<Object> AtExpression::clone() const {
    return make<AtExpression>(m_rowName, m_fieldName, m_rowAt, m_fieldAt);
}

void AssignExpression::print(std::string& out) const {
    printChild(out, m_target, Precedence::Alternatives);
    out += " := ";
    printChild(out, m_value, Precedence::Alternatives);
}

Pointer<Object> AssignExpression::clone() const {
    return make<AssignExpression>(cloneExpression(m_target), cloneExpression(m_value));
}

Pointer<AbstractExpression> cloneExpression(const Pointer<AbstractExpression>& node) {
    if (node.isNull()) return node;
    return cast<AbstractExpression>(node->clone());
}

Pointer<ExpressionList> cloneExpressions(const Pointer<ExpressionList>& list) {
    auto copy = make<ExpressionList>(list->size());
    for (const auto& node : *list)
        copy->add(cloneExpression(node));
    return copy;
}

}  // namespace qv
