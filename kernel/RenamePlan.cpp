#include "kernel/RenamePlan.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "core/Errors.h"
#include "core/LargeStack.h"
#include "kernel/NameSplice.h"
#include "kernel/References.h"
#include "kernel/ResolvedProgram.h"
#include "language/PrimaryExpressions.h"
#include "language/SourceExpressions.h"

namespace qv {

namespace {

using Kind = NameTarget::Kind;
using SpliceMap = std::map<FormulaPlace, std::vector<NameSplice>>;

// The marker a field name ends in: "~name" or "~base" ending the name at
// its first occurrence, as the linker reads it; empty for none.
std::string_view markerOf(std::string_view name) {
    for (std::string_view marker : {std::string_view("~name"), std::string_view("~base")}) {
        std::size_t found = name.find(marker);
        if (found != std::string_view::npos && found + marker.size() == name.size()) return marker;
    }
    return {};
}

// Why a new name cannot be written where the target's names stand, or "".
std::string nameProblem(const NameTarget& target, std::string_view name) {
    const char* invalid =
        " is not a valid name: it may not be empty, begin or end with a blank, or hold ], #, "
        "\" or control characters";
    std::string quoted = "\"" + std::string(name) + "\"";
    if (name.empty() || isBlankByte(name.front()) || isBlankByte(name.back()))
        return quoted + invalid;
    for (char ch : name) {
        auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7f || ch == ']' || ch == '#' || ch == '"')
            return quoted + invalid;
    }
    if (target.kind == Kind::kField) {
        if (name.find('(') != std::string_view::npos)
            return quoted + " is not a valid field name: a ( would make the field a function";
        if (markerOf(name) != markerOf(target.current))
            return quoted +
                   " would change whether the field names or bases the rows (~name, ~base)";
    }
    return {};
}

class Planner {
  public:
    Planner(Kernel& kernel, RenamePlan& plan, const std::vector<StringPointer>& outside)
        : m_kernel(kernel),
          m_program(resolvedNames(kernel.program(), kernel.functions())),
          m_linked(*m_program),
          m_plan(plan),
          m_target(plan.target),
          m_outside(outside) {}

    void run() {
        findTarget(m_target, m_linked);
        if (m_plan.newName == m_target.current) return;
        if (std::string problem = nameProblem(m_target, m_plan.newName); !problem.empty())
            return refuse(problem);
        if (std::string taken = takenWhere(); !taken.empty()) return refuse(taken);
        m_names = {m_target.current, m_plan.newName};
        m_uses = collectNameUses(m_linked, m_names, m_outside);
        spliceUses();
        if (m_target.kind == Kind::kRow) spliceRowName();
        if (m_plan.refused()) return;
        rewriteFormulas();
        rewriteNames();
        if (!m_plan.refused()) verify();
    }

  private:
    void refuse(const std::string& why) { m_plan.refusal = str(m_target.label() + ": " + why); }

    // The name is taken when another table, field of the family's tables or
    // row of the row's tables has it already.
    std::string taken() const { return "the name " + formulaName(m_plan.newName) + " is taken"; }

    std::string takenWhere() const {
        const std::string& name = m_plan.newName;
        if (m_target.kind == Kind::kTable) {
            return m_linked.tableIndexOf(name) >= 0 ? taken() + " by another table" : "";
        }
        for (std::int32_t t = 0; t < m_linked.tableCount(); ++t) {
            const Pointer<ResolvedTable>& table = m_linked.table(t);
            if (table.isNull() || !holdsTarget(*table)) continue;
            bool clash = false;
            if (m_target.kind == Kind::kField) {
                std::int32_t field = table->fieldIndexOf(name);
                clash = field >= 0 && fieldMeaning(*table, field) != m_target.meaning;
            } else {
                std::optional<std::int32_t> row = table->rowIndexOf(name);
                clash = row && rowMeaning(*table, *row) != m_target.meaning;
            }
            if (clash)
                return taken() + " in table " +
                       formulaName(table->definition()->tableName()->view());
        }
        return {};
    }

    bool holdsTarget(const ResolvedTable& table) const {
        if (m_target.kind == Kind::kField) {
            for (std::int32_t i = 0; i < table.fieldCount(); ++i) {
                if (fieldMeaning(table, i) == m_target.meaning) return true;
            }
            return false;
        }
        return rowMeaning(table, m_target.rowKey) == m_target.meaning;
    }

    // Every use of the target, once, whatever table linked it.
    void spliceUses() {
        std::string replacement = formulaName(m_plan.newName);
        std::set<std::pair<FormulaPlace, std::int32_t>> seen;
        std::set<std::pair<FormulaPlace, std::int32_t>> undecided;
        for (const NameUse& use : m_uses) {
            if (use.meaning.kind == NameMeaning::Kind::kUndecided &&
                m_target.kind == Kind::kField && use.meaning.text == m_target.current) {
                undecided.insert({use.place, use.offset});
            }
            if (use.meaning != m_target.meaning || !seen.insert({use.place, use.offset}).second)
                continue;
            if (use.guessed) ++m_plan.guessed;
            addSplice(use.place, use.offset, replacement);
        }
        m_plan.undecided = static_cast<std::int32_t>(undecided.size());
    }

    void addSplice(const FormulaPlace& place, std::int32_t offset, const std::string& text) {
        StringPointer source = placeText(place);
        if (source.isNull() || !nameReadsAt(source->view(), offset, m_target.current)) {
            // The offsets come from the parser; a mismatch is a fault of ours,
            // and writing anyway could damage the formula.
            return refuse("the name could not be found in the text of " + placeLabel(place));
        }
        std::int32_t length = nameLengthAt(source->view(), offset);
        m_splices[place].push_back({offset, length, text});
    }

    // The row's own name: the identifier or text of its name field.
    void spliceRowName() {
        FormulaPlace place = rowNamePlace(m_linked, m_target.meaning);
        m_rowNamePlace = place;
        ExpressionPointer formula = formulaAt(*m_kernel.program(), place);
        auto inner =
            is<ExpressionSource>(formula) ? cast<ExpressionSource>(formula)->innermost() : formula;
        if (is<IdentifierExpression>(inner)) {
            std::int32_t at = cast<IdentifierExpression>(inner)->at();
            auto& splices = m_splices[place];
            for (const NameSplice& splice : splices) {
                if (splice.offset == at) return;
            }
            return addSplice(place, at, formulaName(m_plan.newName));
        }
        StringPointer text = formulaText(formula);
        if (text.isNull()) return refuse("the row's name could not be found");
        m_splices[place] = {{0, text->length(), "\"" + m_plan.newName + "\""}};
    }

    void rewriteFormulas() {
        for (auto& [place, splices] : m_splices) {
            std::sort(splices.begin(), splices.end(),
                      [](const NameSplice& a, const NameSplice& b) { return a.offset < b.offset; });
            StringPointer before = placeText(place);
            StringPointer after = str(spliceText(before->view(), splices));
            auto names = static_cast<std::int32_t>(splices.size());
            if (place.table < 0) {
                m_plan.outside.push_back({place.field, before, after});
                continue;
            }
            ExpressionPointer formula = formulaAt(*m_kernel.program(), place);
            ExpressionPointer rewritten = reformulated(formula, after);
            if (rewritten.isNull())
                return refuse("the new text of " + placeLabel(place) + " does not read");
            bool ownName = m_rowNamePlace && place == *m_rowNamePlace;
            m_plan.formulas.push_back({place, formula, rewritten, names, ownName});
        }
    }

    void rewriteNames() {
        const ProgramDef& program = *m_kernel.program();
        if (m_target.kind == Kind::kTable) {
            std::int32_t index = m_target.tableIndex;
            m_plan.names.push_back({NameRewrite::What::kTableName, index, -1,
                                    program.table(index)->tableName(), str(m_plan.newName)});
            for (std::int32_t t : tablesExtending(m_linked, index)) {
                m_plan.names.push_back({NameRewrite::What::kBaseName, t, -1,
                                        m_linked.table(t)->definition()->baseName(),
                                        str(m_plan.newName)});
            }
        } else if (m_target.kind == Kind::kField) {
            rewriteFieldNames();
        }
        std::set<std::int32_t> tables;
        for (const auto& formula : m_plan.formulas)
            tables.insert(formula.place.table);
        for (const auto& name : m_plan.names)
            tables.insert(name.table);
        m_plan.tables = static_cast<std::int32_t>(tables.size());
    }

    // Every definition of the family: the first and the overrides.
    void rewriteFieldNames() {
        for (const auto& [place, definition] : fieldDefinitions(m_linked, m_target.meaning)) {
            m_plan.names.push_back({NameRewrite::What::kFieldName, place.table, place.field,
                                    definition->name(), renamedField(definition->nameText())});
        }
    }

    // A user function keeps its parameters: only the name before them changes.
    StringPointer renamedField(const StringPointer& name) const {
        std::string_view text = name->view();
        if (text.starts_with(m_target.current) && text != m_target.current)
            return str(m_plan.newName) + text.substr(m_target.current.size());
        return str(m_plan.newName);
    }

    // Every name of the program must mean the same after the rename.
    void verify() {
        auto copy = cast<ProgramDef>(m_kernel.program()->clone());
        applyRename(*copy, m_plan);
        std::vector<StringPointer> outside = m_outside;
        for (const OutsideRewrite& rewrite : m_plan.outside)
            outside[static_cast<std::size_t>(rewrite.index)] = rewrite.after;
        using Key = std::tuple<FormulaPlace, std::int32_t, std::int32_t, UseKind>;
        std::map<Key, const NameUse*> after;
        Pointer<ResolvedProgram> relinked = resolvedNames(copy, m_kernel.functions());
        std::vector<NameUse> renamed = collectNameUses(*relinked, m_names, outside);
        for (const NameUse& use : renamed)
            after[{use.place, use.offset, use.context, use.kind}] = &use;
        for (const NameUse& use : m_uses) {
            // Left as they were and counted: their table is known only when computing.
            if (use.meaning.kind == NameMeaning::Kind::kUndecided) continue;
            auto splices = m_splices.find(use.place);
            std::int32_t offset =
                splices == m_splices.end() ? use.offset : offsetAfter(splices->second, use.offset);
            auto found = after.find({use.place, offset, use.context, use.kind});
            if (found != after.end() && found->second->meaning == use.meaning) continue;
            StringPointer text = placeText(use.place);
            std::int32_t length = nameLengthAt(text->view(), use.offset);
            std::string name(text->view().substr(static_cast<std::size_t>(use.offset),
                                                 static_cast<std::size_t>(std::max(length, 0))));
            return refuse("the name " + formulaName(m_plan.newName) + " would change what " + name +
                          " means in " + placeLabel(use.place));
        }
    }

    StringPointer placeText(const FormulaPlace& place) const {
        if (place.table < 0) {
            auto index = static_cast<std::size_t>(place.field);
            return index < m_outside.size() ? m_outside[index] : StringPointer();
        }
        return formulaText(formulaAt(*m_kernel.program(), place));
    }

    std::string placeLabel(const FormulaPlace& place) const {
        return qv::placeLabel(*m_kernel.program(), place);
    }

    Kernel& m_kernel;
    // Linked here, not taken from the kernel: the kernel's link compiles
    // every formula, and the uses need a compilation of their own anyway.
    Pointer<ResolvedProgram> m_program;
    ResolvedProgram& m_linked;
    RenamePlan& m_plan;
    NameTarget& m_target;
    const std::vector<StringPointer>& m_outside;
    std::vector<std::string> m_names;  // the old and the new name
    std::vector<NameUse> m_uses;
    SpliceMap m_splices;
    std::optional<FormulaPlace> m_rowNamePlace;
};

void exchange(ProgramDef& program, const RenamePlan& plan, bool forward) {
    for (const FormulaRewrite& rewrite : plan.formulas) {
        const Pointer<TableDef>& table = program.table(rewrite.place.table);
        table->field(rewrite.place.field)
            ->setFormula(rewrite.place.rowKey, forward ? rewrite.after : rewrite.before);
    }
    for (const NameRewrite& rewrite : plan.names) {
        const Pointer<TableDef>& table = program.table(rewrite.table);
        const Pointer<Object>& name = forward ? rewrite.after : rewrite.before;
        switch (rewrite.what) {
            case NameRewrite::What::kTableName:
                table->setTableName(cast<String>(name));
                break;
            case NameRewrite::What::kBaseName:
                table->setBaseName(cast<String>(name));
                break;
            case NameRewrite::What::kFieldName:
                table->field(rewrite.field)->setName(name);
                break;
        }
    }
    if (!plan.changesNothing()) program.touch();
}

std::string counted(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

RenamePlan planRename(Kernel& kernel, NameTarget target, std::string_view newName,
                      const std::vector<StringPointer>& outside) {
    RenamePlan plan;
    plan.target = std::move(target);
    plan.newName = std::string(newName);
    // Linking recurses as deep as the formulas nest, as the kernel's own link.
    runOnLargeStack([&] { Planner(kernel, plan, outside).run(); });
    if (plan.refused()) {
        plan.formulas.clear();
        plan.names.clear();
        plan.outside.clear();
    }
    return plan;
}

void applyRename(ProgramDef& program, const RenamePlan& plan) {
    exchange(program, plan, true);
}

void revertRename(ProgramDef& program, const RenamePlan& plan) {
    exchange(program, plan, false);
}

std::int64_t RenamePlan::formulaUses() const noexcept {
    return std::count_if(formulas.begin(), formulas.end(),
                         [](const FormulaRewrite& formula) { return !formula.ownName; });
}

std::string renameSummary(const RenamePlan& plan, std::int32_t views) {
    // Only the parts that change are told; a rename nothing uses says so.
    std::vector<std::string> parts;
    // The tables counted are those of the formulas: the field's own
    // definitions are told apart below.
    std::set<std::int32_t> formulaTables;
    for (const FormulaRewrite& formula : plan.formulas) {
        if (!formula.ownName) formulaTables.insert(formula.place.table);
    }
    if (std::int64_t uses = plan.formulaUses(); uses > 0)
        parts.push_back(
            counted(uses, "formula", "formulas") + " in " +
            counted(static_cast<std::int64_t>(formulaTables.size()), "table", "tables"));
    std::int64_t definitions = 0;
    std::int64_t clauses = 0;
    for (const NameRewrite& name : plan.names) {
        definitions += name.what == NameRewrite::What::kFieldName ? 1 : 0;
        clauses += name.what == NameRewrite::What::kBaseName ? 1 : 0;
    }
    if (clauses > 0) parts.push_back(counted(clauses, "base-table clause", "base-table clauses"));
    if (views > 0) parts.push_back(counted(views, "view", "views"));
    std::string text = parts.empty() ? "Only the name changes" : parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i)
        text += ", " + parts[i];
    if (definitions > 1)
        text += "; the field is defined in " + counted(definitions, "table", "tables") +
                " (a base table and those extending it), renamed in all";
    if (plan.guessed > 0)
        text += "; " + counted(plan.guessed, "name", "names") +
                " after a dot renamed as the only field of that name";
    if (plan.undecided > 0)
        text += "; " + counted(plan.undecided, "name", "names") + " after a dot left as " +
                (plan.undecided == 1 ? "it is" : "they are") +
                ": other tables have fields of that name";
    return text;
}

}  // namespace qv
