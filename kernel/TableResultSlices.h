// The rows and columns of a table result as values formulas reach into:
// "table[i]" is a row, "table.field" by reference a column. They read the
// table result, so they sit above it, and so do the two table result
// operations that make them.
#pragma once

#include <cstdint>

#include "core/Pointer.h"
#include "kernel/ResultAccess.h"
#include "kernel/TableResult.h"

namespace qv {

// A row or a column of a table result: the table and one index into it.
class TableResultSlice : public AbstractResultGetter {
    QV_ABSTRACT_OBJECT(TableResultSlice, AbstractResultGetter)
  public:
    TableResultSlice(const Pointer<TableResult>& table, std::int32_t index)
        : m_table(table), m_index(index) {}
    const Pointer<TableResult>& table() const noexcept { return m_table; }
    TableResult* sourceTable() const noexcept override;

  protected:
    Pointer<TableResult> m_table;
    std::int32_t m_index;
};

// One row of a table result: "." reads a field of that row, "[i]" the i-th
// field after the marker fields. Prints as "Tuple".
class TableResultRow final : public TableResultSlice {
    QV_OBJECT(TableResultRow, TableResultSlice, "TableResultRow")
  public:
    using TableResultSlice::TableResultSlice;
    std::int32_t row() const noexcept { return m_index; }

    Pointer<Object> getByIdentifier(ResultEvaluatable& context, std::int32_t identifier) override;
    Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) override;
    bool hasIndex(std::int32_t index) override;
    std::int32_t extent() override;
    StringPointer toString() const override;
};

// One column of a table result: "[i]" reads row i of that field.
class TableResultCol final : public TableResultSlice {
    QV_OBJECT(TableResultCol, TableResultSlice, "TableResultCol")
  public:
    using TableResultSlice::TableResultSlice;
    std::int32_t field() const noexcept { return m_index; }

    Pointer<Object> getByIdentifier(ResultEvaluatable& context, std::int32_t identifier) override;
    Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) override;
    bool hasIndex(std::int32_t index) override;
    std::int32_t extent() override;
    StringPointer toString() const override;
};

}  // namespace qv
