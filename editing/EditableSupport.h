// What every editable of one window shares: the fonts and their metrics,
// the colours, the selected editable, the layout root, the window, the
// command manager, the visible part of the work area, an error message
// waiting to be shown, and the editable that holds the mouse during a
// press. Editables keep a plain pointer to it: it outlives the tree it
// serves (the panel that owns it owns the tree).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "editing/AbstractEditable.h"
#include "editing/CommandManager.h"
#include "toolkit/Font.h"
#include "toolkit/Window.h"

namespace qv {

class EditableSupport final : public Object, public EditableHost {
    QV_OBJECT(EditableSupport, Object, "EditableSupport")
  public:
    explicit EditableSupport(toolkit::Window& window);
    ~EditableSupport() override;

    toolkit::Window& window() const noexcept { return m_window; }

    // "arial" at 16 pixels, bold and plain.
    const toolkit::Font& boldFont() const noexcept { return m_boldFont; }
    const toolkit::Font& plainFont() const noexcept { return m_plainFont; }
    const toolkit::FontMetrics& boldMetrics() const noexcept { return *m_boldMetrics; }
    const toolkit::FontMetrics& plainMetrics() const noexcept { return *m_plainMetrics; }

    // The colours everything is drawn with: the window's.
    const toolkit::Palette& palette() const noexcept override { return m_window.palette(); }

    const Pointer<AbstractEditable>& selected() const noexcept { return m_selected; }
    // Null when nothing is selected (the null object is no editable).
    const AbstractEditable* selectedEditable() const noexcept override {
        return m_selected.isNull() ? nullptr : m_selected.get();
    }
    void select(const Pointer<AbstractEditable>& editable);
    // Selects nothing when the selection lies inside `editable` (or is it):
    // a view that leaves the tree takes its selection with it.
    void clearSelectionWithin(const AbstractEditable& editable);

    const Pointer<AbstractEditable>& layoutRoot() const noexcept { return m_layoutRoot; }
    void setLayoutRoot(const Pointer<AbstractEditable>& root);

    CommandManager& commands() const noexcept { return *m_commands; }
    const Pointer<CommandManager>& commandManager() const noexcept { return m_commands; }

    // The part of the work area on screen; drags are confined to it.
    const toolkit::Rect& visibleArea() const noexcept { return m_visibleArea; }
    void setVisibleArea(const toolkit::Rect& area) noexcept { m_visibleArea = area; }

    // A message an editable could not show in the middle of its handling;
    // the container shows it as a notice.
    void setPendingError(std::string_view message) { m_pendingError = message; }
    bool hasPendingError() const noexcept { return !m_pendingError.empty(); }
    std::string takePendingError();

    // What an editable asks of the application that it can not do alone (a
    // rename that is previewed before it is applied). The handler answers
    // true when it took the request; without one nothing is taken.
    using RequestHandler = std::function<bool(const Pointer<Object>& request)>;
    void setRequestHandler(RequestHandler handler) { m_requestHandler = std::move(handler); }
    bool offerRequest(const Pointer<Object>& request) const {
        return m_requestHandler && m_requestHandler(request);
    }

    // The editable that asked for the drags and the release of the current
    // press (a text selecting, a scroll bar's thumb).
    void grabMouse(const Pointer<AbstractEditable>& editable) { m_mouseGrab = editable; }
    const Pointer<AbstractEditable>& mouseGrab() const noexcept { return m_mouseGrab; }
    void releaseMouse() { m_mouseGrab = {}; }

    void repaint() const override { m_window.repaint(); }
    // Layout is redone before the next event or paint, once, however many
    // changes asked for it.
    void invalidateLayout() noexcept override { m_layoutValid = false; }
    void layoutIfNeeded();
    bool isLayoutValid() const noexcept { return m_layoutValid; }

  private:
    toolkit::Window& m_window;
    toolkit::Font m_boldFont;
    toolkit::Font m_plainFont;
    std::unique_ptr<toolkit::FontMetrics> m_boldMetrics;
    std::unique_ptr<toolkit::FontMetrics> m_plainMetrics;
    Pointer<AbstractEditable> m_selected;
    Pointer<AbstractEditable> m_layoutRoot;
    Pointer<AbstractEditable> m_mouseGrab;
    Pointer<CommandManager> m_commands;
    toolkit::Rect m_visibleArea;
    std::string m_pendingError;
    RequestHandler m_requestHandler;
    bool m_layoutValid = false;
};

}  // namespace qv
