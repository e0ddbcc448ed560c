#include "editing/EditableContainerPanel.h"

namespace qv {

EditableContainerPanel::EditableContainerPanel(toolkit::Window& window)
    : m_window(window),
      m_support(make<EditableSupport>(window)),
      m_formulaBar(make<FormulaValueEditable>(this)),
      m_router(window, *m_support, [this](std::int32_t steps, toolkit::Point at) {
          return m_root->scrollWheel(steps, at);
      }) {
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
    m_router.showPendingError();
}

void EditableContainerPanel::paint(toolkit::Graphics& graphics, const toolkit::Rect&) {
    m_router.paint(graphics);
}

void EditableContainerPanel::resized(toolkit::Size) {
    m_router.resized();
}

void EditableContainerPanel::mouse(toolkit::MouseKind kind, toolkit::Point position,
                                   std::uint32_t modifiers) {
    m_router.mouse(kind, position, modifiers);
}

void EditableContainerPanel::wheel(std::int32_t steps, toolkit::Point position, std::uint32_t) {
    m_router.wheel(steps, position);
}

void EditableContainerPanel::key(std::int32_t code, std::string_view text,
                                 std::uint32_t modifiers) {
    m_router.key(code, text, modifiers);
}

}  // namespace qv
