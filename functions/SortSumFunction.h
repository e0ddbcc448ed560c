// SortSumFunction ("sort"): per row, the value at that position of the column
// sorted ascending by the shared value ordering. Rows outside the sorted
// values show the special value "(sort)".
#pragma once

#include <cstdint>

#include "core/StdAllocator.h"
#include "core/Vector.h"
#include "functions/SumFunction.h"

namespace qv {

class SortSumFunction final : public SumFunction {
    QV_OBJECT(SortSumFunction, SumFunction, "SortSumFunction")
  public:
    Pointer<SumFunction> newAccumulator() const override;
    const char* name() const override { return "sort"; }
    void start(std::int32_t count) override;
    void add(std::int32_t index, Arguments arguments) override;
    void addNumber(std::int32_t index, double number) override;
    // Sorts the values; pivots are drawn from the shared random generator.
    void finish() override;
    // The value at row - 1, or a new "(sort)" special value.
    Pointer<Object> result(std::int32_t row) const override;
    bool resultNumber(std::int32_t row, double& number) const override;
    bool isPerRow() const override { return true; }

    // Sorts ascending in place, for every user of the same ordering.
    static void sortValues(Vector& values);
    // The general path of sortValues, comparing objects; a column of plain
    // numbers takes a faster path that must place every object as this does.
    static void sortValuesAsObjects(Vector& values);

  private:
    // From here on the items are kept as objects.
    void keepObjects();

    bool m_started = false;
    // A column of plain numbers (no not-a-number) is kept as numbers until
    // anything else comes; then every item is an object in m_values.
    CountedVector<double> m_numbers;
    Pointer<Vector> m_values;
};

}  // namespace qv
