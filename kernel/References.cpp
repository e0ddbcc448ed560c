#include "kernel/References.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "core/LargeStack.h"
#include "kernel/NameSplice.h"
#include "kernel/ResolvedProgram.h"
#include "language/PrimaryExpressions.h"
#include "language/SourceExpressions.h"

namespace qv {

namespace {

void addDefinitions(const ResolvedProgram& linked, const NameTarget& target,
                    std::vector<Reference>& references) {
    using Kind = Reference::Kind;
    const ProgramDef& program = *linked.program();
    if (target.kind == NameTarget::Kind::kTable) {
        references.push_back({Kind::kTableName, {target.tableIndex, -1, 0}});
        for (std::int32_t t : tablesExtending(linked, target.tableIndex))
            references.push_back({Kind::kBaseClause, {t, -1, 0}});
        return;
    }
    if (target.kind == NameTarget::Kind::kRow) {
        FormulaPlace place = rowNamePlace(linked, target.meaning);
        if (place.field < 0) return;
        // The name is the identifier, or the whole text literal.
        Reference reference{Kind::kRowName, place, 0, 0};
        ExpressionPointer formula = formulaAt(program, place);
        StringPointer text = formulaText(formula);
        if (text.isNull()) return;
        reference.length = text->length();
        auto inner = cast<ExpressionSource>(formula)->innermost();
        if (is<IdentifierExpression>(inner)) {
            reference.offset = cast<IdentifierExpression>(inner)->at();
            reference.length = std::max(0, nameLengthAt(text->view(), reference.offset));
        }
        references.push_back(reference);
        return;
    }
    for (const FieldDefinition& definition : fieldDefinitions(linked, target.meaning))
        references.push_back({Kind::kFieldName, definition.place});
}

bool formulaOrder(const Reference& a, const Reference& b) {
    // Views after the tables.
    auto key = [](const Reference& r) {
        return std::make_tuple(r.place.table < 0, r.place.table, r.place.field, r.place.rowKey,
                               r.offset);
    };
    return key(a) < key(b);
}

}  // namespace

std::vector<Reference> findReferences(Kernel& kernel, NameTarget& target,
                                      const std::vector<StringPointer>& outside) {
    Pointer<ResolvedProgram> program;
    std::vector<NameUse> uses;
    // Linking recurses as deep as bases chain and formulas nest, as the
    // kernel's own link does.
    runOnLargeStack([&] {
        program = resolvedNames(kernel.program(), kernel.functions());
        findTarget(target, *program);
        uses = collectNameUses(*program, {target.current}, outside);
    });
    ResolvedProgram& linked = *program;
    std::vector<Reference> references;
    addDefinitions(linked, target, references);
    std::vector<Reference> formulas;
    std::set<std::pair<FormulaPlace, std::int32_t>> seen;
    for (const NameUse& use : uses) {
        if (use.meaning != target.meaning || !seen.insert({use.place, use.offset}).second) continue;
        Reference reference{
            use.place.table < 0 ? Reference::Kind::kView : Reference::Kind::kFormula,
            use.place,
            use.offset,
            0,
            use.kind,
            use.guessed};
        StringPointer text = referenceText(*kernel.program(), reference, outside);
        if (!text.isNull()) reference.length = std::max(0, nameLengthAt(text->view(), use.offset));
        // The row's own name is listed once, as its definition.
        if (target.kind == NameTarget::Kind::kRow && !references.empty() &&
            references.front().place == use.place) {
            continue;
        }
        formulas.push_back(reference);
    }
    std::stable_sort(formulas.begin(), formulas.end(), formulaOrder);
    references.insert(references.end(), formulas.begin(), formulas.end());
    return references;
}

std::vector<std::int32_t> tablesExtending(const ResolvedProgram& linked, std::int32_t table) {
    std::vector<std::int32_t> tables;
    for (std::int32_t t = 0; t < linked.tableCount(); ++t) {
        const Pointer<ResolvedTable>& extending = linked.table(t);
        if (extending.isNull() || extending->definition()->baseName().isNull()) continue;
        if (linked.tableIndexOf(extending->definition()->baseName()->view()) == table)
            tables.push_back(t);
    }
    return tables;
}

std::vector<FieldDefinition> fieldDefinitions(const ResolvedProgram& linked,
                                              const NameMeaning& field) {
    const ProgramDef& program = *linked.program();
    std::vector<FieldDefinition> definitions;
    std::set<std::pair<std::int32_t, std::int32_t>> seen;
    for (std::int32_t t = 0; t < linked.tableCount(); ++t) {
        const Pointer<ResolvedTable>& table = linked.table(t);
        if (table.isNull()) continue;
        for (std::int32_t i = 0; i < table->fieldCount(); ++i) {
            const Pointer<ResolvedField>& resolved = table->field(i);
            if (resolved->inherited() || fieldMeaning(*table, i) != field) continue;
            std::int32_t owner = tableIndexOf(program, resolved->definition()->owner());
            if (owner >= 0 && seen.insert({owner, resolved->position()}).second)
                definitions.push_back({{owner, resolved->position(), 0}, resolved->definition()});
        }
    }
    return definitions;
}

StringPointer referenceText(const ProgramDef& program, const Reference& reference,
                            const std::vector<StringPointer>& outside) {
    const FormulaPlace& place = reference.place;
    if (place.table < 0) {
        auto index = static_cast<std::size_t>(place.field);
        return index < outside.size() ? outside[index] : StringPointer();
    }
    switch (reference.kind) {
        case Reference::Kind::kFormula:
        case Reference::Kind::kRowName:
            return formulaText(formulaAt(program, place));
        default:
            return {};
    }
}

std::string placeLabel(const ProgramDef& program, const FormulaPlace& place) {
    if (place.table < 0 || place.table >= program.tableCount()) return "a view";
    const Pointer<TableDef>& table = program.table(place.table);
    std::string label = formulaName(table->tableName()->view());
    if (place.field < 0) return label;
    StringPointer field = table->field(place.field)->nameText();
    label += field->length() > 0 ? "." + formulaName(field->view())
                                 : ".<" + std::to_string(place.field + 1) + ">";
    if (place.rowKey == -1) label += "[sum]";
    if (place.rowKey > 0) label += "[" + std::to_string(place.rowKey) + "]";
    return label;
}

}  // namespace qv
