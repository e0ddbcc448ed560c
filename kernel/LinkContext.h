// LinkContext: the state a formula is compiled in — the linked program, the
// table whose fields are visible unqualified, the parameters of the user
// function being compiled — and the compile rule of every expression kind.
#pragma once

#include <cstdint>

#include "core/Hashtable.h"
#include "kernel/AbstractCalculator.h"
#include "kernel/ReferenceObserver.h"
#include "language/CompileContext.h"
#include "language/FunctionSignature.h"

namespace qv {

class ResolvedProgram;
class ResolvedTable;

class LinkContext final : public Object, public CompileContext {
    QV_OBJECT(LinkContext, Object, "LinkContext")
  public:
    LinkContext(ResolvedProgram& program, ResolvedTable* table,
                const Pointer<FunctionSignature>& scope);

    ResolvedProgram& program() const noexcept { return m_program; }
    ResolvedTable* table() const noexcept { return m_table; }
    const Pointer<FunctionSignature>& scope() const noexcept { return m_scope; }
    bool calcTimeMode() const noexcept { return m_calcTimeMode; }
    // The names that resolved to nothing, or the null object.
    const Pointer<Hashtable>& unresolvedNames() const noexcept { return m_unresolvedNames; }
    // The unresolved names in the order of first use, or the null object.
    const Pointer<Vector>& unresolvedInOrder() const noexcept { return m_unresolvedOrder; }
    // "undefined: " and the unresolved names joined by ",".
    StringPointer unresolvedMessage() const;

    void addUnresolved(const StringPointer& name);
    Pointer<CalculatorList> compileAll(const Pointer<TVector<AbstractExpression>>& list);
    Pointer<LinkContext> withTable(ResolvedTable* table) const;
    // Told what each name resolves to; none (the default) for ordinary links.
    void setObserver(ReferenceObserver* observer) noexcept { m_observer = observer; }
    ReferenceObserver* observer() const noexcept { return m_observer; }
    // Compiles a child; an absent child gives the null object.
    CalculatorPointer compileChild(const ExpressionPointer& expression);

    CalculatorPointer compile(const ValueExpression& node) override;
    CalculatorPointer compile(const IdentifierExpression& node) override;
    CalculatorPointer compile(const FuncExpression& node) override;
    CalculatorPointer compile(const AtExpression& node) override;
    CalculatorPointer compile(const AssignExpression& node) override;
    CalculatorPointer compile(const UnaryExpression& node) override;
    CalculatorPointer compile(const BinaryExpression& node) override;
    CalculatorPointer compile(const IfExpression& node) override;
    CalculatorPointer compile(const DotOperatorExpression& node) override;
    CalculatorPointer compile(const IndexOperatorExpression& node) override;
    CalculatorPointer compile(const LastIndexExpression& node) override;
    CalculatorPointer compile(const SelectExpression& node) override;
    CalculatorPointer compile(const RangeExpression& node) override;
    CalculatorPointer compile(const DataRangeExpression& node) override;
    CalculatorPointer compile(const AltExpression& node) override;
    CalculatorPointer compile(const ErrorExpression& node) override;

  private:
    CalculatorPointer compileLocalTable(const FuncExpression& node);
    CalculatorPointer compileSelectCondition(const ExpressionPointer& condition,
                                             LinkContext& selected);
    CalculatorPointer resolveIdentifier(const StringPointer& name, NameResolution& resolution);

    ResolvedProgram& m_program;
    ResolvedTable* m_table;
    Pointer<FunctionSignature> m_scope;
    Pointer<Hashtable> m_unresolvedNames;
    Pointer<Vector> m_unresolvedOrder;
    ReferenceObserver* m_observer = nullptr;  // not owning
    bool m_calcTimeMode = false;
};

// A calculator that yields a fixed Warning.
CalculatorPointer warningCalculator(const char* message);
CalculatorPointer warningCalculator(const StringPointer& message);

}  // namespace qv
