#include "editing/EditableSupport.h"

#include <algorithm>

namespace qv {

EditableSupport::EditableSupport(toolkit::Window& window)
    : m_window(window),
      m_boldFont{"arial", 16, true},
      m_plainFont{"arial", 16, false},
      m_boldMetrics(window.metrics(m_boldFont)),
      m_plainMetrics(window.metrics(m_plainFont)),
      m_commands(make<CommandManager>()) {
    toolkit::Size size = window.size();
    m_visibleArea = {0, 0, size.width, size.height};
}

// The tree may outlive this object (a command keeps a view): it must not
// reach back here afterwards.
EditableSupport::~EditableSupport() {
    m_selected = {};
    m_mouseGrab = {};
    if (!m_layoutRoot.isNull()) m_layoutRoot->attach(nullptr);
}

EditableHost* hostOf(EditableSupport* support) noexcept {
    return support;
}

void EditableSupport::select(const Pointer<AbstractEditable>& editable) {
    if (editable == m_selected) return;
    m_selected = editable;
    repaint();
}

void EditableSupport::clearSelectionWithin(const AbstractEditable& editable) {
    for (const AbstractEditable* at = m_selected.isNull() ? nullptr : m_selected.get();
         at != nullptr; at = at->parent()) {
        if (at == &editable) {
            select({});
            return;
        }
    }
}

void EditableSupport::setLayoutRoot(const Pointer<AbstractEditable>& root) {
    if (!m_layoutRoot.isNull() && !(m_layoutRoot == root)) m_layoutRoot->attach(nullptr);
    m_layoutRoot = root;
    m_selected = {};
    m_mouseGrab = {};
    if (!root.isNull()) root->attach(this);
    invalidateLayout();
}

std::string EditableSupport::takePendingError() {
    std::string message;
    message.swap(m_pendingError);
    return message;
}

void EditableSupport::layoutIfNeeded() {
    if (m_layoutValid) return;
    // Valid before the work, so a layout that asks for another one (a view
    // that changes while it is laid out) does not loop.
    m_layoutValid = true;
    if (!m_layoutRoot.isNull()) m_layoutRoot->layoutWidth(m_window.size().width);
}

}  // namespace qv
