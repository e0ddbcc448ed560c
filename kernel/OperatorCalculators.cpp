#include "kernel/OperatorCalculators.h"

#include "core/Number.h"
#include "core/ValueConversions.h"
#include "core/Values.h"
#include "kernel/ResultEvaluatable.h"
#include "language/Token.h"

namespace qv {

namespace {

Pointer<Object> number(double value) {
    return make<Double>(value);
}
Pointer<Object> truth(bool value) {
    return Boolean::of(value);
}

bool isNullResult(const Pointer<Object>& value) {
    return is<NullResult>(value);
}

}  // namespace

Pointer<Object> evaluateOrNull(const CalculatorPointer& calculator, EvaluationContext& context) {
    if (calculator.isNull()) return {};
    return calculator->evaluate(context);
}

bool showsAll(const CalculatorPointer& calculator, EvaluationContext& context) {
    return !calculator.isNull() && calculator->shouldShowAll(context);
}

Pointer<Object> BinaryCalculator::combine(const Pointer<Object>& left,
                                          const Pointer<Object>& right) const {
    if (isNullResult(left) && isNullResult(right)) return left;
    return apply(*left.object(), *right.object());
}

bool BinaryCalculator::operandNumbers(EvaluationContext& context, double& left,
                                      double& right) const {
    return !m_left.isNull() && !m_right.isNull() && m_left->evaluateNumber(context, left) &&
           m_right->evaluateNumber(context, right);
}

Pointer<Object> ArithmeticCalculator::evaluate(EvaluationContext& context) const {
    double left = 0, right = 0;
    if (operandNumbers(context, left, right)) return number(applyToNumbers(left, right));
    return BinaryCalculator::evaluate(context);
}

bool ArithmeticCalculator::evaluateNumber(EvaluationContext& context, double& result) const {
    double left = 0, right = 0;
    if (!operandNumbers(context, left, right)) return false;
    result = applyToNumbers(left, right);
    return true;
}

Pointer<Object> ComparisonCalculator::evaluate(EvaluationContext& context) const {
    double left = 0, right = 0;
    if (operandNumbers(context, left, right)) return truth(compareNumbers(left, right));
    return BinaryCalculator::evaluate(context);
}

int ComparisonCalculator::evaluateTruth(EvaluationContext& context) const {
    double left = 0, right = 0;
    if (!operandNumbers(context, left, right)) return -1;
    return compareNumbers(left, right) ? 1 : 0;
}

// A failure of the left operand leaves before the right one is evaluated,
// as an exception would.
Pointer<Object> BinaryCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> left = evaluateOrNull(m_left, context);
    if (isRaised(left)) return left;
    Pointer<Object> right = evaluateOrNull(m_right, context);
    if (isRaised(right)) return right;
    return combine(left, right);
}

Pointer<Object> BinaryCalculator::evaluatePair(EvaluationContext& first,
                                               EvaluationContext& second) const {
    Pointer<Object> left =
        m_left.isNull() ? Pointer<Object>() : m_left->evaluatePair(first, second);
    if (isRaised(left)) return left;
    Pointer<Object> right =
        m_right.isNull() ? Pointer<Object>() : m_right->evaluatePair(first, second);
    if (isRaised(right)) return right;
    return combine(left, right);
}

bool BinaryCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_left, context) || showsAll(m_right, context);
}

Pointer<Object> ComparisonCalculator::evaluatePair(EvaluationContext& first,
                                                   EvaluationContext& second) const {
    Pointer<Object> left = evaluateOrNull(m_left, first);
    if (isRaised(left)) return left;
    Pointer<Object> right = evaluateOrNull(m_right, second);
    if (isRaised(right)) return right;
    return combine(left, right);
}

Pointer<Object> ConcatBinaryCalculator::apply(const Object& left, const Object& right) const {
    return joinTexts(toText(left), toText(right));
}
Pointer<Object> PlusBinaryCalculator::apply(const Object& left, const Object& right) const {
    return number(toNumber(left) + toNumber(right));
}
Pointer<Object> MinusBinaryCalculator::apply(const Object& left, const Object& right) const {
    return number(toNumber(left) - toNumber(right));
}
Pointer<Object> MultBinaryCalculator::apply(const Object& left, const Object& right) const {
    return number(toNumber(left) * toNumber(right));
}
Pointer<Object> DivBinaryCalculator::apply(const Object& left, const Object& right) const {
    return number(toNumber(left) / toNumber(right));
}
double PlusBinaryCalculator::applyToNumbers(double left, double right) const {
    return left + right;
}
double MinusBinaryCalculator::applyToNumbers(double left, double right) const {
    return left - right;
}
double MultBinaryCalculator::applyToNumbers(double left, double right) const {
    return left * right;
}
double DivBinaryCalculator::applyToNumbers(double left, double right) const {
    return left / right;
}
bool LessBinaryCalculator::compareNumbers(double left, double right) const {
    return right > left;
}
bool LessEqualBinaryCalculator::compareNumbers(double left, double right) const {
    return right > left || left == right;
}
bool MoreBinaryCalculator::compareNumbers(double left, double right) const {
    return left > right;
}
bool MoreEqualBinaryCalculator::compareNumbers(double left, double right) const {
    return left > right || left == right;
}
bool EqualBinaryCalculator::compareNumbers(double left, double right) const {
    return left == right;
}
Pointer<Object> LessBinaryCalculator::apply(const Object& left, const Object& right) const {
    return truth(isGreater(right, left));
}
Pointer<Object> LessEqualBinaryCalculator::apply(const Object& left, const Object& right) const {
    return truth(isGreater(right, left) || valuesEqual(left, right));
}
Pointer<Object> MoreBinaryCalculator::apply(const Object& left, const Object& right) const {
    return truth(isGreater(left, right));
}
Pointer<Object> MoreEqualBinaryCalculator::apply(const Object& left, const Object& right) const {
    return truth(isGreater(left, right) || valuesEqual(left, right));
}
Pointer<Object> EqualBinaryCalculator::apply(const Object& left, const Object& right) const {
    return truth(valuesEqual(left, right));
}
Pointer<Object> AndBinaryCalculator::apply(const Object& left, const Object& right) const {
    return truth(toBoolean(left) && toBoolean(right));
}
Pointer<Object> OrBinaryCalculator::apply(const Object& left, const Object& right) const {
    return truth(toBoolean(left) || toBoolean(right));
}

// ORDER TOKEN: operator codes to their calculators.
CalculatorPointer makeBinaryCalculator(std::int32_t op, const CalculatorPointer& left,
                                       const CalculatorPointer& right) {
    switch (op) {
        case kConcat:
            return make<ConcatBinaryCalculator>(left, right);
        case kPlus:
            return make<PlusBinaryCalculator>(left, right);
        case kMinus:
            return make<MinusBinaryCalculator>(left, right);
        case kTimes:
            return make<MultBinaryCalculator>(left, right);
        case kDivide:
            return make<DivBinaryCalculator>(left, right);
        case kLess:
            return make<LessBinaryCalculator>(left, right);
        case kLessEqual:
            return make<LessEqualBinaryCalculator>(left, right);
        case kGreater:
            return make<MoreBinaryCalculator>(left, right);
        case kGreaterEqual:
            return make<MoreEqualBinaryCalculator>(left, right);
        case kEqual:
            return make<EqualBinaryCalculator>(left, right);
        case kAnd:
            return make<AndBinaryCalculator>(left, right);
        case kOr:
            return make<OrBinaryCalculator>(left, right);
        default:
            return {};
    }
}

bool UnaryCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_operand, context);
}

bool MinusUnaryCalculator::evaluateNumber(EvaluationContext& context, double& number) const {
    if (m_operand.isNull() || !m_operand->evaluateNumber(context, number)) return false;
    number = -number;
    return true;
}

Pointer<Object> MinusUnaryCalculator::evaluate(EvaluationContext& context) const {
    double value = 0;
    if (evaluateNumber(context, value)) return number(value);
    Pointer<Object> operand = evaluateOrNull(m_operand, context);
    if (isRaised(operand)) return operand;
    return number(-toNumber(operand));
}

Pointer<Object> PlusUnaryCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> operand = evaluateOrNull(m_operand, context);
    if (isRaised(operand)) return operand;
    return number(toNumber(operand));
}

Pointer<Object> NotUnaryCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> operand = evaluateOrNull(m_operand, context);
    if (isRaised(operand)) return operand;
    return truth(toNumber(operand) == 0);
}

Pointer<Object> IfCalculator::evaluate(EvaluationContext& context) const {
    Pointer<Object> condition = evaluateOrNull(m_condition, context);
    if (isRaised(condition)) return condition;
    if (toBoolean(condition)) return evaluateOrNull(m_then, context);
    return context.evaluator().nullResult();
}

bool IfCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_condition, context) || showsAll(m_then, context);
}

namespace {
// A condition decided on plain numbers leads straight to its branch.
int truthOf(const CalculatorPointer& condition, EvaluationContext& context) {
    return condition.isNull() ? -1 : condition->evaluateTruth(context);
}
}  // namespace

bool IfElseCalculator::evaluateNumber(EvaluationContext& context, double& number) const {
    int truth = truthOf(m_condition, context);
    if (truth < 0) return false;
    const CalculatorPointer& branch = truth == 1 ? m_then : m_else;
    return !branch.isNull() && branch->evaluateNumber(context, number);
}

Pointer<Object> IfElseCalculator::evaluate(EvaluationContext& context) const {
    if (int truth = truthOf(m_condition, context); truth >= 0)
        return evaluateOrNull(truth == 1 ? m_then : m_else, context);
    Pointer<Object> condition = evaluateOrNull(m_condition, context);
    if (isRaised(condition)) return condition;
    if (toBoolean(condition)) return evaluateOrNull(m_then, context);
    return evaluateOrNull(m_else, context);
}

bool IfElseCalculator::shouldShowAll(EvaluationContext& context) const {
    return showsAll(m_condition, context) || showsAll(m_then, context) || showsAll(m_else, context);
}

}  // namespace qv
