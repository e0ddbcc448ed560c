// TableResult: the computed cells of one table — a matrix of values by field
// and row key, the show flags, the per-row information and the display
// order — and the operations through which views read a table. A result
// only reads: every edit of the model goes through the model editor.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/Number.h"
#include "core/TVector.h"
#include "kernel/CellValues.h"
#include "kernel/Evaluator.h"
#include "kernel/KernelFeedback.h"
#include "kernel/ResolvedTable.h"
#include "kernel/ResultAccess.h"
#include "kernel/RowLimits.h"

namespace qv {

class ProgramResult;
class Kernel;
struct StaleCells;

// The fields whose value in one row is a compound value (a table result, a
// plot), for the detail views.
class RowInfo final : public Object {
    QV_OBJECT(RowInfo, Object, "RowInfo")
  public:
    std::vector<std::int32_t> compoundFields;
    std::int32_t flags = 0;
};

class TableResult : public AbstractResultGetter {
    QV_OBJECT(TableResult, AbstractResultGetter, "TableResult")
  public:
    // `options` are the computation's, given when the result is made;
    // `rowCap` lowers the row keys the result holds (a program-wide budget).
    TableResult(ProgramResult& results, ResultOptions options, const Pointer<ResolvedTable>& table,
                std::int32_t index, std::int64_t rowCap = kMaxRows + 1);

    ProgramResult& results() const noexcept { return *m_results; }
    const ResultOptions& options() const noexcept { return m_options; }
    TableResult* sourceTable() const noexcept override { return const_cast<TableResult*>(this); }
    const Pointer<ResolvedTable>& resolved() const noexcept { return m_table; }
    const Pointer<TableDef>& definition() const noexcept { return m_table->definition(); }
    std::int32_t index() const noexcept { return m_index; }
    // Releases every cell value, and the cells of the local tables, rows,
    // columns and selections those values lead to, so reference cycles
    // through cells end.
    void releaseCells();
    // Unique among all table results ever made in this run.
    std::int64_t serial() const noexcept { return m_serial; }
    // Moves when cells computed so far were dropped (after row generation),
    // so that whatever was derived from them is derived again.
    std::int32_t cellEpoch() const noexcept { return m_cellEpoch; }

    // Cells: row keys -1 ... rowCount() - 1.
    virtual std::int32_t rowCount() const noexcept { return m_cells.rows(); }
    std::int32_t fieldCount() const noexcept { return m_table->fieldCount(); }
    // A stored cell (the null object when not computed), numbers boxed.
    Pointer<Object> cachedCell(std::int32_t field, std::int32_t row) const {
        return m_cells.at(field, row);
    }
    bool cellIsEmpty(std::int32_t field, std::int32_t row) const noexcept {
        return m_cells.isEmpty(field, row);
    }
    // A stored cell without boxing: the object unless it is a number (then
    // the null object), for tests of kind that no number passes; the number.
    Object* cachedCellUnlessNumber(std::int32_t field, std::int32_t row) const noexcept {
        return m_cells.objectUnlessNumber(field, row);
    }
    bool cachedNumber(std::int32_t field, std::int32_t row, double& number) const noexcept {
        return m_cells.numberAt(field, row, number);
    }
    // A stored cell at one look: null for a number kept unboxed (given in
    // `number`), else the object (the null object when not computed).
    Object* peekCell(std::int32_t field, std::int32_t row, double& number) const noexcept {
        return m_cells.peek(field, row, number);
    }
    void prefetchCell(std::int32_t field, std::int32_t row) const noexcept {
        m_cells.prefetch(field, row);
    }
    void storeCell(std::int32_t field, std::int32_t row, const Pointer<Object>& value) {
        m_cells.set(field, row, value);
    }
    void copyCell(std::int32_t field, std::int32_t fromRow, std::int32_t toRow) {
        m_cells.copy(field, fromRow, toRow);
    }
    // The cache of the decision whether a field's value may differ by row.
    Object* cachedVariesByRow(std::int32_t field) const noexcept;
    void storeVariesByRow(std::int32_t field, const Pointer<Object>& value);
    // The calculator of a cell of this result.
    virtual const CalculatorPointer& calculatorAt(std::int32_t field, std::int32_t row) const {
        return m_table->calculatorAt(field, row);
    }

    // The computation passes, run by the program result over all tables.
    // Inside a computation (a local table) a pass stops at a cycle met while
    // an alternative is pending and returns the raised marker.
    Pointer<Object> evaluateRanges(Evaluator& evaluator);
    void generateRows(Evaluator& evaluator);
    Pointer<Object> fillCells(Evaluator& evaluator);
    void orderRows();

    // After an edit that kept the table's shape: the new link's table, then
    // the stale cells of every table forgotten before any is computed again
    // (a stale cell may read another), then computed as the fill pass does.
    void relink(const Pointer<ResolvedTable>& table);
    void forgetStale(std::int32_t field, const StaleCells& stale);
    Pointer<Object> refillStale(std::int32_t field, const StaleCells& stale, Evaluator& evaluator);
    // The rows the range fields generated (0 for none), and whether the
    // program's budget of cells cut the table's rows.
    std::int64_t generatedRows() const noexcept { return m_generatedRows; }
    bool overBudget() const noexcept { return m_overBudget; }

    // Reading.
    virtual Pointer<Object> value(std::int32_t field, std::int32_t row);
    // The warning the readers of cell (field, row) share when it holds
    // `error`, an error that began there, for a table whose cells are no
    // cells of the results (a local table's); the null object otherwise.
    [[gnu::cold]] virtual Pointer<Object> readersWarning(std::int32_t /*field*/,
                                                         std::int32_t /*row*/,
                                                         const Pointer<Object>& /*error*/) {
        return {};
    }
    Pointer<Object> displayValue(std::int32_t field, std::int32_t row, bool elide);
    StringPointer rowLabel(std::int32_t row);
    virtual std::int32_t displayRow(std::int32_t position) const;
    // num_rows - 1, within the rows a table may hold.
    std::int32_t dataRowCount() const;
    std::int32_t columnNumber(std::int32_t field) const {
        return field - m_table->headerCount() + 1;
    }
    bool overrides(std::int32_t field) const;
    bool isMarkerOrRange(std::int32_t field);
    Pointer<Object> warning() const;
    StringPointer header() const { return definition()->writeHeader(); }
    StringPointer name() const;
    StringPointer baseName() const;
    std::int32_t baseFieldCount() const;
    std::int32_t ownVisibleCount() const { return m_table->ownVisibleCount(); }
    bool isVisible(std::int32_t field) const;
    std::int32_t visibleCount() const {
        return static_cast<std::int32_t>(m_table->visibleFields().size());
    }
    std::int32_t visibleField(std::int32_t position) const;
    StringPointer fieldName(std::int32_t field) const;
    // What a cell of a field defining a user function shows: "(Function def)"
    // where the function has a body, else the empty String; the null object
    // for any other field.
    Pointer<Object> functionDefinition(std::int32_t field, std::int32_t row) const;
    // The name a row is addressed by: the name form of the name marker's
    // formula in that row; the empty String when it has none.
    StringPointer rowName(std::int32_t row) const;
    const Pointer<RowInfo>& rowInfo(std::int32_t row) const;
    bool isShown(std::int32_t field, std::int32_t row);
    // Whether a field's cells are computed by their calculators alone: not
    // a field the linker refused, the name marker or a function's field.
    bool isPlainField(std::int32_t field) const;
    virtual std::int32_t sortField() const { return definition()->sortField(); }
    virtual bool sortDescending() const { return definition()->sortDescending(); }

    // Access from formulas.
    Pointer<Object> getByIdentifier(ResultEvaluatable& context, std::int32_t identifier) override;
    Pointer<Object> getByIdentifierReference(ResultEvaluatable& context,
                                             std::int32_t identifier) override;
    Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) override;
    bool hasIndex(std::int32_t index) override;
    std::int32_t extent() override;

    StringPointer toString() const override;

  protected:
    void growRows(std::int32_t rows);
    Pointer<Object> computeCell(std::int32_t field, std::int32_t row, Evaluator& evaluator);
    // computeCell for the fill passes: a cell whose formula is arithmetic
    // on numbers already computed is stored without the evaluator's round.
    Pointer<Object> fillCell(std::int32_t field, std::int32_t row, bool plainField,
                             Evaluator& evaluator);

  private:
    void forgetEarlyCells();
    void fillFunctionDefinitions();
    bool isCompound(const Object& value) const;

    ProgramResult* m_results;  // not owning: the program result owns its tables
    ResultOptions m_options;
    Pointer<ResolvedTable> m_table;
    CellValues m_cells;
    // Per field rather than per cell: a cell is shown (computed on its own)
    // when it is the summary or formula row, has a formula of its own, or
    // its field's value may differ by row.
    std::vector<Pointer<Object>> m_variesByRow;
    std::vector<Pointer<RowInfo>> m_rowInfos;
    std::vector<std::int32_t> m_displayOrder;
    std::int32_t m_index;
    std::int64_t m_serial;
    bool m_overBudget = false;
    std::int64_t m_generatedRows = 0;
    bool m_released = false;
    std::int32_t m_cellEpoch = 0;
    // isPlainField by field, decided on the first question after each link.
    enum : std::int8_t { kUnknown, kPlain, kNotPlain };
    mutable std::vector<std::int8_t> m_plainFields;
};

}  // namespace qv
