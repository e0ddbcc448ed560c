#include "kernel/MemberTable.h"

#include <map>

#include "kernel/LinkContext.h"
#include "kernel/ReferenceObserver.h"
#include "kernel/ResolvedProgram.h"
#include "language/OperatorExpressions.h"
#include "language/PrimaryExpressions.h"
#include "language/SourceExpressions.h"
#include "language/TableExpressions.h"

namespace qv {

namespace {

// What the names of the expressions compiled so far resolved to, by node.
class Resolutions final : public ReferenceObserver {
  public:
    void formula(const ResolvedTable&, std::int32_t, std::int32_t,
                 const AbstractExpression&) override {}
    void identifier(const LinkContext&, const IdentifierExpression& node,
                    NameResolution resolution) override {
        names[&node] = resolution;
    }
    void member(const LinkContext&, const DotOperatorExpression&) override {}
    void call(const LinkContext&, const FuncExpression& node, NameResolution resolution) override {
        if (resolution.kind == NameResolution::Kind::kTable) tables[&node] = resolution.index;
    }
    void cell(const LinkContext&, const AtExpression&, std::int32_t, std::int32_t) override {}
    void select(const LinkContext&, const SelectExpression& node, std::int32_t table) override {
        tables[&node] = table;
    }

    std::map<const AbstractExpression*, NameResolution> names;
    std::map<const AbstractExpression*, std::int32_t> tables;
};

// A table's rows or results (`row` false: dot reads the formula row), or a
// row of it; a table of -1 is not known.
struct Shape {
    std::int32_t table = -1;
    bool row = false;
};

class MemberSearch {
  public:
    explicit MemberSearch(ResolvedProgram& program) : m_program(program) {}

    Shape compiled(ResolvedTable* context, const Pointer<FunctionSignature>& scope,
                   const ExpressionPointer& expression, std::int32_t depth) {
        LinkContext link(m_program, context, scope);
        link.setObserver(&m_resolutions);
        link.compileChild(expression);
        return shapeOf(expression, context, depth);
    }

  private:
    Shape shapeOf(const ExpressionPointer& node, ResolvedTable* context, std::int32_t depth) {
        if (node.isNull()) return {};
        if (is<ExpressionSource>(node))
            return shapeOf(cast<ExpressionSource>(node)->innermost(), context, depth);
        if (is<IdentifierExpression>(node)) return ofName(*node, context, depth);
        if (is<FuncExpression>(node)) return ofCall(cast<FuncExpression>(node), context);
        if (is<SelectExpression>(node)) return {tableOf(*node), false};
        if (is<IndexOperatorExpression>(node))
            return rowOf(shapeOf(cast<IndexOperatorExpression>(node)->target(), context, depth));
        if (is<LastIndexExpression>(node))
            return rowOf(shapeOf(cast<LastIndexExpression>(node)->target(), context, depth));
        if (is<DotOperatorExpression>(node)) {
            auto dot = cast<DotOperatorExpression>(node);
            Shape left = shapeOf(dot->left(), context, depth);
            if (left.table < 0 || !is<IdentifierExpression>(dot->right())) return {};
            if (m_program.table(left.table).isNull()) return {};
            ResolvedTable* table = m_program.table(left.table).get();
            std::int32_t field = table->fieldIndexOf(dot->right()->nameText()->view());
            return ofField(table, field, depth);
        }
        return {};
    }

    Shape ofName(const AbstractExpression& node, ResolvedTable* context, std::int32_t depth) {
        auto found = m_resolutions.names.find(&node);
        if (found == m_resolutions.names.end()) return {};
        NameResolution resolution = found->second;
        if (resolution.kind == NameResolution::Kind::kTable) return {resolution.index, false};
        if (resolution.kind == NameResolution::Kind::kField)
            return ofField(context, resolution.index, depth);
        return {};
    }

    Shape ofCall(const Pointer<FuncExpression>& call, ResolvedTable* context) {
        std::int32_t table = tableOf(*call);
        if (table >= 0) return {table, false};
        if (call->name()->equals("find") && call->arguments()->size() == 1 && context != nullptr)
            return {context->index(), true};
        return {};
    }

    // A field's value is what its formula row gives, unless a row has a
    // formula of its own.
    Shape ofField(ResolvedTable* table, std::int32_t field, std::int32_t depth) {
        if (table == nullptr || field < 0 || depth <= 0) return {};
        if (table->hasRowOverrides(field)) return {};
        ExpressionPointer formula = table->formulaOf(field, 0);
        if (formula.isNull()) return {};
        return compiled(table, table->signatureOf(field), formula, depth - 1);
    }

    std::int32_t tableOf(const AbstractExpression& node) const {
        auto found = m_resolutions.tables.find(&node);
        return found == m_resolutions.tables.end() ? -1 : found->second;
    }

    static Shape rowOf(Shape target) {
        if (target.table < 0 || target.row) return {};
        return {target.table, true};
    }

    ResolvedProgram& m_program;
    Resolutions m_resolutions;
};

}  // namespace

std::int32_t memberTableOf(ResolvedProgram& program, ResolvedTable* context,
                           const Pointer<FunctionSignature>& scope, const ExpressionPointer& left) {
    MemberSearch search(program);
    return search.compiled(context, scope, left, kMemberSearchDepth).table;
}

}  // namespace qv
