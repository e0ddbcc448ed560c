// SelectTableResult: the value of "select * from T where c" — the formula
// row of T followed by every data row of T for which the condition holds,
// with every operation delegated to T's result with the rows mapped; and
// SelectTableCol, one column of a selection.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "kernel/AbstractCalculator.h"
#include "kernel/ResultAccess.h"
#include "kernel/TableResult.h"

namespace qv {

class SelectTableResult final : public AbstractResultGetter {
    QV_OBJECT(SelectTableResult, AbstractResultGetter, "SelectTableResult")
  public:
    // Selects with the condition read in each source row (left operands of
    // comparisons) and in the calling cell (right operands): the selection,
    // or the raised marker of a condition that failed.
    static Pointer<Object> select(const Pointer<TableResult>& source,
                                  const CalculatorPointer& condition, ResultEvaluatable& caller);
    // `selected` starts with the formula row 0.
    SelectTableResult(const Pointer<TableResult>& source, std::vector<std::int32_t> selected)
        : m_source(source), m_selected(std::move(selected)) {}

    const Pointer<TableResult>& source() const noexcept { return m_source; }
    TableResult* sourceTable() const noexcept override { return m_source.get(); }
    std::int32_t rowCount() const noexcept { return static_cast<std::int32_t>(m_selected.size()); }
    // The source row of a row of the selection (the summary row maps to itself).
    std::int32_t sourceRow(std::int32_t row) const;
    Pointer<Object> value(std::int32_t field, std::int32_t row);
    StringPointer rowLabel(std::int32_t row);
    std::int32_t displayRow(std::int32_t position) const { return position; }

    Pointer<Object> getByIdentifier(ResultEvaluatable& context, std::int32_t identifier) override;
    Pointer<Object> getByIdentifierReference(ResultEvaluatable& context,
                                             std::int32_t identifier) override;
    Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) override;
    bool hasIndex(std::int32_t index) override;
    std::int32_t extent() override { return rowCount() - 1; }
    StringPointer toString() const override { return str("(select)"); }

  private:
    Pointer<TableResult> m_source;
    std::vector<std::int32_t> m_selected;
};

// One column of a selection: "[i]" reads the field in the i-th selected row.
class SelectTableCol final : public AbstractResultGetter {
    QV_OBJECT(SelectTableCol, AbstractResultGetter, "SelectTableCol")
  public:
    SelectTableCol(const Pointer<SelectTableResult>& selection, std::int32_t field)
        : m_selection(selection), m_field(field) {}
    const Pointer<SelectTableResult>& selection() const noexcept { return m_selection; }
    TableResult* sourceTable() const noexcept override { return m_selection->sourceTable(); }

    Pointer<Object> getByIdentifier(ResultEvaluatable& context, std::int32_t identifier) override;
    Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) override;
    bool hasIndex(std::int32_t index) override { return m_selection->hasIndex(index); }
    std::int32_t extent() override { return m_selection->extent(); }
    StringPointer toString() const override;

  private:
    Pointer<SelectTableResult> m_selection;
    std::int32_t m_field;
};

}  // namespace qv
