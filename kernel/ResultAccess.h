// Accessible results: values that formulas can reach into with "." and
// "[...]" — table results, their rows and columns, local-table and select
// results. Each hands out an adapter with the five access operations.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class ResultEvaluatable;
class TableResult;

class AbstractResultAdapter {
  public:
    virtual ~AbstractResultAdapter() = default;
    virtual Pointer<Object> getByIdentifier(ResultEvaluatable& context,
                                            std::int32_t identifier) = 0;
    virtual Pointer<Object> getByIdentifierReference(ResultEvaluatable& context,
                                                     std::int32_t identifier) {
        return getByIdentifier(context, identifier);
    }
    virtual Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) = 0;
    virtual bool hasIndex(std::int32_t index) = 0;
    virtual std::int32_t extent() = 0;
};

class AbstractResultGetter : public Object, public AbstractResultAdapter {
    QV_ABSTRACT_OBJECT(AbstractResultGetter, Object)
  public:
    virtual AbstractResultAdapter& adapter() { return *this; }
    // The table result whose cells this value reads (itself, the table of a
    // row or column, the source of a selection), so that releasing cells
    // reaches it without knowing every kind of value; null for none.
    virtual TableResult* sourceTable() const noexcept { return nullptr; }
};

// The adapter of a value, or null when it is not an accessible result.
AbstractResultAdapter* adapterOf(const Pointer<Object>& value);

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
