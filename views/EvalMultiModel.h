// The detailed view of a table: records across, fields down. Each field
// takes one or two grid rows (its formula and its value), led by optional
// columns of field numbers, names and captions, and followed by the
// new-record and summary columns.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "kernel/TableResult.h"
#include "views/GlobalSettings.h"
#include "views/GridModel.h"
#include "views/ModelProperties.h"

namespace qv {

class EvalMultiModel final : public GridModel, public FlaggedModel {
    QV_OBJECT(EvalMultiModel, GridModel, "EvalMultiModel")
  public:
    enum Flag : std::int32_t {
        ShowExpression,
        ShowDefaultExpression,
        ShowColNum,
        ShowColNames,
        ShowRowNum,
        ShowExtraCol,
        ShowExtraRow,
        ShowResult,
        ShowSumRow,
        FlagCount
    };
    // Column kinds: leading 0 field numbers, 1 names, 2 captions; 3 a
    // record; trailing 4 the new record, 5 the summary record.
    enum ColumnKind : std::int32_t {
        NumberColumn,
        NameColumn,
        CaptionColumn,
        RecordColumn,
        NewRecordColumn,
        SummaryColumn
    };
    // Row kinds: sub-rows 2 formula and 3 value; header 6 record numbers.
    enum RowKind : std::int32_t { FormulaRow = 2, ValueRow = 3, RecordNumberRow = 6 };

    EvalMultiModel(Pointer<TableResult> table, Pointer<GlobalSettings> settings,
                   bool showDefaultExpression);

    const Pointer<TableResult>& table() const noexcept { return m_table; }
    // A recomputed result of the same table (by name) replaces the shown
    // one; the flags stay.
    bool acceptValue(const Pointer<Object>& value) override;

    StringPointer cellAddress(std::int32_t column, std::int32_t row) override;
    // The field and sub-row kind of a line, so a selection stays on its
    // field when the formula lines come and go.
    std::int32_t rowIdentity(std::int32_t row) override;
    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override;
    std::int32_t columnWidth(std::int32_t column) override;
    std::int32_t columnCount() override;
    std::int32_t rowCount() override;
    StringPointer title() override;
    std::int32_t leadingColumnCount() override {
        return static_cast<std::int32_t>(m_leading.size());
    }
    std::int32_t headerRowCount() override { return static_cast<std::int32_t>(m_header.size()); }
    // The optional leading columns present: field numbers and names.
    std::int32_t optionalColumnCount() const { return flag(ShowColNum) + flag(ShowColNames); }
    bool hasFieldNumberColumn() const { return flag(ShowColNum); }
    std::int32_t period() const { return static_cast<std::int32_t>(m_subRows.size()); }
    // "Loan row 12, closing": the table, the record as the header shows
    // it, the field.
    std::string cellName(std::int32_t column, std::int32_t row) override;
    void paste(ModelEditor& editor, std::int32_t column, std::int32_t row,
               std::string_view text) override;
    ProgramDef* editedProgram() override;
    std::optional<std::pair<std::int32_t, std::int32_t>> positionOf(
        const CellPlace& place) override;
    void layout() override;
    Pointer<PropertyList> viewProperties() override;

    bool flag(std::int32_t index) const override;
    void setFlag(std::int32_t index, bool value) override;

    ColumnKind columnKind(std::int32_t column);
    std::int32_t rowKind(std::int32_t row) const;
    // The row key a record column shows.
    std::int32_t recordOf(std::int32_t column) const;
    // The field index of a grid row below the header, -1 on the extra line.
    std::int32_t fieldOf(std::int32_t row) const;

  private:
    Pointer<CellModel> headerCell(ColumnKind kind, std::int32_t column);
    Pointer<CellModel> fieldRowCell(ColumnKind kind, std::int32_t column, std::int32_t row);

    void writeToken(ModelEditor& editor, ColumnKind startKind, std::int32_t column,
                    std::int32_t row, std::int32_t rows, std::string_view token);
    void writeTokens(ModelEditor& editor, ColumnKind startKind, std::int32_t column,
                     std::int32_t row, std::string_view text);

    Pointer<TableResult> m_table;
    Pointer<GlobalSettings> m_settings;
    std::array<bool, FlagCount> m_flags{};
    std::vector<ColumnKind> m_leading;
    std::vector<RowKind> m_header;
    std::vector<RowKind> m_subRows;
    std::vector<ColumnKind> m_trailing;
    std::int32_t m_extraColumns = 0;
};

}  // namespace qv
