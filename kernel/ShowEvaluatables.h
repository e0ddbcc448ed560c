// ShouldShowAllEvaluatable: whether a field's value may differ from row to
// row, decided once per field through the Evaluator, so fields that read each
// other decide in any order and a cycle counts as "may differ". Defined
// with the table result, which keeps the per-field cache and asks both, so
// the table result includes this header and this header nothing above it.
#pragma once

#include <cstdint>

#include "kernel/AbstractEvaluatable.h"

namespace qv {

class ProgramResult;
class TableResult;

class ShouldShowAllEvaluatable final : public AbstractEvaluatable {
  public:
    ShouldShowAllEvaluatable(TableResult& table, std::int32_t field)
        : m_table(table), m_field(field) {}

    Pointer<Object> cachedValue() const override;
    void setCachedValue(const Pointer<Object>& value) override;
    // In ResultEvaluatable.cpp: it asks the formula in a cell context.
    Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t index) override;

    // The decision as a truth value; anything but Boolean false counts as true.
    static bool decide(TableResult& table, std::int32_t field, Evaluator& evaluator);

  private:
    TableResult& m_table;
    std::int32_t m_field;
};

// ShouldShowEvaluatable: whether one cell shows a value of its own rather
// than its field's formula-row value: the summary and formula rows, a cell
// with a formula of its own, and every row of a field whose value may differ
// by row. The decision follows from the per-field one, so it keeps no cache.
class ShouldShowEvaluatable final : public AbstractEvaluatable {
  public:
    ShouldShowEvaluatable(TableResult& table, std::int32_t field, std::int32_t row)
        : m_table(table), m_field(field), m_row(row) {}

    Pointer<Object> cachedValue() const override { return {}; }
    void setCachedValue(const Pointer<Object>&) override {}
    Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t index) override;

  private:
    TableResult& m_table;
    std::int32_t m_field;
    std::int32_t m_row;
};

}  // namespace qv
