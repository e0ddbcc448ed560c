// The source window ("View Source"): a further window with two text
// editables, the document's text above and a message line below, each kept
// at its distances from the window's edges when the window is resized.
// Ctrl+Enter in the upper field reloads the document from its text; Enter
// (or Ctrl+Enter) in the message line prints its expression back as the
// kernel writes it. The fields have their own undo history: editing the
// text changes nothing until it is reloaded.
#pragma once

#include <functional>
#include <memory>

#include "desktop/SourceWindowLogic.h"
#include "editing/EditableSupport.h"
#include "editing/TextEditable.h"
#include "editing/WindowRouter.h"
#include "toolkit/Window.h"

namespace qv {

class SourceWindow final : public toolkit::WindowListener, private SourceWindowFields {
  public:
    // True while the document may not be touched (the kernel computes);
    // the actions then do nothing.
    using BusyTest = std::function<bool()>;

    // Opens the window over `owner` and fills it with the document's text.
    SourceWindow(toolkit::Window& owner, SourceWindowHost& host, BusyTest busy);
    ~SourceWindow() override;
    SourceWindow(const SourceWindow&) = delete;
    SourceWindow& operator=(const SourceWindow&) = delete;

    toolkit::Window& window() const noexcept { return *m_window; }
    const Pointer<TextEditable>& sourceField() const noexcept { return m_source; }
    const Pointer<TextEditable>& messageField() const noexcept { return m_message; }
    EditableSupport& support() const noexcept { return *m_support; }

    // The document's text in the upper field again.
    void fill();
    // What Ctrl+Enter does in each field.
    void sourceAction();
    void messageAction();

    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override;
    void resized(toolkit::Size size) override;
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) override;
    void wheel(std::int32_t steps, toolkit::Point position, std::uint32_t modifiers) override;
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    void menuChosen(std::int32_t) override {}
    void message(const toolkit::PostedMessage&) override {}
    void timer(std::int32_t) override {}
    void closeRequested() override;

  private:
    void setSourceText(std::string_view text) override;
    void setMessageText(std::string_view text) override;

    const toolkit::Palette& colors() const noexcept { return m_window->palette(); }

    std::unique_ptr<toolkit::Window> m_window;
    Pointer<EditableSupport> m_support;
    Pointer<TextEditable> m_source;
    Pointer<TextEditable> m_message;
    Pointer<AbstractEditable> m_pane;
    SourceWindowLogic m_logic;
    BusyTest m_busy;
    WindowRouter m_router;
};

}  // namespace qv
