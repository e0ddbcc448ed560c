#include "kernel/NameUses.h"

#include <map>
#include <set>

#include "kernel/LinkContext.h"
#include "kernel/MemberTable.h"
#include "kernel/ReferenceObserver.h"
#include "kernel/ResolvedProgram.h"
#include "language/ExpressionParser.h"
#include "language/OperatorExpressions.h"
#include "language/PrimaryExpressions.h"
#include "language/TableExpressions.h"

namespace qv {

std::int32_t tableIndexOf(const ProgramDef& program, const TableDef* table) {
    for (std::int32_t t = 0; t < program.tableCount(); ++t) {
        if (program.table(t).get() == table) return t;
    }
    return -1;
}

namespace {

// The field this one inherits or overrides, or nullptr at the end of the chain.
const ResolvedField* nextInChain(const ResolvedField& field) {
    return field.overridden().isNull() ? nullptr : field.overridden().get();
}

}  // namespace

NameMeaning fieldMeaning(const ResolvedTable& table, std::int32_t field) {
    if (field < 0 || field >= table.fieldCount()) return NameMeaning::other("no field");
    const ResolvedField* root = table.field(field).get();
    while (!root->overridden().isNull())
        root = root->overridden().get();
    const ResolvedTable* defining = root->definingTable();
    std::int32_t owner = defining != nullptr ? defining->index() : table.index();
    return {NameMeaning::Kind::kField, owner, root->position(), {}};
}

// The row's name is its name field's formula there, through the chain of
// overridden fields; the definition that holds that formula defines the row.
NameMeaning rowMeaning(const ResolvedTable& table, std::int32_t rowKey) {
    if (table.nameField() < 0) return NameMeaning::other("no row");
    for (const ResolvedField* chain = table.field(table.nameField()).get(); chain != nullptr;
         chain = nextInChain(*chain)) {
        if (chain->definition()->formula(rowKey).isNull()) continue;
        const ResolvedTable* defining = chain->definingTable();
        std::int32_t owner = defining != nullptr ? defining->index() : table.index();
        return {NameMeaning::Kind::kRow, owner, rowKey, {}};
    }
    return NameMeaning::other("no row");
}

FormulaPlace rowNamePlace(const ResolvedProgram& program, const NameMeaning& row) {
    FormulaPlace place{row.table, -1, row.item};
    if (row.table < 0 || row.table >= program.tableCount() || program.table(row.table).isNull())
        return place;
    const ResolvedTable* table = program.table(row.table).get();
    if (table->nameField() < 0) return place;
    for (const ResolvedField* chain = table->field(table->nameField()).get(); chain != nullptr;
         chain = nextInChain(*chain)) {
        if (chain->definingTable() == table) place.field = chain->position();
    }
    return place;
}

ExpressionPointer formulaAt(const ProgramDef& program, const FormulaPlace& place) {
    if (place.table < 0 || place.table >= program.tableCount()) return {};
    const Pointer<TableDef>& table = program.table(place.table);
    if (table.isNull() || place.field < 0 || place.field >= table->fieldCount()) return {};
    return table->field(place.field)->formula(place.rowKey);
}

namespace {

NameMeaning meaningOf(const ResolvedTable* table, NameResolution resolution) {
    using Kind = NameResolution::Kind;
    switch (resolution.kind) {
        case Kind::kTable:
            return NameMeaning::ofTable(resolution.index);
        case Kind::kField:
        case Kind::kFunction:
            return table == nullptr ? NameMeaning::other("no field")
                                    : fieldMeaning(*table, resolution.index);
        case Kind::kRow:
            return table == nullptr ? NameMeaning::other("no row")
                                    : rowMeaning(*table, resolution.index);
        case Kind::kParameter:
            return NameMeaning::other("parameter " + std::to_string(resolution.index));
        case Kind::kColumn:
            return NameMeaning::other("col");
        case Kind::kLibrary:
            return NameMeaning::other("library");
        case Kind::kUnresolved:
            break;
    }
    return NameMeaning::other("unresolved");
}

class UseCollector final : public ReferenceObserver {
  public:
    explicit UseCollector(ResolvedProgram& linked) : m_linked(linked) {}

    // Formulas kept outside the tables are linked here, one by one.
    void outside(std::int32_t index, const ExpressionPointer& formula) {
        m_place = {-1, index, 0};
        m_context = -1;
        LinkContext link(m_linked, nullptr, Pointer<FunctionSignature>());
        link.setObserver(this);
        link.compileChild(formula);
    }

    // The right of a dot is known once every table is compiled.
    std::vector<NameUse> finish() {
        for (const Member& member : m_members)
            addMember(member);
        m_members.clear();
        return std::move(m_uses);
    }

    void formula(const ResolvedTable& table, std::int32_t field, std::int32_t rowKey,
                 const AbstractExpression& formula) override {
        m_context = table.index();
        m_place = {table.index(), -1, rowKey};
        // The formula may be inherited: its place is the definition holding it.
        for (const ResolvedField* chain = table.field(field).get(); chain != nullptr;
             chain = nextInChain(*chain)) {
            if (chain->definition()->formula(rowKey).get() != &formula) continue;
            const TableDef* owner = chain->definition()->owner();
            m_place.table =
                owner == nullptr ? table.index() : tableIndexOf(*m_linked.program(), owner);
            m_place.field = chain->position();
            return;
        }
    }

    void identifier(const LinkContext& context, const IdentifierExpression& node,
                    NameResolution resolution) override {
        add(node.at(), UseKind::kName, meaningOf(context.table(), resolution));
    }

    void member(const LinkContext& context, const DotOperatorExpression& node) override {
        if (!is<IdentifierExpression>(node.right())) return;
        auto right = cast<IdentifierExpression>(node.right());
        if (right->at() < 0) return;
        m_members.push_back({m_place, m_context, context.table(), context.scope(), node.left(),
                             right->name(), right->at()});
    }

    void call(const LinkContext& context, const FuncExpression& node,
              NameResolution resolution) override {
        add(node.at(), UseKind::kCall, meaningOf(context.table(), resolution));
        if (resolution.kind != NameResolution::Kind::kTable) return;
        // The names of a local table call's arguments are fields of that table.
        const ResolvedTable* table = m_linked.table(resolution.index).get();
        for (const auto& argument : *node.arguments()) {
            auto assign = cast<AssignExpression>(argument);
            if (assign.isNull() || !is<IdentifierExpression>(assign->target())) continue;
            auto name = cast<IdentifierExpression>(assign->target());
            std::int32_t field = table->fieldIndexOf(name->name()->view());
            add(name->at(), UseKind::kArgument, fieldMeaning(*table, field));
        }
    }

    void cell(const LinkContext& context, const AtExpression& node, std::int32_t field,
              std::int32_t row) override {
        const ResolvedTable* table = context.table();
        add(node.fieldAt(), UseKind::kCellField,
            table == nullptr ? NameMeaning::other("no field") : fieldMeaning(*table, field));
        add(node.rowAt(), UseKind::kCellRow,
            table == nullptr || row < -1 ? NameMeaning::other("no row") : rowMeaning(*table, row));
    }

    void select(const LinkContext&, const SelectExpression& node, std::int32_t table) override {
        add(node.tableAt(), UseKind::kSelectTable,
            table < 0 ? NameMeaning::other("unresolved") : NameMeaning::ofTable(table));
    }

  private:
    struct Member {
        FormulaPlace place;
        std::int32_t context;
        ResolvedTable* table;
        Pointer<FunctionSignature> scope;
        ExpressionPointer left;
        StringPointer name;
        std::int32_t offset;
    };

    void add(std::int32_t offset, UseKind kind, NameMeaning meaning) {
        if (offset < 0 || m_place.field < 0) return;
        m_uses.push_back({m_place, offset, m_context, kind, false, std::move(meaning)});
    }

    void addMember(const Member& member) {
        NameUse use{member.place, member.offset, member.context, UseKind::kMember, false, {}};
        std::int32_t table = memberTableOf(m_linked, member.table, member.scope, member.left);
        if (table >= 0 && !m_linked.table(table).isNull()) {
            const ResolvedTable& known = *m_linked.table(table);
            use.meaning = fieldMeaning(known, known.fieldIndexOf(member.name->view()));
        } else {
            use.meaning = familyNamed(member.name->view());
            use.guessed = use.meaning.kind == NameMeaning::Kind::kField;
        }
        m_uses.push_back(std::move(use));
    }

    // The one family with fields of this name, or undecided.
    NameMeaning familyNamed(std::string_view name) {
        auto cached = m_families.find(std::string(name));
        if (cached != m_families.end()) return cached->second;
        std::set<std::pair<std::int32_t, std::int32_t>> families;
        for (std::int32_t t = 0; t < m_linked.tableCount(); ++t) {
            const Pointer<ResolvedTable>& table = m_linked.table(t);
            if (table.isNull()) continue;
            NameMeaning meaning = fieldMeaning(*table, table->fieldIndexOf(name));
            if (meaning.kind == NameMeaning::Kind::kField)
                families.insert({meaning.table, meaning.item});
        }
        NameMeaning meaning = NameMeaning::other("unresolved");
        if (families.size() == 1) {
            meaning = {
                NameMeaning::Kind::kField, families.begin()->first, families.begin()->second, {}};
        } else if (families.size() > 1) {
            meaning = {NameMeaning::Kind::kUndecided, -1, -1, std::string(name)};
        }
        m_families.emplace(std::string(name), meaning);
        return meaning;
    }

    ResolvedProgram& m_linked;
    FormulaPlace m_place;
    std::int32_t m_context = -1;
    std::vector<NameUse> m_uses;
    std::vector<Member> m_members;
    std::map<std::string, NameMeaning> m_families;
};

}  // namespace

std::vector<NameUse> collectNameUses(const Pointer<ProgramDef>& program,
                                     const Pointer<FuncStore>& functions,
                                     const std::vector<StringPointer>& expressions) {
    auto linked = make<ResolvedProgram>(program, functions);
    UseCollector collector(*linked);
    linked->link(collector);
    for (std::size_t i = 0; i < expressions.size(); ++i) {
        ExpressionPointer formula = make<ExpressionParser>()->parseFormula(expressions[i]);
        collector.outside(static_cast<std::int32_t>(i), formula);
    }
    return collector.finish();
}

}  // namespace qv
