#include "editing/RowCol.h"

#include <string>

#include "core/Pointer.h"

namespace qv {

std::int32_t RowCol::hashCode() const noexcept {
    // Unsigned arithmetic: wraps instead of overflowing for huge indexes.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(column) +
                                     static_cast<std::uint32_t>(row) * 100u);
}

bool RowCol::equals(const Object& other) const noexcept {
    if (!is<RowCol>(other)) return false;
    const auto& key = static_cast<const RowCol&>(other);
    return key.row == row && key.column == column;
}

StringPointer RowCol::describe() const {
    return str("RowCol(" + std::to_string(row) + "," + std::to_string(column) + ")");
}

}  // namespace qv
