#include "editing/LayoutTablePosition.h"

#include <string>

namespace qv {

StringPointer LayoutTablePosition::describe() const {
    return str("LayoutTablePosition(row=" + std::to_string(m_row) +
               ",column=" + std::to_string(m_column) + ",rows=" + std::to_string(m_rowCount) +
               ",columns=" + std::to_string(m_columnCount) + ")");
}

}  // namespace qv
