// The window's listener for a work area of editables: it owns the support
// and the layout root, and hands the window's events to its router (the
// wheel goes to the editable under the pointer that scrolls, else to the
// work area). The main panel builds on it and adds menus, messages and the
// document flow.
#pragma once

#include <cstdint>
#include <string>

#include "editing/EditableSupport.h"
#include "editing/FloatLayoutEditable.h"
#include "editing/FormulaValueEditable.h"
#include "editing/MouseInfo.h"
#include "editing/WindowRouter.h"
#include "toolkit/Window.h"

namespace qv {

class EditableContainerPanel : public Object, public toolkit::WindowListener {
    QV_OBJECT(EditableContainerPanel, Object, "EditableContainerPanel")
  public:
    // The caption of the notices the panel shows.
    static constexpr const char* kProductName = WindowRouter::kProductName;

    // Becomes the window's listener, with an empty layout root and a
    // formula bar.
    explicit EditableContainerPanel(toolkit::Window& window);
    ~EditableContainerPanel() override;

    toolkit::Window& window() const noexcept { return m_window; }
    EditableSupport& support() const noexcept { return *m_support; }
    CommandManager& commands() const noexcept { return m_support->commands(); }
    const Pointer<FloatLayoutEditable>& layoutRoot() const noexcept { return m_root; }
    const Pointer<FormulaValueEditable>& formulaBar() const noexcept { return m_formulaBar; }
    const MouseInfo& mouseInfo() const noexcept { return m_router.mouseInfo(); }

    // Replaces the work area (a document loaded); the formula bar moves over.
    void setLayoutRoot(const Pointer<FloatLayoutEditable>& root);
    // Shows the error an editable left, if any, as a notice.
    void showPendingError();

    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override;
    void resized(toolkit::Size size) override;
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) override;
    void wheel(std::int32_t steps, toolkit::Point position, std::uint32_t modifiers) override;
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    // The main panel's business; nothing here.
    void menuChosen(std::int32_t) override {}
    void message(const toolkit::PostedMessage&) override {}
    void timer(std::int32_t) override {}
    void closeRequested() override {}

  private:
    toolkit::Window& m_window;
    Pointer<EditableSupport> m_support;
    Pointer<FloatLayoutEditable> m_root;
    Pointer<FormulaValueEditable> m_formulaBar;
    WindowRouter m_router;
};

}  // namespace qv
