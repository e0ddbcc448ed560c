#include "editing/DetachDropCommand.h"

#include <string>

#include "editing/DropContainer.h"
#include "editing/EditableSupport.h"

namespace qv {

DetachDropCommand::DetachDropCommand(const Pointer<AbstractEditable>& root,
                                     const Pointer<AbstractEditable>& editable,
                                     const Pointer<AbstractPosition>& detachPosition,
                                     const Pointer<AbstractPosition>& dropPosition)
    : m_root(root),
      m_editable(editable),
      m_detachPosition(detachPosition),
      m_dropPosition(dropPosition) {}

void DetachDropCommand::redo() {
    move(m_detachPosition, m_dropPosition);
}

void DetachDropCommand::undo() {
    move(m_dropPosition, m_detachPosition);
}

bool DetachDropCommand::changesDocument() const {
    const auto floating = [](const Pointer<AbstractPosition>& position) {
        return position.isNull() || position->isFloat();
    };
    return m_editable.isNull() || m_editable->isKeptInDocument() || !floating(m_detachPosition) ||
           !floating(m_dropPosition);
}

// Out of the tree when it stood at `from`, into `to` when there is one. The
// root searches its whole tree, so a view that is no longer where the
// command left it (or no longer anywhere) is handled without harm.
void DetachDropCommand::move(const Pointer<AbstractPosition>& from,
                             const Pointer<AbstractPosition>& to) {
    if (m_root.isNull() || m_editable.isNull()) return;
    if (!from.isNull()) detachFrom(*m_root, m_editable);
    bool placed = false;
    if (!to.isNull() && !to->container().isNull()) {
        placed = dropInto(*to->container(), m_editable, to);
    }
    EditableSupport* support = m_root->support();
    if (support == nullptr) return;
    if (!placed) support->clearSelectionWithin(*m_editable);
    support->invalidateLayout();
    support->repaint();
}

StringPointer DetachDropCommand::describe() const {
    std::string text = "DetachCommand{\n";
    text += "    editable=";
    text += m_editable.object()->describe()->view();
    text += "\n    detach_position=";
    text += m_detachPosition.object()->describe()->view();
    text += "\n    drop_position=";
    text += m_dropPosition.object()->describe()->view();
    text += "\n}\n";
    return str(text);
}

}  // namespace qv
