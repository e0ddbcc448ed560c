#include "views/EvalSingleModel.h"

#include <string>
#include "views/CellNames.h"

#include "kernel/ResultAccess.h"
#include "kernel/TableResultSlices.h"
#include "views/TableCells.h"

namespace qv {

EvalSingleModel::EvalSingleModel(Pointer<TableResult> table, Pointer<GlobalSettings> settings)
    : m_table(std::move(table)), m_settings(std::move(settings)) {
    m_flags[ShowVisible] = true;
    m_flags[ShowName] = true;
    layout();
}

bool EvalSingleModel::acceptValue(const Pointer<Object>& value) {
    Pointer<TableResult> table = cast<TableResult>(value);
    auto row = cast<TableResultRow>(value);
    if (!row.isNull()) table = row->table();
    if (table.isNull() || !table->name()->equals(m_table->name()->view())) return false;
    m_table = table;
    if (!row.isNull()) m_record = row->row();
    layout();
    return true;
}

bool EvalSingleModel::flag(std::int32_t index) const {
    return index >= 0 && index < FlagCount && m_flags[static_cast<std::size_t>(index)];
}

void EvalSingleModel::setFlag(std::int32_t index, bool value) {
    if (index >= 0 && index < FlagCount) m_flags[static_cast<std::size_t>(index)] = value;
}

void EvalSingleModel::setNumbering(bool on) {
    m_numbering = on;
    layout();
}

Pointer<PropertyList> EvalSingleModel::viewProperties() {
    return make<EvalSingleModelProperties>(Pointer<Object>(this), *this);
}

// The formula column follows the document setting; the view's own
// "show_expression" is kept but rules nothing.
void EvalSingleModel::layout() {
    m_columns.clear();
    if (m_numbering) m_columns.push_back(NumberColumn);
    if (flag(ShowName)) m_columns.push_back(NameColumn);
    if (m_settings->showFormula) m_columns.push_back(FormulaColumn);
    m_columns.push_back(ValueColumn);
    if (flag(ShowSummary)) m_columns.push_back(SummaryColumn);
    if (flag(ShowVisible)) m_columns.push_back(VisibleColumn);
}

std::int32_t EvalSingleModel::columnCount() {
    return static_cast<std::int32_t>(m_columns.size()) + 1;
}

StringPointer EvalSingleModel::title() {
    return m_table->name() + " - heading view";
}

std::int32_t EvalSingleModel::columnWidth(std::int32_t column) {
    static constexpr std::int32_t kWidths[] = {20, 100, 200, 100, 100, 50};
    if (column < 0 || column >= static_cast<std::int32_t>(std::size(kWidths))) return 0;
    return kWidths[column];
}

EvalSingleModel::ColumnKind EvalSingleModel::columnKind(std::int32_t column) const {
    if (column < 1 || column > static_cast<std::int32_t>(m_columns.size())) return NumberColumn;
    return m_columns[static_cast<std::size_t>(column - 1)];
}

Pointer<CellModel> EvalSingleModel::createCell(std::int32_t column, std::int32_t row) {
    static constexpr const char* kCaptions[] = {"",      "Name",    "Formula",
                                                "Value", "Summary", "Visible"};
    std::int32_t fields = m_table->fieldCount();
    if (column == 0) {
        if (row == 0) return make<LabelCell>(str(""));
        if (row > fields) return make<LabelCell>(str("*"));
        return make<LabelCell>(m_settings->spreadsheetLook ? str(std::to_string(row)) : str(""));
    }
    ColumnKind kind = columnKind(column);
    if (row == 0) return make<LabelCell>(str(kCaptions[kind]));
    if (row > fields) return newFieldCell(kind);
    return fieldCell(kind, row - 1);
}

std::optional<std::pair<std::int32_t, std::int32_t>> EvalSingleModel::positionOf(
    const CellPlace& place) {
    if (place.table != m_table->index() || place.field < 0 ||
        place.field >= m_table->fieldCount()) {
        return std::nullopt;
    }
    ColumnKind wanted = place.row == -1 ? SummaryColumn : ValueColumn;
    if (wanted == ValueColumn && place.row != m_record) return std::nullopt;
    for (std::int32_t column = 1; column < columnCount(); ++column) {
        if (columnKind(column) == wanted) return std::make_pair(column, place.field + 1);
    }
    return std::nullopt;
}

Pointer<CellModel> EvalSingleModel::fieldCell(ColumnKind kind, std::int32_t field) {
    switch (kind) {
        case NameColumn:
            return make<NameCell>(m_table, field);
        case FormulaColumn:
            return make<ExpressionCell>(m_table, field, 0);
        case ValueColumn:
            return make<ResultCell>(m_table, field, m_record);
        case SummaryColumn:
            return make<ResultCell>(m_table, field, -1);
        case VisibleColumn:
            return make<VisibleCell>(m_table, field);
        default:
            return make<LabelCell>(str(""));
    }
}

Pointer<CellModel> EvalSingleModel::newFieldCell(ColumnKind kind) {
    auto target = kind == NameColumn      ? EmptyCell::Target::Name
                  : kind == FormulaColumn ? EmptyCell::Target::Formula
                                          : EmptyCell::Target::Nothing;
    return make<EmptyCell>(m_table, -1, 0, target);
}

StringPointer EvalSingleModel::cellAddress(std::int32_t column, std::int32_t row) {
    ColumnKind kind = columnKind(column);
    if (column == 0 || row < 1 || row > m_table->fieldCount()) return str("");
    if (kind != FormulaColumn && kind != ValueColumn) return str("");
    std::int32_t field = row - 1;
    StringPointer name = m_table->fieldName(field);
    std::string text = "[" + std::to_string(m_record) + "]";
    text += name->length() > 0 ? "." + name->toStdString() : "[" + std::to_string(field) + "]";
    return str(text);
}

ProgramDef* EvalSingleModel::editedProgram() {
    return m_table->definition()->owner();
}

std::string EvalSingleModel::cellName(std::int32_t column, std::int32_t row) {
    std::string table = m_table->name()->toStdString();
    std::int32_t fields = m_table->fieldCount();
    std::string caption = createCell(column, 0)->text()->toStdString();
    if (row == 0) return table + ", " + caption;
    std::string field = row > fields ? "new field" : m_table->fieldName(row - 1)->toStdString();
    if (column == 0) return table + " " + field;
    switch (columnKind(column)) {
        case ValueColumn:
            return table + " " + recordName(*m_table, m_record) + ", " + field;
        case SummaryColumn:
            return table + " " + recordName(*m_table, -1) + ", " + field;
        default:
            return table + " " + field + ", " + caption;
    }
}

}  // namespace qv
