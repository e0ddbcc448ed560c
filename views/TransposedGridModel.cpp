#include "views/TransposedGridModel.h"

#include <algorithm>

namespace qv {

std::int32_t TransposedGridModel::columnWidth(std::int32_t) {
    std::int32_t first = std::max(0, m_inner->leadingColumnCount());
    if (first >= m_inner->columnCount()) return kDefaultWidth;
    std::int32_t width = m_inner->columnWidth(first);
    return width > 0 ? width : kDefaultWidth;
}

}  // namespace qv
