// The editing operations of a table result. Each changes the model (the
// table's definition) and raises its change counter; the next read relinks
// and recomputes the whole program.
#include <algorithm>
#include <string>

#include "core/Errors.h"
#include "kernel/ProgramResult.h"
#include "kernel/RowLimits.h"
#include "kernel/TableResult.h"
#include "language/ExpressionParser.h"
#include "language/ProgramDef.h"
#include "language/StringStream.h"

namespace qv {

namespace {

// A typed text that is one number literal or the word true or false.
bool isPlainLiteral(const StringPointer& text) {
    try {
        auto stream = make<StringStream>(text);
        Pointer<Token> token = stream->next();
        bool literal = token->isNumber() || token->isWord("true") || token->isWord("false");
        return literal && stream->next()->code() == kEnd;
    } catch (const StringPointer&) {
        return false;
    }
}

}  // namespace

StringPointer toFormulaText(const StringPointer& text) {
    if (text.isNull() || text->length() == 0) return str("");
    char first = text->charAt(0);
    if (first == '=') return text->substring(1);
    if (first == '+' || first == '-') return text;
    return str("\"") + text + "\"";
}

void TableResult::touchModel() const {
    ProgramDef* program = definition()->owner();
    if (program != nullptr) program->touch();
}

void TableResult::setSort(std::int32_t field, bool descending) {
    definition()->setSort(field, descending);
    const Pointer<AbstractKernelFeedback>& feedback = m_results->options().feedback;
    if (!feedback.isNull()) feedback->computeStarted();
    orderRows();
    if (!feedback.isNull()) feedback->computeFinished();
}

void TableResult::setName(const StringPointer& text) {
    definition()->setTableName(text.isNull() ? str("") : text->trim());
    touchModel();
}

void TableResult::setBaseName(const StringPointer& text) {
    Pointer<ParseResult> parsed = make<ExpressionParser>()->parseIdentifier(text, "base name");
    definition()->setBaseName(cast<String>(parsed->value()));
    definition()->setBaseNameError(
        parsed->failed() ? Pointer<Object>(make<Warning>(parsed->error())) : Pointer<Object>());
    touchModel();
}

void TableResult::setFieldName(std::int32_t field, const StringPointer& text) {
    if (field < 0) return;
    if (overrides(field)) {
        throwMessage(
            "can not modify this cell because it contain a field name that is defined in base "
            "table.");
    }
    Pointer<FieldDef> definition = m_table->fieldForEdit(field);
    Pointer<ParseResult> parsed = make<ExpressionParser>()->parseFieldName(text);
    if (parsed->failed()) {
        // The text is kept as typed, so nothing the user wrote is lost.
        definition->setName(text.isNull() ? str("") : text->trim());
        definition->setWarning(parsed->error());
    } else {
        definition->setName(parsed->value());
        definition->setWarning(StringPointer());
    }
    touchModel();
}

void TableResult::setVisible(std::int32_t field, bool visible) {
    if (field < 0) return;
    m_table->fieldForEdit(field)->setVisible(visible ? 1 : 0);
    touchModel();
}

void TableResult::insertField(std::int32_t position) {
    const Pointer<TableDef>& table = definition();
    auto added = make<FieldDef>(table.get());
    std::int32_t target = position < 0 ? -1 : visibleField(position);
    if (target >= 0 && m_table->definesField(target)) {
        table->fields()->insert(m_table->field(target)->position(), added);
    } else if (target >= 0) {
        // Before an inherited column: the first of the table's own fields.
        table->fields()->insert(0, added);
    } else {
        table->fields()->add(added);
    }
    touchModel();
}

void TableResult::deleteField(std::int32_t field) {
    if (field < 0 || field >= fieldCount()) return;
    // The base table's field goes first, up the chain of overridden fields.
    std::vector<Pointer<FieldDef>> chain;
    for (Pointer<ResolvedField> resolved = m_table->field(field); !resolved.isNull();
         resolved = resolved->overridden()) {
        chain.push_back(resolved->definition());
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        TableDef* owner = (*it)->owner();
        if (owner == nullptr) continue;
        for (std::int32_t i = 0; i < owner->fieldCount(); ++i) {
            if (owner->field(i).get() == it->get()) {
                owner->fields()->remove(i);
                break;
            }
        }
    }
    touchModel();
}

// A row key past the rows a table may hold is refused rather than stored:
// the table could never show it, and its num_rows would overflow.
void TableResult::setCellFormula(std::int32_t field, std::int32_t row,
                                 const StringPointer& formula) {
    if (field < 0 || row < -1) return;
    if (row > kMaxRows) throwString(tooManyRowsMessage(row, kMaxRows));
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(formula);
    Pointer<FieldDef> definition = m_table->fieldForEdit(field);
    definition->setFormula(row, parsed);
    if (row >= this->definition()->numRows()) this->definition()->setNumRows(row + 1);
    touchModel();
}

StringPointer typedFormulaText(const StringPointer& text) {
    StringPointer typed = text.isNull() ? str("") : text->trim();
    if (typed->length() == 0 || isPlainLiteral(typed)) return typed;
    return toFormulaText(typed);
}

void TableResult::setCellText(std::int32_t field, std::int32_t row, const StringPointer& text) {
    setCellFormula(field, row, typedFormulaText(text));
}

// Inserting before row r moves the formulas of rows r, r + 1, ... of every
// field down by one; a row past the end appends one. The rows counted are
// the ones the table shows, its base table's included.
void TableResult::insertRow(std::int32_t row) {
    const Pointer<TableDef>& table = definition();
    std::int32_t rows = std::max(table->numRows(), m_table->rows());
    if (rows > kMaxRows) throwString(tooManyRowsMessage(rows, kMaxRows));
    row = std::clamp(row, 1, rows);
    for (const auto& field : *table->fields())
        field->expr()->shift(row, 1);
    table->setNumRows(rows + 1);
    touchModel();
}

// Deleting row r drops the formulas of that row and moves the later rows
// up. Rows that come from the base table stay: only this table's own
// formulas move.
void TableResult::deleteRow(std::int32_t row) {
    const Pointer<TableDef>& table = definition();
    if (row < 1 || row >= std::max(table->numRows(), m_table->rows())) return;
    for (const auto& field : *table->fields())
        field->expr()->remove(row, true);
    if (row < table->numRows()) table->setNumRows(table->numRows() - 1);
    touchModel();
}

}  // namespace qv
