#include "kernel/MemberTable.h"

#include <map>
#include <tuple>

#include "kernel/LinkContext.h"
#include "kernel/ReferenceObserver.h"
#include "kernel/ResolvedProgram.h"
#include "language/OperatorExpressions.h"
#include "language/PrimaryExpressions.h"
#include "language/SourceExpressions.h"
#include "language/TableExpressions.h"

namespace qv {

namespace {

// What the names compiled so far resolved to, by node.
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

// A table's rows or results (`row` false: a dot reads the formula row), or
// a row of it; a table of -1 is not known.
struct Shape {
    std::int32_t table = -1;
    bool row = false;
};

}  // namespace

class MemberTables::Search {
  public:
    explicit Search(ResolvedProgram& program) : m_program(program) {}

    Shape shapeOf(const ExpressionPointer& node, ResolvedTable* context,
                  const Pointer<FunctionSignature>& scope, std::int32_t depth) {
        if (node.isNull()) return {};
        auto key = std::make_tuple(node.get(), context, depth);
        if (auto known = m_shapes.find(key); known != m_shapes.end()) return known->second;
        Shape shape = search(node, context, scope, depth);
        m_shapes.emplace(key, shape);
        return shape;
    }

  private:
    Shape search(const ExpressionPointer& node, ResolvedTable* context,
                 const Pointer<FunctionSignature>& scope, std::int32_t depth) {
        if (is<ExpressionSource>(node))
            return shapeOf(cast<ExpressionSource>(node)->innermost(), context, scope, depth);
        if (is<IdentifierExpression>(node)) return ofName(node, context, scope, depth);
        if (is<FuncExpression>(node)) return ofCall(cast<FuncExpression>(node), context, scope);
        if (is<SelectExpression>(node)) return {compiledTable(node, context, scope), false};
        if (is<IndexOperatorExpression>(node)) {
            auto index = cast<IndexOperatorExpression>(node);
            return rowOf(shapeOf(index->target(), context, scope, depth));
        }
        if (is<LastIndexExpression>(node))
            return rowOf(shapeOf(cast<LastIndexExpression>(node)->target(), context, scope, depth));
        if (is<DotOperatorExpression>(node)) {
            auto dot = cast<DotOperatorExpression>(node);
            Shape left = shapeOf(dot->left(), context, scope, depth);
            if (left.table < 0 || !is<IdentifierExpression>(dot->right())) return {};
            if (m_program.table(left.table).isNull()) return {};
            ResolvedTable* table = m_program.table(left.table).get();
            return ofField(table, table->fieldIndexOf(dot->right()->nameText()->view()), depth);
        }
        return {};
    }

    // The linker resolves the name, alone: its children need no compiling.
    void compile(const ExpressionPointer& node, ResolvedTable* context,
                 const Pointer<FunctionSignature>& scope) {
        LinkContext link(m_program, context, scope);
        link.setObserver(&m_resolutions);
        link.compileChild(node);
    }

    Shape ofName(const ExpressionPointer& node, ResolvedTable* context,
                 const Pointer<FunctionSignature>& scope, std::int32_t depth) {
        compile(node, context, scope);
        auto found = m_resolutions.names.find(node.get());
        if (found == m_resolutions.names.end()) return {};
        NameResolution resolution = found->second;
        if (resolution.kind == NameResolution::Kind::kTable) return {resolution.index, false};
        if (resolution.kind == NameResolution::Kind::kField)
            return ofField(context, resolution.index, depth);
        return {};
    }

    Shape ofCall(const Pointer<FuncExpression>& call, ResolvedTable* context,
                 const Pointer<FunctionSignature>& scope) {
        if (call->name()->equals("find") && call->arguments()->size() == 1 && context != nullptr)
            return {context->index(), true};
        return {compiledTable(call, context, scope), false};
    }

    std::int32_t compiledTable(const ExpressionPointer& node, ResolvedTable* context,
                               const Pointer<FunctionSignature>& scope) {
        compile(node, context, scope);
        auto found = m_resolutions.tables.find(node.get());
        return found == m_resolutions.tables.end() ? -1 : found->second;
    }

    // A field's value is what its formula row gives, unless a row has a
    // formula of its own.
    Shape ofField(ResolvedTable* table, std::int32_t field, std::int32_t depth) {
        if (table == nullptr || field < 0 || depth <= 0) return {};
        if (table->hasRowOverrides(field)) return {};
        ExpressionPointer formula = table->formulaOf(field, 0);
        return shapeOf(formula, table, table->signatureOf(field), depth - 1);
    }

    static Shape rowOf(Shape target) {
        if (target.table < 0 || target.row) return {};
        return {target.table, true};
    }

    ResolvedProgram& m_program;
    Resolutions m_resolutions;
    std::map<std::tuple<const AbstractExpression*, ResolvedTable*, std::int32_t>, Shape> m_shapes;
};

MemberTables::MemberTables(ResolvedProgram& program)
    : m_search(std::make_unique<Search>(program)) {}

MemberTables::~MemberTables() = default;

std::int32_t MemberTables::tableOf(ResolvedTable* context, const Pointer<FunctionSignature>& scope,
                                   const ExpressionPointer& left) {
    return m_search->shapeOf(left, context, scope, kMemberSearchDepth).table;
}

}  // namespace qv
