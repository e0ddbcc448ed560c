// ShouldShowAllEvaluatable: whether a field's value may differ from row to
// row, decided once per field through the Evaluator, so fields that read each
// other decide in any order and a cycle counts as "may differ".
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

    Object* cachedValue() const override;
    void setCachedValue(const Pointer<Object>& value) override;
    Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t index) override;

    // The decision as a truth value; anything but Boolean false counts as true.
    static bool decide(TableResult& table, std::int32_t field, Evaluator& evaluator);

  private:
    TableResult& m_table;
    std::int32_t m_field;
};

}  // namespace qv
