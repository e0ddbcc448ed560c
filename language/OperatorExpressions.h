// Operator nodes of the expression tree: prefix and infix operators (which
// keep their token code), conditionals, member access and indexing.
#pragma once

#include <cstdint>

#include "language/AbstractExpression.h"
#include "language/CompileContext.h"

namespace qv {

class UnaryExpression final : public AbstractExpression {
    QV_OBJECT(UnaryExpression, AbstractExpression, "UnaryExpression")
  public:
    UnaryExpression(const Pointer<AbstractExpression>& operand, std::int32_t op)
        : m_operand(operand), m_operator(op) {}
    const Pointer<AbstractExpression>& operand() const noexcept { return m_operand; }
    std::int32_t op() const noexcept { return m_operator; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override;
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_operand;
    std::int32_t m_operator;
};

class BinaryExpression final : public AbstractExpression {
    QV_OBJECT(BinaryExpression, AbstractExpression, "BinaryExpression")
  public:
    BinaryExpression(const Pointer<AbstractExpression>& left,
                     const Pointer<AbstractExpression>& right, std::int32_t op)
        : m_left(left), m_right(right), m_operator(op) {}
    const Pointer<AbstractExpression>& left() const noexcept { return m_left; }
    const Pointer<AbstractExpression>& right() const noexcept { return m_right; }
    std::int32_t op() const noexcept { return m_operator; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override;
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_left;
    Pointer<AbstractExpression> m_right;
    std::int32_t m_operator;
};

class IfExpression final : public AbstractExpression {
    QV_OBJECT(IfExpression, AbstractExpression, "IfExpression")
  public:
    IfExpression(const Pointer<AbstractExpression>& condition,
                 const Pointer<AbstractExpression>& thenPart,
                 const Pointer<AbstractExpression>& elsePart)
        : m_condition(condition), m_then(thenPart), m_else(elsePart) {}
    const Pointer<AbstractExpression>& condition() const noexcept { return m_condition; }
    const Pointer<AbstractExpression>& thenPart() const noexcept { return m_then; }
    // The null object when there is no else part.
    const Pointer<AbstractExpression>& elsePart() const noexcept { return m_else; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Conditional; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_condition;
    Pointer<AbstractExpression> m_then;
    Pointer<AbstractExpression> m_else;
};

class DotOperatorExpression final : public AbstractExpression {
    QV_OBJECT(DotOperatorExpression, AbstractExpression, "DotOperatorExpression")
  public:
    DotOperatorExpression(const Pointer<AbstractExpression>& left,
                          const Pointer<AbstractExpression>& right)
        : m_left(left), m_right(right) {}
    const Pointer<AbstractExpression>& left() const noexcept { return m_left; }
    const Pointer<AbstractExpression>& right() const noexcept { return m_right; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Postfix; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_left;
    Pointer<AbstractExpression> m_right;
};

class IndexOperatorExpression final : public AbstractExpression {
    QV_OBJECT(IndexOperatorExpression, AbstractExpression, "IndexOperatorExpression")
  public:
    IndexOperatorExpression(const Pointer<AbstractExpression>& target,
                            const Pointer<AbstractExpression>& index)
        : m_target(target), m_index(index) {}
    const Pointer<AbstractExpression>& target() const noexcept { return m_target; }
    const Pointer<AbstractExpression>& index() const noexcept { return m_index; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Postfix; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_target;
    Pointer<AbstractExpression> m_index;
};

// target[*]: the last element.
class LastIndexExpression final : public AbstractExpression {
    QV_OBJECT(LastIndexExpression, AbstractExpression, "LastIndexExpression")
  public:
    explicit LastIndexExpression(const Pointer<AbstractExpression>& target) : m_target(target) {}
    const Pointer<AbstractExpression>& target() const noexcept { return m_target; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Postfix; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_target;
};

}  // namespace qv
