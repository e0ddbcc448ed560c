#include "editing/EditableContainerPanel.h"

namespace qv {

EditableContainerPanel::EditableContainerPanel(toolkit::Window& window)
    : m_window(window),
      m_support(make<EditableSupport>(window)),
      m_formulaBar(make<FormulaValueEditable>(this)) {
    setLayoutRoot(make<FloatLayoutEditable>());
    m_window.setListener(this);
}

EditableContainerPanel::~EditableContainerPanel() {
    m_window.setListener(nullptr);
    // Commands and the selection hold editables that point back at the
    // support: the support goes last, after it has let go of the tree.
    m_support->commands().clear();
    m_support->setLayoutRoot({});
}

void EditableContainerPanel::setLayoutRoot(const Pointer<FloatLayoutEditable>& root) {
    if (!m_root.isNull()) m_root->setFormulaBar({});
    m_root = root.isNull() ? make<FloatLayoutEditable>() : root;
    m_root->setFormulaBar(m_formulaBar);
    m_support->setLayoutRoot(m_root);
    m_window.repaint();
}

void EditableContainerPanel::showPendingError() {
    if (!m_support->hasPendingError()) return;
    std::string message = m_support->takePendingError();
    m_window.showMessageBox(message, kProductName, toolkit::MessageBoxKind::Notice);
}

void EditableContainerPanel::paint(toolkit::Graphics& graphics, const toolkit::Rect&) {
    m_support->layoutIfNeeded();
    m_root->paint(graphics, {0, 0});
}

void EditableContainerPanel::resized(toolkit::Size) {
    m_support->invalidateLayout();
    m_window.repaint();
}

void EditableContainerPanel::mouse(toolkit::MouseKind kind, toolkit::Point position,
                                   std::uint32_t modifiers) {
    showPendingError();
    m_support->layoutIfNeeded();
    m_mouse.update(kind, position, modifiers, m_support->visibleArea());
    m_root->handleMouse(kind, m_mouse);
    // Shown at once rather than with the next event, which may be long in
    // coming.
    showPendingError();
    m_window.repaint();
}

void EditableContainerPanel::wheel(std::int32_t steps, toolkit::Point position, std::uint32_t) {
    showPendingError();
    m_support->layoutIfNeeded();
    if (m_root->scrollWheel(steps, position)) m_window.repaint();
}

void EditableContainerPanel::key(std::int32_t code, std::string_view text,
                                 std::uint32_t modifiers) {
    showPendingError();
    m_support->layoutIfNeeded();
    m_root->handleKey(code, text, modifiers);
    showPendingError();
    m_window.repaint();
}

}  // namespace qv
