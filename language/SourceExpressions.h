// A formula kept together with its text: ExpressionSource wraps a parsed
// tree, ErrorExpression stands for text that did not parse, so a broken
// formula is shown, edited and saved as the user typed it.
#pragma once

#include <cstdint>

#include "core/Warning.h"
#include "language/AbstractExpression.h"
#include "language/CompileContext.h"

namespace qv {

class ErrorExpression final : public AbstractExpression {
    QV_OBJECT(ErrorExpression, AbstractExpression, "ErrorExpression")
  public:
    ErrorExpression(const StringPointer& text, const Pointer<Warning>& error)
        : m_text(text), m_error(error) {}
    const StringPointer& text() const noexcept { return m_text; }
    const Pointer<Warning>& error() const noexcept { return m_error; }

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return context.compile(*this);
    }
    Pointer<Object> errorOf() const override { return m_error; }
    Precedence precedence() const override { return Precedence::Primary; }
    // Hash text, which reads back literally.
    void print(std::string& out) const override;
    StringPointer displayText() const override;
    StringPointer describe() const override;
    Pointer<Object> clone() const override;

  private:
    StringPointer m_text;
    Pointer<Warning> m_error;
};

class ExpressionSource final : public AbstractExpression {
    QV_OBJECT(ExpressionSource, AbstractExpression, "ExpressionSource")
  public:
    enum class Origin { Plain, HashText };

    // `readableLength` is the length of the text's prefix that holds the
    // expression with its inner comments, without trailing comments;
    // `unclosed` the mark that closes a literal or bracketed name the text
    // leaves open at its end, or NUL.
    ExpressionSource(const StringPointer& text, const Pointer<AbstractExpression>& expression,
                     Origin origin = Origin::Plain, std::int32_t readableLength = -1,
                     char unclosed = '\0');
    const StringPointer& text() const noexcept { return m_text; }
    const Pointer<AbstractExpression>& expression() const noexcept { return m_expression; }
    Origin origin() const noexcept { return m_origin; }
    // The innermost node below any nested ExpressionSource.
    Pointer<AbstractExpression> innermost() const;

    Pointer<AbstractCalculator> compile(CompileContext& context) const override {
        return m_expression->compile(context);
    }
    bool isRange() const override { return m_expression->isRange(); }
    bool endsWithRangeClause() const override {
        return !m_expression.isNull() && m_expression->endsWithRangeClause();
    }
    Pointer<Object> errorOf() const override { return m_expression->errorOf(); }
    StringPointer nameText() const override { return m_expression->nameText(); }
    Precedence precedence() const override { return m_expression->precedence(); }
    void print(std::string& out) const override;
    StringPointer displayText() const override;
    StringPointer editText() const override;
    StringPointer describe() const override;
    Pointer<Object> clone() const override;

  private:
    StringPointer m_text;
    Pointer<AbstractExpression> m_expression;
    Origin m_origin;
    std::int32_t m_readableLength;
    char m_unclosed;
};

}  // namespace qv
