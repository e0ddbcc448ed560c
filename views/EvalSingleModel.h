// The heading view of a table: one line per field with its name, formula,
// value in one record, summary and visibility, and a last line for a new
// field.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "kernel/TableResult.h"
#include "views/GlobalSettings.h"
#include "views/GridModel.h"
#include "views/ModelProperties.h"

namespace qv {

class EvalSingleModel final : public GridModel, public FlaggedModel {
    QV_OBJECT(EvalSingleModel, GridModel, "EvalSingleModel")
  public:
    enum Flag : std::int32_t { ShowExpression, ShowSummary, ShowVisible, ShowName, FlagCount };
    enum ColumnKind : std::int32_t {
        NumberColumn,
        NameColumn,
        FormulaColumn,
        ValueColumn,
        SummaryColumn,
        VisibleColumn
    };

    EvalSingleModel(Pointer<TableResult> table, Pointer<GlobalSettings> settings);

    const Pointer<TableResult>& table() const noexcept { return m_table; }
    // A recomputed result of the same table (by name), or one of its rows
    // (the value of "T[i]"), whose record the view then shows; the flags
    // stay.
    bool acceptValue(const Pointer<Object>& value) override;
    // The record whose values the view shows.
    std::int32_t record() const noexcept { return m_record; }
    void setRecord(std::int32_t record) { m_record = record; }
    void setNumbering(bool on);

    StringPointer cellAddress(std::int32_t column, std::int32_t row) override;
    // "Loan row 12, closing" for a value; the field and the caption for
    // the other columns.
    std::string cellName(std::int32_t column, std::int32_t row) override;
    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override;
    std::int32_t columnWidth(std::int32_t column) override;
    std::int32_t columnCount() override;
    std::int32_t rowCount() override { return m_table->fieldCount() + 2; }
    StringPointer title() override;
    void layout() override;
    ProgramDef* editedProgram() override;
    // The value column for the record shown, the summary column for the
    // summary record; the field's line.
    std::optional<std::pair<std::int32_t, std::int32_t>> positionOf(
        const CellPlace& place) override;
    Pointer<PropertyList> viewProperties() override;

    bool flag(std::int32_t index) const override;
    void setFlag(std::int32_t index, bool value) override;

    // The kind of a grid column; column 0 is the row labels.
    ColumnKind columnKind(std::int32_t column) const;

  private:
    Pointer<CellModel> fieldCell(ColumnKind kind, std::int32_t field);
    Pointer<CellModel> newFieldCell(ColumnKind kind);

    Pointer<TableResult> m_table;
    Pointer<GlobalSettings> m_settings;
    std::array<bool, FlagCount> m_flags{};
    bool m_numbering = false;
    std::int32_t m_record = 0;
    std::vector<ColumnKind> m_columns;
};

}  // namespace qv
