// Nodes that produce rows or pick among alternatives: select, range,
// datarange and alt.
#pragma once

#include <cstdint>

#include "language/AbstractExpression.h"
#include "language/CompileContext.h"
#include "language/PrimaryExpressions.h"

namespace qv {

class SelectExpression final : public AbstractExpression {
    QV_OBJECT(SelectExpression, AbstractExpression, "SelectExpression")
  public:
    SelectExpression(const StringPointer& tableName, const Pointer<AbstractExpression>& condition,
                     std::int32_t tableAt = -1)
        : m_tableName(tableName), m_condition(condition), m_tableAt(tableAt) {}
    const StringPointer& tableName() const noexcept { return m_tableName; }
    // The offset of the table's name in the formula's text, or -1.
    std::int32_t tableAt() const noexcept { return m_tableAt; }
    const Pointer<AbstractExpression>& condition() const noexcept { return m_condition; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Alternative; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    StringPointer m_tableName;
    Pointer<AbstractExpression> m_condition;
    std::int32_t m_tableAt;
};

class RangeExpression final : public AbstractExpression {
    QV_OBJECT(RangeExpression, AbstractExpression, "RangeExpression")
  public:
    RangeExpression(const Pointer<AbstractExpression>& from, const Pointer<AbstractExpression>& to,
                    const Pointer<AbstractExpression>& step,
                    const Pointer<AbstractExpression>& steps)
        : m_from(from), m_to(to), m_step(step), m_steps(steps) {}
    const Pointer<AbstractExpression>& from() const noexcept { return m_from; }
    const Pointer<AbstractExpression>& to() const noexcept { return m_to; }
    // Step size, or the null object.
    const Pointer<AbstractExpression>& step() const noexcept { return m_step; }
    // Number of steps, or the null object.
    const Pointer<AbstractExpression>& steps() const noexcept { return m_steps; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    bool isRange() const override { return true; }
    bool endsWithRangeClause() const override { return true; }
    Precedence precedence() const override { return Precedence::Alternative; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_from;
    Pointer<AbstractExpression> m_to;
    Pointer<AbstractExpression> m_step;
    Pointer<AbstractExpression> m_steps;
};

class DataRangeExpression final : public AbstractExpression {
    QV_OBJECT(DataRangeExpression, AbstractExpression, "DataRangeExpression")
  public:
    explicit DataRangeExpression(const Pointer<AbstractExpression>& expression)
        : m_expression(expression) {}
    // May be the null object.
    const Pointer<AbstractExpression>& expression() const noexcept { return m_expression; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    bool isRange() const override { return true; }
    Precedence precedence() const override { return Precedence::Alternative; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_expression;
};

class AltExpression final : public AbstractExpression {
    QV_OBJECT(AltExpression, AbstractExpression, "AltExpression")
  public:
    explicit AltExpression(const Pointer<ExpressionList>& alternatives)
        : m_alternatives(alternatives) {}
    const Pointer<ExpressionList>& alternatives() const noexcept { return m_alternatives; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Alternatives; }
    void print(std::string& out) const override;
    bool endsWithRangeClause() const override {
        return m_alternatives->size() > 0 &&
               endsWithRange((*m_alternatives)[m_alternatives->size() - 1]);
    }
    Pointer<Object> clone() const override;

  private:
    Pointer<ExpressionList> m_alternatives;
};

}  // namespace qv
