#include "views/TableCells.h"

#include "core/ValueConversions.h"
#include "core/Values.h"
#include "core/Warning.h"
#include "kernel/NameTarget.h"
#include "kernel/ResolvedField.h"
#include "kernel/ResolvedTable.h"
#include "kernel/ValueKinds.h"
#include "language/AbstractExpression.h"

namespace qv {

std::optional<std::string> FieldCell::rowName() const {
    if (m_record <= 0 || m_field != m_table->resolved()->nameField()) return std::nullopt;
    ExpressionPointer formula = m_table->resolved()->formulaOf(m_field, m_record);
    StringPointer name = formula.isNull() ? StringPointer() : formula->nameText();
    if (name.isNull() || name->length() == 0) return std::nullopt;
    return name->toStdString();
}

std::string FieldCell::nameTarget() {
    StringPointer table = m_table->name();
    StringPointer field = m_table->fieldName(m_field);
    if (table.isNull() || field.isNull() || field->length() == 0) return {};
    NameTarget target;
    target.kind = NameTarget::Kind::kField;
    target.table = table->toStdString();
    target.name = field->toStdString();
    if (std::optional<std::string> row = rowName()) {
        target.kind = NameTarget::Kind::kRow;
        target.name = *row;
    }
    return target.label();
}

bool NameCell::holdsName() {
    if (m_field < 0 || m_field >= m_table->fieldCount()) return false;
    return m_table->resolved()->field(m_field)->definition()->warning().isNull();
}

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

void ExpressionCell::setText(ModelEditor& editor, const StringPointer& text) {
    editor.setCellText(*m_table, m_field, m_record, text);
}

StringPointer VisibleCell::text() {
    return str(m_table->isVisible(m_field) ? "true" : "false");
}

void VisibleCell::setText(ModelEditor& editor, const StringPointer& text) {
    StringPointer typed = text.isNull() ? str("") : text->trim();
    if (typed->equals("true")) setBoolean(editor, true);
    if (typed->equals("false")) setBoolean(editor, false);
}

void EmptyCell::setText(ModelEditor& editor, const StringPointer& text) {
    if (m_target == Target::Nothing) return;
    if (m_field >= 0) {
        if (m_target == Target::Formula) editor.setCellText(*m_table, m_field, m_record, text);
        if (m_target == Target::Name) editor.setFieldName(*m_table, m_field, text);
        return;
    }
    editor.addField(
        *m_table,
        m_target == Target::Name ? ModelEditor::NewField::Name : ModelEditor::NewField::Formula,
        m_record, text);
}

}  // namespace qv
