#include "editing/ColWidthChangeCommand.h"

#include <string>

namespace qv {

void ColWidthChangeCommand::apply(std::int32_t change) {
    if (m_table.isNull() || m_column < 0 || m_column >= m_table->columnCount()) return;
    m_table->setColumnWidth(m_column, m_table->columnWidth(m_column) + change);
}

StringPointer ColWidthChangeCommand::describe() const {
    return str("ColWidthChangeCommand(column=" + std::to_string(m_column) +
               ",change=" + std::to_string(m_change) + ")");
}

}  // namespace qv
