// Operators and conditionals. Binary operators evaluate both sides (no
// short-circuit); two empty results give the left one without applying the
// operator. grep "ORDER TOKEN" for the table that maps operator codes here.
#pragma once

#include "kernel/AbstractCalculator.h"

namespace qv {

class BinaryCalculator : public AbstractCalculator {
    QV_ABSTRACT_OBJECT(BinaryCalculator, AbstractCalculator)
  public:
    BinaryCalculator(const CalculatorPointer& left, const CalculatorPointer& right)
        : m_left(left), m_right(right) {}
    virtual Pointer<Object> apply(const Object& left, const Object& right) const = 0;

    Pointer<Object> evaluate(EvaluationContext& context) const override;
    Pointer<Object> evaluatePair(EvaluationContext& first,
                                 EvaluationContext& second) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  protected:
    Pointer<Object> combine(const Pointer<Object>& left, const Pointer<Object>& right) const;
    // Both operands as plain numbers, when both can be had so.
    bool operandNumbers(EvaluationContext& context, double& left, double& right) const;

    CalculatorPointer m_left;
    CalculatorPointer m_right;
};

// The four arithmetic operators. On two plain numbers they compute without
// boxing the operands, with the same result as apply.
class ArithmeticCalculator : public BinaryCalculator {
    QV_ABSTRACT_OBJECT(ArithmeticCalculator, BinaryCalculator)
  public:
    using BinaryCalculator::BinaryCalculator;
    virtual double applyToNumbers(double left, double right) const = 0;
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool evaluateNumber(EvaluationContext& context, double& number) const override;
};

// The comparisons read the left side in the first context and the right
// side in the second, so "select" and "find" compare a row with the caller.
class ComparisonCalculator : public BinaryCalculator {
    QV_ABSTRACT_OBJECT(ComparisonCalculator, BinaryCalculator)
  public:
    using BinaryCalculator::BinaryCalculator;
    // The comparison of two plain numbers, as apply decides it.
    virtual bool compareNumbers(double left, double right) const = 0;
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    int evaluateTruth(EvaluationContext& context) const override;
    Pointer<Object> evaluatePair(EvaluationContext& first,
                                 EvaluationContext& second) const override;
};

#define QV_BINARY_CALCULATOR(Class, Base)                                              \
    class Class final : public Base {                                                  \
        QV_OBJECT(Class, Base, #Class)                                                 \
      public:                                                                          \
        using Base::Base;                                                              \
        Pointer<Object> apply(const Object& left, const Object& right) const override; \
    };
#define QV_NUMBER_CALCULATOR(Class, Base, Result, numbersMethod)                       \
    class Class final : public Base {                                                  \
        QV_OBJECT(Class, Base, #Class)                                                 \
      public:                                                                          \
        using Base::Base;                                                              \
        Pointer<Object> apply(const Object& left, const Object& right) const override; \
        Result numbersMethod(double left, double right) const override;                \
    };

QV_BINARY_CALCULATOR(ConcatBinaryCalculator, BinaryCalculator)
QV_NUMBER_CALCULATOR(PlusBinaryCalculator, ArithmeticCalculator, double, applyToNumbers)
QV_NUMBER_CALCULATOR(MinusBinaryCalculator, ArithmeticCalculator, double, applyToNumbers)
QV_NUMBER_CALCULATOR(MultBinaryCalculator, ArithmeticCalculator, double, applyToNumbers)
QV_NUMBER_CALCULATOR(DivBinaryCalculator, ArithmeticCalculator, double, applyToNumbers)
QV_NUMBER_CALCULATOR(LessBinaryCalculator, ComparisonCalculator, bool, compareNumbers)
QV_NUMBER_CALCULATOR(LessEqualBinaryCalculator, ComparisonCalculator, bool, compareNumbers)
QV_NUMBER_CALCULATOR(MoreBinaryCalculator, ComparisonCalculator, bool, compareNumbers)
QV_NUMBER_CALCULATOR(MoreEqualBinaryCalculator, ComparisonCalculator, bool, compareNumbers)
QV_NUMBER_CALCULATOR(EqualBinaryCalculator, ComparisonCalculator, bool, compareNumbers)
QV_BINARY_CALCULATOR(AndBinaryCalculator, BinaryCalculator)
QV_BINARY_CALCULATOR(OrBinaryCalculator, BinaryCalculator)

#undef QV_BINARY_CALCULATOR
#undef QV_NUMBER_CALCULATOR

// The calculator of a binary operator code, or the null object.
CalculatorPointer makeBinaryCalculator(std::int32_t op, const CalculatorPointer& left,
                                       const CalculatorPointer& right);

class UnaryCalculator : public AbstractCalculator {
    QV_ABSTRACT_OBJECT(UnaryCalculator, AbstractCalculator)
  public:
    explicit UnaryCalculator(const CalculatorPointer& operand) : m_operand(operand) {}
    // A negated or inverted value differs by row whenever the operand does.
    bool shouldShowAll(EvaluationContext& context) const override;

  protected:
    CalculatorPointer m_operand;
};

class MinusUnaryCalculator final : public UnaryCalculator {
    QV_OBJECT(MinusUnaryCalculator, UnaryCalculator, "MinusUnaryCalculator")
  public:
    using UnaryCalculator::UnaryCalculator;
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool evaluateNumber(EvaluationContext& context, double& number) const override;
};

// Prefix "+": the operand as a number.
class PlusUnaryCalculator final : public UnaryCalculator {
    QV_OBJECT(PlusUnaryCalculator, UnaryCalculator, "PlusUnaryCalculator")
  public:
    using UnaryCalculator::UnaryCalculator;
    Pointer<Object> evaluate(EvaluationContext& context) const override;
};

class NotUnaryCalculator final : public UnaryCalculator {
    QV_OBJECT(NotUnaryCalculator, UnaryCalculator, "NotUnaryCalculator")
  public:
    using UnaryCalculator::UnaryCalculator;
    Pointer<Object> evaluate(EvaluationContext& context) const override;
};

class IfCalculator final : public AbstractCalculator {
    QV_OBJECT(IfCalculator, AbstractCalculator, "IfCalculator")
  public:
    IfCalculator(const CalculatorPointer& condition, const CalculatorPointer& thenPart)
        : m_condition(condition), m_then(thenPart) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    CalculatorPointer m_condition;
    CalculatorPointer m_then;
};

class IfElseCalculator final : public AbstractCalculator {
    QV_OBJECT(IfElseCalculator, AbstractCalculator, "IfElseCalculator")
  public:
    IfElseCalculator(const CalculatorPointer& condition, const CalculatorPointer& thenPart,
                     const CalculatorPointer& elsePart)
        : m_condition(condition), m_then(thenPart), m_else(elsePart) {}
    Pointer<Object> evaluate(EvaluationContext& context) const override;
    bool evaluateNumber(EvaluationContext& context, double& number) const override;
    bool shouldShowAll(EvaluationContext& context) const override;

  private:
    CalculatorPointer m_condition;
    CalculatorPointer m_then;
    CalculatorPointer m_else;
};

// Evaluates a possibly absent calculator: absent parts give the null object.
Pointer<Object> evaluateOrNull(const CalculatorPointer& calculator, EvaluationContext& context);
bool showsAll(const CalculatorPointer& calculator, EvaluationContext& context);

}  // namespace qv
