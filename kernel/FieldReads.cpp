#include "kernel/FieldReads.h"

#include <algorithm>

#include "functions/FuncStore.h"
#include "kernel/ResolvedTable.h"
#include "language/OperatorExpressions.h"
#include "language/PrimaryExpressions.h"
#include "language/SourceExpressions.h"
#include "language/TableExpressions.h"

namespace qv {

namespace {

std::string textOf(const StringPointer& text) {
    return text.isNull() ? std::string() : std::string(text->view());
}

void addOnce(std::vector<std::int32_t>& fields, std::int32_t field) {
    if (std::find(fields.begin(), fields.end(), field) == fields.end()) fields.push_back(field);
}

}  // namespace

void ProgramReads::takeShape(const std::vector<const ResolvedTable*>& linked) {
    m_tables.assign(linked.size(), TableReads{});
    for (std::size_t t = 0; t < linked.size(); ++t) {
        const ResolvedTable* table = linked[t];
        if (table == nullptr) continue;
        TableReads& reads = m_tables[t];
        reads.present = true;
        reads.definition = table->definition();
        reads.name = textOf(table->definition()->tableName());
        // A base that did not resolve counts by its error's text.
        reads.base = table->base().isNull() ? -1 : table->base()->index();
        if (table->base().isNull() && !table->baseResolution().isNull()) {
            reads.name += "\n" + std::string(table->baseResolution()->toString()->view());
        }
        reads.rows = table->rows();
        reads.nameField = table->nameField();
        reads.baseField = table->baseField();
        reads.headerCount = table->headerCount();
        reads.hasWarning = !table->warning().isNull();
        reads.fields.resize(static_cast<std::size_t>(table->fieldCount()));
        for (std::int32_t f = 0; f < table->fieldCount(); ++f) {
            FieldReads& field = reads.fields[static_cast<std::size_t>(f)];
            const Pointer<ResolvedField>& resolved = table->field(f);
            field.definition = resolved->definition();
            field.name = textOf(resolved->definition()->nameText());
            field.hasWarning = !resolved->warning().isNull();
            field.definesFunction = !table->signatureOf(f).isNull();
            // A function's cells hold the function, made anew by each link.
            field.unbounded = field.definesFunction;
        }
    }
}

void ProgramReads::formula(const ResolvedTable& table, std::int32_t field, std::int32_t rowKey,
                           const AbstractExpression& formula) {
    readFormula();
    m_formula = &formula;
    m_table = table.index();
    m_field = field;
    m_rowKey = rowKey;
    m_unbounded = false;
    m_names.clear();
}

void ProgramReads::finish(const std::vector<const ResolvedTable*>& linked) {
    readFormula();
    for (std::size_t t = 0; t < linked.size(); ++t) {
        const ResolvedTable* table = linked[t];
        if (table == nullptr) continue;
        auto& fields = m_tables[t].fields;
        for (std::int32_t f = 0; f < table->fieldCount(); ++f) {
            FieldReads& field = fields[static_cast<std::size_t>(f)];
            const CalculatorPointer& formula = table->calculatorAt(f, 0);
            if (!formula.isNull() && formula->isRange()) field.range = true;
            field.overridden = table->hasRowOverrides(f);
        }
    }
}

void ProgramReads::identifier(const LinkContext&, const IdentifierExpression& node,
                              NameResolution resolution) {
    m_names[&node] = resolution;
}

// The previous formula, now compiled: its names are resolved.
void ProgramReads::readFormula() {
    if (m_formula == nullptr) return;
    auto tableIndex = static_cast<std::size_t>(m_table);
    if (tableIndex >= m_tables.size()) return;
    TableReads& table = m_tables[tableIndex];
    if (m_field < 0 || static_cast<std::size_t>(m_field) >= table.fields.size()) return;
    FieldReads& field = table.fields[static_cast<std::size_t>(m_field)];
    field.formulas[m_rowKey] = ExpressionPointer(const_cast<AbstractExpression*>(m_formula));
    walk(*m_formula, true);
    if (m_unbounded) field.unbounded = true;
    m_formula = nullptr;
}

void ProgramReads::addRead(std::int32_t read, bool sameRow) {
    FieldReads& field =
        m_tables[static_cast<std::size_t>(m_table)].fields[static_cast<std::size_t>(m_field)];
    addOnce(sameRow ? field.sameRow : field.anyRow, read);
}

void ProgramReads::readName(const IdentifierExpression& node, bool sameRow) {
    using Kind = NameResolution::Kind;
    auto found = m_names.find(&node);
    if (found == m_names.end()) {
        m_unbounded = true;
        return;
    }
    NameResolution resolution = found->second;
    switch (resolution.kind) {
        case Kind::kField:
            addRead(resolution.index, sameRow);
            return;
        case Kind::kLibrary: {
            std::string_view name = node.name()->view();
            // The cell above or below in the field itself.
            if (name == "prev" || name == "next") addRead(m_field, false);
            if (name == "srand") m_unbounded = true;
            return;
        }
        case Kind::kColumn:
        case Kind::kUnresolved:
            return;
        default:
            m_unbounded = true;
    }
}

void ProgramReads::walkCall(const FuncExpression& node, bool sameRow) {
    std::string_view name = node.name()->view();
    std::int32_t count = node.arguments()->size();
    if (name == "col" && count == 0) return;
    // find, local tables and user functions are reported by the linker.
    if (name == "find" && count == 1) {
        m_unbounded = true;
        return;
    }
    bool scalar = !m_functions.findFunction(name, count).isNull();
    if (scalar && (name == "prev" || name == "next")) addRead(m_field, false);
    if (scalar && name == "srand") m_unbounded = true;
    // An aggregate reads its arguments in every row.
    for (const auto& argument : *node.arguments()) {
        if (!argument.isNull()) walk(*argument, sameRow && scalar);
    }
}

void ProgramReads::walk(const AbstractExpression& node, bool sameRow) {
    auto child = [&](const ExpressionPointer& expression, bool inRow) {
        if (!expression.isNull()) walk(*expression, inRow);
    };
    if (node.isInstanceOf(ValueExpression::typeId()) ||
        node.isInstanceOf(ErrorExpression::typeId())) {
        return;
    }
    if (node.isInstanceOf(IdentifierExpression::typeId())) {
        readName(static_cast<const IdentifierExpression&>(node), sameRow);
    } else if (node.isInstanceOf(ExpressionSource::typeId())) {
        child(static_cast<const ExpressionSource&>(node).expression(), sameRow);
    } else if (node.isInstanceOf(UnaryExpression::typeId())) {
        child(static_cast<const UnaryExpression&>(node).operand(), sameRow);
    } else if (node.isInstanceOf(BinaryExpression::typeId())) {
        const auto& binary = static_cast<const BinaryExpression&>(node);
        child(binary.left(), sameRow);
        child(binary.right(), sameRow);
    } else if (node.isInstanceOf(IfExpression::typeId())) {
        const auto& conditional = static_cast<const IfExpression&>(node);
        child(conditional.condition(), sameRow);
        child(conditional.thenPart(), sameRow);
        child(conditional.elsePart(), sameRow);
    } else if (node.isInstanceOf(FuncExpression::typeId())) {
        walkCall(static_cast<const FuncExpression&>(node), sameRow);
    } else if (node.isInstanceOf(RangeExpression::typeId())) {
        const auto& range = static_cast<const RangeExpression&>(node);
        child(range.from(), false);
        child(range.to(), false);
        child(range.step(), false);
        child(range.steps(), false);
    } else {
        // Dots, indexes, cells by name, selections, data ranges,
        // alternatives, assignments: their reach is not the formula's.
        m_unbounded = true;
    }
}

}  // namespace qv
