#include "views/ColumnResize.h"

#include <algorithm>

namespace qv {

std::optional<std::int32_t> ColumnResize::width(std::int32_t column) const {
    auto found = m_widths.find(column);
    if (found == m_widths.end()) return std::nullopt;
    return found->second;
}

void ColumnResize::setWidth(std::int32_t column, std::int32_t width) {
    m_widths[column] = std::max(kSmallestColumn, width);
}

std::optional<std::pair<std::int32_t, std::int32_t>> ColumnResize::finish() noexcept {
    if (m_column < 0) return std::nullopt;
    std::pair<std::int32_t, std::int32_t> ended{m_column, m_startWidth};
    m_column = -1;
    return ended;
}

}  // namespace qv
