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
};

// The adapter of a value, or null when it is not an accessible result.
AbstractResultAdapter* adapterOf(const Pointer<Object>& value);

// One row of a table result: "." reads a field of that row, "[i]" the i-th
// field after the marker fields. Prints as "Tuple".
class TableResultRow final : public AbstractResultGetter {
    QV_OBJECT(TableResultRow, AbstractResultGetter, "TableResultRow")
  public:
    TableResultRow(const Pointer<TableResult>& table, std::int32_t row)
        : m_table(table), m_row(row) {}
    const Pointer<TableResult>& table() const noexcept { return m_table; }
    std::int32_t row() const noexcept { return m_row; }

    Pointer<Object> getByIdentifier(ResultEvaluatable& context, std::int32_t identifier) override;
    Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) override;
    bool hasIndex(std::int32_t index) override;
    std::int32_t extent() override;
    StringPointer toString() const override;

  private:
    Pointer<TableResult> m_table;
    std::int32_t m_row;
};

// One column of a table result: "[i]" reads row i of that field.
class TableResultCol final : public AbstractResultGetter {
    QV_OBJECT(TableResultCol, AbstractResultGetter, "TableResultCol")
  public:
    TableResultCol(const Pointer<TableResult>& table, std::int32_t field)
        : m_table(table), m_field(field) {}
    const Pointer<TableResult>& table() const noexcept { return m_table; }
    std::int32_t field() const noexcept { return m_field; }

    Pointer<Object> getByIdentifier(ResultEvaluatable& context, std::int32_t identifier) override;
    Pointer<Object> getByIndex(ResultEvaluatable& context, std::int32_t index) override;
    bool hasIndex(std::int32_t index) override;
    std::int32_t extent() override;
    StringPointer toString() const override;

  private:
    Pointer<TableResult> m_table;
    std::int32_t m_field;
};

}  // namespace qv
