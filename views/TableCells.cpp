#include "views/TableCells.h"

#include "core/Errors.h"
#include "core/ValueConversions.h"
#include "core/Values.h"
#include "core/Warning.h"
#include "kernel/ResolvedTable.h"
#include "kernel/ValueKinds.h"
#include "language/AbstractExpression.h"
#include "language/ExpressionParser.h"
#include "language/FieldDef.h"
#include "language/ParseResult.h"
#include "language/TableDef.h"

namespace qv {

StringPointer ResultCell::text() {
    return toText(m_table->displayValue(m_field, m_record, true));
}

StringPointer ResultCell::editText() {
    return toText(m_table->value(m_field, m_record));
}

bool ResultCell::isError() {
    return valueKind(*m_table->value(m_field, m_record).object()) == ValueKind::Error;
}

// The shown value decides: a hidden repeat shows "..." over a plain value.
bool ResultCell::isSpecial() {
    return valueKind(*m_table->displayValue(m_field, m_record, true).object()) ==
           ValueKind::Special;
}

std::optional<double> ResultCell::number() {
    Pointer<Object> value = m_table->displayValue(m_field, m_record, true);
    if (!is<Double>(value)) return std::nullopt;
    return static_cast<const Double&>(*value.object()).value();
}

Pointer<CellModel> ResultCell::formulaCell() {
    if (m_record < 0) return Pointer<CellModel>();
    return make<ExpressionCell>(m_table, m_field, m_record);
}

StringPointer ExpressionCell::text() {
    ExpressionPointer formula = m_table->resolved()->cellFormula(m_field, m_record);
    return formula.isNull() ? str("") : formula->editText();
}

void ExpressionCell::setText(const StringPointer& text) {
    m_table->setCellText(m_field, m_record, text);
}

StringPointer VisibleCell::text() {
    return str(m_table->isVisible(m_field) ? "true" : "false");
}

void VisibleCell::setText(const StringPointer& text) {
    StringPointer typed = text.isNull() ? str("") : text->trim();
    if (typed->equals("true")) setBoolean(true);
    if (typed->equals("false")) setBoolean(false);
}

// A new field is the definition's own: written straight into the new
// definition, since the linked table knows it only after the next link.
void EmptyCell::setText(const StringPointer& text) {
    if (m_target == Target::Nothing) return;
    if (m_field >= 0) {
        if (m_target == Target::Formula) m_table->setCellText(m_field, m_record, text);
        if (m_target == Target::Name) m_table->setFieldName(m_field, text);
        return;
    }
    m_table->insertField(-1);
    const Pointer<TableDef>& table = m_table->definition();
    Pointer<FieldDef> added = (*table->fields())[table->fields()->size() - 1];
    auto parser = make<ExpressionParser>();
    if (m_target == Target::Name) {
        Pointer<ParseResult> parsed = parser->parseFieldName(text);
        added->setName(parsed->failed() ? Pointer<Object>(text) : parsed->value());
        if (parsed->failed()) added->setWarning(parsed->error());
        return;
    }
    added->setFormula(m_record, parser->parseFormula(typedFormulaText(text)));
    if (m_record >= table->numRows()) table->setNumRows(m_record + 1);
}

}  // namespace qv
