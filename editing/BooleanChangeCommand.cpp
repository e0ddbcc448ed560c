#include "editing/BooleanChangeCommand.h"

#include <string>

namespace qv {

void BooleanChangeCommand::toggle() {
    if (m_table.isNull()) return;
    std::optional<bool> value = m_table->booleanAt(m_column, m_row);
    if (value) m_table->setBooleanAt(m_column, m_row, !*value);
}

StringPointer BooleanChangeCommand::describe() const {
    return str("BooleanChangeCommand(column=" + std::to_string(m_column) +
               ",row=" + std::to_string(m_row) + ")");
}

}  // namespace qv
