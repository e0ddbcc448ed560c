#include "views/EvalMultiModel.h"

#include <string>
#include "views/CellNames.h"

#include "kernel/ResolvedTable.h"
#include "views/TableCells.h"

namespace qv {

EvalMultiModel::EvalMultiModel(Pointer<TableResult> table, Pointer<GlobalSettings> settings,
                               bool showDefaultExpression)
    : m_table(std::move(table)), m_settings(std::move(settings)) {
    m_flags[ShowDefaultExpression] = showDefaultExpression;
    m_flags[ShowColNames] = true;
    m_flags[ShowRowNum] = true;
    m_flags[ShowExtraCol] = true;
    m_flags[ShowExtraRow] = true;
    m_flags[ShowResult] = true;
    m_flags[ShowSumRow] = true;
    layout();
}

bool EvalMultiModel::acceptValue(const Pointer<Object>& value) {
    auto table = cast<TableResult>(value);
    if (table.isNull() || !table->name()->equals(m_table->name()->view())) return false;
    m_table = table;
    layout();
    return true;
}

bool EvalMultiModel::flag(std::int32_t index) const {
    return index >= 0 && index < FlagCount && m_flags[static_cast<std::size_t>(index)];
}

void EvalMultiModel::setFlag(std::int32_t index, bool value) {
    if (index >= 0 && index < FlagCount) m_flags[static_cast<std::size_t>(index)] = value;
}

Pointer<PropertyList> EvalMultiModel::viewProperties() {
    return make<EvalMultiModelProperties>(Pointer<Object>(this), *this);
}

void EvalMultiModel::layout() {
    // The document settings rule these four, whatever was set on the view.
    m_flags[ShowColNum] = m_settings->spreadsheetLook;
    m_flags[ShowExpression] = m_settings->showFormula;
    m_flags[ShowDefaultExpression] = m_settings->zeroRow;
    m_flags[ShowSumRow] = m_settings->summaryRow;

    m_header.clear();
    if (flag(ShowRowNum)) m_header.push_back(RecordNumberRow);
    m_subRows.clear();
    if (flag(ShowExpression)) m_subRows.push_back(FormulaRow);
    if (flag(ShowResult) || m_subRows.empty()) m_subRows.push_back(ValueRow);
    m_leading.clear();
    if (flag(ShowColNum)) m_leading.push_back(NumberColumn);
    if (flag(ShowColNames)) m_leading.push_back(NameColumn);
    if (period() > 1) m_leading.push_back(CaptionColumn);
    m_trailing.clear();
    if (flag(ShowExtraRow)) m_trailing.push_back(NewRecordColumn);
    if (flag(ShowSumRow)) m_trailing.push_back(SummaryColumn);
    m_extraColumns = static_cast<std::int32_t>(m_leading.size() + m_trailing.size()) -
                     (flag(ShowDefaultExpression) ? 0 : 1);
}

std::int32_t EvalMultiModel::columnCount() {
    return m_table->rowCount() + m_extraColumns;
}

std::int32_t EvalMultiModel::rowCount() {
    std::int32_t lines = m_table->visibleCount() + (flag(ShowExtraCol) ? 1 : 0);
    return lines * period() + headerRowCount();
}

StringPointer EvalMultiModel::title() {
    return m_table->name() + " - detailed view";
}

std::int32_t EvalMultiModel::columnWidth(std::int32_t column) {
    return column == 0 && flag(ShowRowNum) ? 20 : 70;
}

EvalMultiModel::ColumnKind EvalMultiModel::columnKind(std::int32_t column) {
    auto leading = static_cast<std::int32_t>(m_leading.size());
    if (column < leading) return m_leading[static_cast<std::size_t>(column)];
    std::int32_t trailingStart = columnCount() - static_cast<std::int32_t>(m_trailing.size());
    if (column >= trailingStart)
        return m_trailing[static_cast<std::size_t>(column - trailingStart)];
    return RecordColumn;
}

std::int32_t EvalMultiModel::recordOf(std::int32_t column) const {
    std::int32_t position = column - static_cast<std::int32_t>(m_leading.size()) +
                            (flag(ShowDefaultExpression) ? 0 : 1);
    return m_table->displayRow(position);
}

std::int32_t EvalMultiModel::rowKind(std::int32_t row) const {
    std::int32_t headers = static_cast<std::int32_t>(m_header.size());
    if (row < headers) return m_header[static_cast<std::size_t>(row)];
    return m_subRows[static_cast<std::size_t>((row - headers) % period())];
}

std::int32_t EvalMultiModel::fieldOf(std::int32_t row) const {
    std::int32_t headers = static_cast<std::int32_t>(m_header.size());
    if (row < headers) return -1;
    return m_table->visibleField((row - headers) / period());
}

// The value line of the field (a formula line when values are hidden) and
// the record's column; a search, since sorting may put a record anywhere.
std::optional<std::pair<std::int32_t, std::int32_t>> EvalMultiModel::positionOf(
    const CellPlace& place) {
    if (place.table != m_table->index()) return std::nullopt;
    std::int32_t row = -1;
    for (std::int32_t at = headerRowCount(); at < rowCount(); ++at) {
        if (fieldOf(at) != place.field) continue;
        if (row < 0 || rowKind(at) == ValueRow) row = at;
    }
    if (row < 0) return std::nullopt;
    for (std::int32_t column = 0; column < columnCount(); ++column) {
        ColumnKind kind = columnKind(column);
        bool found = place.row == -1 ? kind == SummaryColumn
                                     : kind == RecordColumn && recordOf(column) == place.row;
        if (found) return std::make_pair(column, row);
    }
    return std::nullopt;
}

std::int32_t EvalMultiModel::rowIdentity(std::int32_t row) {
    std::int32_t headers = headerRowCount();
    if (row < headers) return -1 - row;
    std::int32_t line = (row - headers) / period();
    return line * 2 + (rowKind(row) == FormulaRow ? 0 : 1);
}

Pointer<CellModel> EvalMultiModel::createCell(std::int32_t column, std::int32_t row) {
    ColumnKind kind = columnKind(column);
    if (row < headerRowCount()) return headerCell(kind, column);
    return fieldRowCell(kind, column, row);
}

Pointer<CellModel> EvalMultiModel::headerCell(ColumnKind kind, std::int32_t column) {
    switch (kind) {
        case NameColumn:
            return make<CornerNameCell>(m_table->name());
        case RecordColumn: {
            // Records with names show them, as qvl prints them; the others
            // their numbers.
            std::int32_t record = recordOf(column);
            if (record == 0) return make<LabelCell>(str(""));
            if (m_table->resolved()->nameField() >= 0)
                return make<LabelCell>(m_table->rowLabel(record));
            return make<LabelCell>(str(std::to_string(record)));
        }
        case NewRecordColumn:
            return make<LabelCell>(str("*"));
        default:
            return make<LabelCell>(str(""));
    }
}

Pointer<CellModel> EvalMultiModel::fieldRowCell(ColumnKind kind, std::int32_t column,
                                                std::int32_t row) {
    std::int32_t field = fieldOf(row);
    bool formula = rowKind(row) == FormulaRow;
    auto target = formula ? EmptyCell::Target::Formula : EmptyCell::Target::Nothing;
    switch (kind) {
        case NumberColumn:
            return make<LabelCell>(field < 0 ? str("*")
                                             : str(std::to_string(m_table->columnNumber(field))));
        case NameColumn:
            if (field < 0) return make<EmptyCell>(m_table, -1, 0, EmptyCell::Target::Name);
            return make<NameCell>(m_table, field);
        case CaptionColumn:
            return make<LabelCell>(str(formula ? "Formula" : "Value"));
        case RecordColumn: {
            std::int32_t record = recordOf(column);
            if (field < 0) return make<EmptyCell>(m_table, -1, record, EmptyCell::Target::Formula);
            if (formula) return make<ExpressionCell>(m_table, field, record);
            return make<ResultCell>(m_table, field, record);
        }
        case NewRecordColumn:
            // A value typed there becomes the new record's formula for the field.
            return make<EmptyCell>(m_table, field, m_table->rowCount(), EmptyCell::Target::Formula);
        case SummaryColumn:
            if (field < 0) return make<EmptyCell>(m_table, -1, -1, target);
            return make<ResultCell>(m_table, field, -1);
    }
    return make<LabelCell>(str(""));
}

StringPointer EvalMultiModel::cellAddress(std::int32_t column, std::int32_t row) {
    if (row < headerRowCount()) return str("");
    ColumnKind kind = columnKind(column);
    std::int32_t field = fieldOf(row);
    if (field < 0 || (kind != RecordColumn && kind != SummaryColumn)) return str("");
    std::int32_t record = kind == SummaryColumn ? -1 : recordOf(column);
    std::string text = record == -1  ? "[sum]"
                       : record == 0 ? "[base]"
                                     : "[" + std::to_string(record) + "]";
    StringPointer name = m_table->fieldName(field);
    text += name->length() > 0 ? "." + name->toStdString() : "[" + std::to_string(field) + "]";
    return str(text);
}

ProgramDef* EvalMultiModel::editedProgram() {
    return m_table->definition()->owner();
}

std::string EvalMultiModel::cellName(std::int32_t column, std::int32_t row) {
    std::string table = m_table->name()->toStdString();
    ColumnKind kind = columnKind(column);
    if (row < headerRowCount()) {
        if (kind == RecordColumn) return table + " " + recordName(*m_table, recordOf(column));
        return table + ", " + createCell(column, row)->text()->toStdString();
    }
    std::int32_t field = fieldOf(row);
    std::string fieldName = field < 0 ? "new field" : m_table->fieldName(field)->toStdString();
    switch (kind) {
        case NumberColumn:
            return table + " " + fieldName + ", number";
        case NameColumn:
            return table + " " + fieldName + ", name";
        case CaptionColumn:
            return table + " " + fieldName + ", caption";
        case RecordColumn:
        case NewRecordColumn:
        case SummaryColumn:
            break;
    }
    std::int32_t record = kind == SummaryColumn     ? -1
                          : kind == NewRecordColumn ? m_table->rowCount()
                                                    : recordOf(column);
    std::string name =
        table + " " +
        (kind == NewRecordColumn ? std::string("new row") : recordName(*m_table, record)) + ", " +
        fieldName;
    return rowKind(row) == FormulaRow ? name + " formula" : name;
}

}  // namespace qv
