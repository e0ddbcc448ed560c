#include "model/ReplaceTextsCommand.h"

namespace qv {

void ReplaceTextsCommand::redo() {
    if (m_formulasChanged) m_after.restore(*m_program);
    for (const Pointer<TextChangedCommand>& area : m_areas)
        area->redo();
}

void ReplaceTextsCommand::undo() {
    for (auto area = m_areas.rbegin(); area != m_areas.rend(); ++area)
        (*area)->undo();
    if (m_formulasChanged) m_before.restore(*m_program);
}

}  // namespace qv
