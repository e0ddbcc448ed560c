// The leaves and name forms of the expression tree: literals, identifiers,
// function calls, cell references and named arguments.
#pragma once

#include <cstdint>

#include "core/TVector.h"
#include "language/AbstractExpression.h"
#include "language/CompileContext.h"

namespace qv {

using ExpressionList = TVector<AbstractExpression>;

// A number or string literal, or the empty value "?" (the null object).
class ValueExpression final : public AbstractExpression {
    QV_OBJECT(ValueExpression, AbstractExpression, "ValueExpression")
  public:
    explicit ValueExpression(const Pointer<Object>& value) : m_value(value) {}
    const Pointer<Object>& value() const noexcept { return m_value; }
    bool holdsString() const noexcept;

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    StringPointer nameText() const override;
    Precedence precedence() const override { return Precedence::Primary; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<Object> m_value;
};

// Name nodes remember where their name starts in the formula's text (-1
// when the node was not read from one), so a rename can rewrite exactly the
// characters of the name and leave the rest of the text as it was typed.
class IdentifierExpression final : public AbstractExpression {
    QV_OBJECT(IdentifierExpression, AbstractExpression, "IdentifierExpression")
  public:
    explicit IdentifierExpression(const StringPointer& name, std::int32_t at = -1)
        : m_name(name), m_at(at) {}
    const StringPointer& name() const noexcept { return m_name; }
    // The offset of the name in the formula's text, or -1.
    std::int32_t at() const noexcept { return m_at; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    StringPointer nameText() const override { return m_name; }
    Precedence precedence() const override { return Precedence::Primary; }
    void print(std::string& out) const override { printName(out, m_name); }
    Pointer<Object> clone() const override;

  private:
    StringPointer m_name;
    std::int32_t m_at;
};

class FuncExpression final : public AbstractExpression {
    QV_OBJECT(FuncExpression, AbstractExpression, "FuncExpression")
  public:
    FuncExpression(const StringPointer& name, const Pointer<ExpressionList>& arguments,
                   std::int32_t at = -1)
        : m_name(name), m_arguments(arguments), m_at(at) {}
    const StringPointer& name() const noexcept { return m_name; }
    // The offset of the name in the formula's text, or -1.
    std::int32_t at() const noexcept { return m_at; }
    const Pointer<ExpressionList>& arguments() const noexcept { return m_arguments; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Primary; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    StringPointer m_name;
    Pointer<ExpressionList> m_arguments;
    std::int32_t m_at;
};

// row@field: one cell of the current table.
class AtExpression final : public AbstractExpression {
    QV_OBJECT(AtExpression, AbstractExpression, "AtExpression")
  public:
    AtExpression(const StringPointer& rowName, const StringPointer& fieldName,
                 std::int32_t rowAt = -1, std::int32_t fieldAt = -1)
        : m_rowName(rowName), m_fieldName(fieldName), m_rowAt(rowAt), m_fieldAt(fieldAt) {}
    const StringPointer& rowName() const noexcept { return m_rowName; }
    const StringPointer& fieldName() const noexcept { return m_fieldName; }
    // The offsets of the two names in the formula's text, or -1.
    std::int32_t rowAt() const noexcept { return m_rowAt; }
    std::int32_t fieldAt() const noexcept { return m_fieldAt; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Primary; }
    void print(std::string& out) const override;
    Pointer<Object> clone() const override;

  private:
    StringPointer m_rowName;
    StringPointer m_fieldName;
    std::int32_t m_rowAt;
    std::int32_t m_fieldAt;
};

// name := value, an argument of a local-table call.
class AssignExpression final : public AbstractExpression {
    QV_OBJECT(AssignExpression, AbstractExpression, "AssignExpression")
  public:
    AssignExpression(const Pointer<AbstractExpression>& target,
                     const Pointer<AbstractExpression>& value)
        : m_target(target), m_value(value) {}
    const Pointer<AbstractExpression>& target() const noexcept { return m_target; }
    const Pointer<AbstractExpression>& value() const noexcept { return m_value; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Precedence precedence() const override { return Precedence::Alternatives; }
    void print(std::string& out) const override;
    bool endsWithRangeClause() const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<AbstractExpression> m_target;
    Pointer<AbstractExpression> m_value;
};

// A deep copy of a node, or the null object for an absent one.
Pointer<AbstractExpression> cloneExpression(const Pointer<AbstractExpression>& node);
Pointer<ExpressionList> cloneExpressions(const Pointer<ExpressionList>& list);
// The node's endsWithRangeClause; false for an absent node.
bool endsWithRange(const Pointer<AbstractExpression>& node);

}  // namespace qv
