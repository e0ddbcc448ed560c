// The expression tree: immutable nodes built by the parsers, compiled into
// calculators by the kernel and printed back as formula text. Compilation is
// a double dispatch through CompileContext, which the kernel's link context
// implements, so this library never depends on the kernel.
#pragma once

#include <string>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

class AbstractCalculator;
class CompileContext;

// Binding strength of the printed forms, lowest first; a child printed where
// a stronger form is required gets parentheses.
enum class Precedence {
    Alternatives,  // a alt b
    Alternative,   // select, range, datarange
    Conditional,   // if ... then ... else
    Or,
    And,
    Not,
    Comparison,
    Concatenation,
    Additive,
    Multiplicative,
    Unary,
    Postfix,
    Primary,
};

class AbstractExpression : public Object {
    QV_ABSTRACT_OBJECT(AbstractExpression, Object)
  public:
    virtual Pointer<AbstractCalculator> compile(CompileContext& context) const = 0;
    virtual bool isRange() const { return false; }
    // The error of a formula that did not parse; the null object otherwise.
    virtual Pointer<Object> errorOf() const { return Pointer<Object>(); }
    // The name of an identifier or the text of a string literal.
    virtual StringPointer nameText() const { return StringPointer(); }

    virtual Precedence precedence() const = 0;
    // Appends the formula text that reads back as this node.
    virtual void print(std::string& out) const = 0;
    // True when the printed node ends in a range, whose step clauses would
    // take a following ")" or "alt" as a clause word.
    virtual bool endsWithRangeClause() const { return false; }

    // The formula as a cell shows it ("=" and the formula, or a literal).
    virtual StringPointer displayText() const;
    // The formula as the user edits it.
    virtual StringPointer editText() const { return toSource(); }

    StringPointer toSource() const override;
    StringPointer describe() const override;

  protected:
    // Prints a child, in parentheses when it binds less strongly than required.
    static void printChild(std::string& out, const Pointer<AbstractExpression>& child,
                           Precedence required);
};

using ExpressionPointer = Pointer<AbstractExpression>;

// Appends a name as a plain identifier when it reads back as one, otherwise
// in brackets.
void printName(std::string& out, const StringPointer& name);
// True when the text is one identifier token that no grammar rule takes as a keyword.
bool isPlainName(std::string_view name);

}  // namespace qv
