#include "language/OperatorExpressions.h"

#include "core/Number.h"
#include "language/PrimaryExpressions.h"
#include "language/Token.h"

namespace qv {

namespace {

// A number literal before "." or "[" would absorb the point: (1).x.
void printPostfixTarget(std::string& out, const Pointer<AbstractExpression>& target) {
    bool number = is<ValueExpression>(target) && is<Number>(cast<ValueExpression>(target)->value());
    if (number) {
        out += '(';
        target->print(out);
        out += ')';
        return;
    }
    if (target.isNull()) return;
    if (target->precedence() < Precedence::Postfix) {
        out += '(';
        target->print(out);
        out += ')';
    } else {
        target->print(out);
    }
}

// ORDER TOKEN: binding strength of the infix operator codes.
Precedence binaryPrecedence(std::int32_t op) {
    switch (op) {
        case kOr:
            return Precedence::Or;
        case kAnd:
            return Precedence::And;
        case kLess:
        case kLessEqual:
        case kGreater:
        case kGreaterEqual:
        case kEqual:
            return Precedence::Comparison;
        case kConcat:
            return Precedence::Concatenation;
        case kPlus:
        case kMinus:
            return Precedence::Additive;
        case kTimes:
        case kDivide:
            return Precedence::Multiplicative;
        default:
            return Precedence::Primary;
    }
}

Precedence next(Precedence level) {
    return static_cast<Precedence>(static_cast<int>(level) + 1);
}

}  // namespace

Precedence UnaryExpression::precedence() const {
    return m_operator == kNot ? Precedence::Not : Precedence::Unary;
}

void UnaryExpression::print(std::string& out) const {
    if (m_operator == kNot) {
        out += "not ";
        printChild(out, m_operand, Precedence::Comparison);
        return;
    }
    out += operatorText(m_operator);
    printChild(out, m_operand, Precedence::Unary);
}

Pointer<Object> UnaryExpression::clone() const {
    return make<UnaryExpression>(cloneExpression(m_operand), m_operator);
}

Precedence BinaryExpression::precedence() const {
    return binaryPrecedence(m_operator);
}

void BinaryExpression::print(std::string& out) const {
    Precedence level = precedence();
    // Comparisons do not chain, so both sides must bind more strongly.
    Precedence leftLevel = level == Precedence::Comparison ? next(level) : level;
    printChild(out, m_left, leftLevel);
    out += ' ';
    out += operatorText(m_operator);
    out += ' ';
    printChild(out, m_right, next(level));
}

Pointer<Object> BinaryExpression::clone() const {
    return make<BinaryExpression>(cloneExpression(m_left), cloneExpression(m_right), m_operator);
}

void IfExpression::print(std::string& out) const {
    out += "if ";
    printChild(out, m_condition, Precedence::Or);
    out += " then ";
    printChild(out, m_then, Precedence::Or);
    if (!m_else.isNull()) {
        out += " else ";
        printChild(out, m_else, Precedence::Conditional);
    }
}

Pointer<Object> IfExpression::clone() const {
    return make<IfExpression>(cloneExpression(m_condition), cloneExpression(m_then),
                              cloneExpression(m_else));
}

void DotOperatorExpression::print(std::string& out) const {
    printPostfixTarget(out, m_left);
    out += '.';
    printChild(out, m_right, Precedence::Primary);
}

Pointer<Object> DotOperatorExpression::clone() const {
    return make<DotOperatorExpression>(cloneExpression(m_left), cloneExpression(m_right));
}

void IndexOperatorExpression::print(std::string& out) const {
    printPostfixTarget(out, m_target);
    out += '[';
    printChild(out, m_index, Precedence::Conditional);
    out += ']';
}

Pointer<Object> IndexOperatorExpression::clone() const {
    return make<IndexOperatorExpression>(cloneExpression(m_target), cloneExpression(m_index));
}

void LastIndexExpression::print(std::string& out) const {
    printPostfixTarget(out, m_target);
    out += "[*]";
}

Pointer<Object> LastIndexExpression::clone() const {
    return make<LastIndexExpression>(cloneExpression(m_target));
}

}  // namespace qv
