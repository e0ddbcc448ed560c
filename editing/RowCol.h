// The key of a layout table's cell, and what a column of cells asks for
// while the table is laid out.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/String.h"

namespace qv {

class RowCol final : public Object {
    QV_OBJECT(RowCol, Object, "RowCol")
  public:
    RowCol(std::int32_t row, std::int32_t column) : row(row), column(column) {}

    // column + row * 100: keys such as (1, 0) and (0, 100) share a hash
    // value and are told apart by equals.
    std::int32_t hashCode() const noexcept override;
    bool equals(const Object& other) const noexcept override;
    StringPointer describe() const override;

    const std::int32_t row;
    const std::int32_t column;
};

struct ColSummary {
    std::int32_t minimum = 0;  // the largest minimum width of the column's cells
    std::int32_t maximum = 0;  // the largest maximum width
    std::int32_t width = 0;    // as laid out
};

}  // namespace qv
