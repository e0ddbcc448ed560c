// The window as the zoomed work area sees it: it stands between the real
// window and the main panel. Outward it passes every call on, with the
// work area's size and the places of context menus converted; inward it
// takes the real window's events, converts paints, sizes and mouse
// positions into work-area pixels and hands them to its listener. At 100 %
// everything passes through untouched, so the usual case costs nothing.
// Further windows (the source window, dialogs) are not zoomed.
#pragma once

#include <memory>

#include "desktop/WorkAreaZoom.h"
#include "toolkit/Window.h"

namespace qv {

class ZoomedWindow final : public toolkit::Window, public toolkit::WindowListener {
  public:
    // Does not become the real window's listener: its owner hands it the
    // real window's events.
    explicit ZoomedWindow(toolkit::Window& window) : m_window(window) {}

    const WorkAreaZoom& zoom() const noexcept { return m_zoom; }
    // Changes the factor; the listener hears of the new size of the work
    // area and the window repaints. False when nothing changed.
    bool setPercent(std::int32_t percent);
    bool zoomIn();
    bool zoomOut();

    // Window.
    void setListener(toolkit::WindowListener* listener) override { m_listener = listener; }
    toolkit::Size size() const override;
    toolkit::Rect geometry() const override { return m_window.geometry(); }
    void setGeometry(const toolkit::Rect& bounds) override { m_window.setGeometry(bounds); }
    toolkit::Rect screenArea() const override { return m_window.screenArea(); }
    void setTitle(std::string_view title) override { m_window.setTitle(title); }
    void setMenuBar(const toolkit::MenuBar& menus) override { m_window.setMenuBar(menus); }
    void popupMenu(const toolkit::MenuBar& items, toolkit::Point at) override;
    void repaint() override { m_window.repaint(); }
    std::unique_ptr<toolkit::FontMetrics> metrics(const toolkit::Font& font) const override {
        return m_window.metrics(font);
    }
    void setCursor(toolkit::CursorKind kind) override { m_window.setCursor(kind); }
    std::int64_t cursorChanges() const override { return m_window.cursorChanges(); }
    void postMessage(toolkit::PostedMessage message) override;
    void startTimer(std::int32_t id, std::int32_t milliseconds) override {
        m_window.startTimer(id, milliseconds);
    }
    void stopTimer(std::int32_t id) override { m_window.stopTimer(id); }
    void showMessageBox(std::string_view text, std::string_view caption,
                        toolkit::MessageBoxKind kind) override {
        m_window.showMessageBox(text, caption, kind);
    }
    void showFileDialog(const toolkit::FileDialogRequest& request) override {
        m_window.showFileDialog(request);
    }
    void setFileDialogFolder(std::string_view folder) override {
        m_window.setFileDialogFolder(folder);
    }
    std::unique_ptr<toolkit::FileWatcher> watchFile(const std::string& path,
                                                    std::int32_t replyMessage) override {
        return m_window.watchFile(path, replyMessage);
    }
    bool encodeImage(toolkit::Size size, const toolkit::ImagePainter& paint, std::string& bytes,
                     std::string& error) override {
        return m_window.encodeImage(size, paint, bytes, error);
    }
    // Pages are paper, not the work area: they are never zoomed.
    bool encodePdf(std::string_view title, const toolkit::PagePainter& paint, std::string& bytes,
                   std::string& error) override {
        return m_window.encodePdf(title, paint, bytes, error);
    }
    void showPrintDialog(std::string_view title, toolkit::PagePainter paint) override {
        m_window.showPrintDialog(title, std::move(paint));
    }
    void showStatusMessage(std::string_view text) override { m_window.showStatusMessage(text); }
    std::string clipboardText() const override { return m_window.clipboardText(); }
    void setClipboardText(std::string_view text) override { m_window.setClipboardText(text); }
    bool openWithSystem(std::string_view pathOrAddress) override {
        return m_window.openWithSystem(pathOrAddress);
    }
    std::unique_ptr<toolkit::Window> openWindow(std::string_view title,
                                                const toolkit::Rect& bounds) override {
        return m_window.openWindow(title, bounds);
    }
    void close() override { m_window.close(); }
    bool isOpen() const override { return m_window.isOpen(); }
    const toolkit::Palette& palette() const override { return m_window.palette(); }
    void setAppearance(toolkit::Appearance appearance) override {
        m_window.setAppearance(appearance);
    }
    void quit(int status) override { m_window.quit(status); }
    void processPendingEvents() override { m_window.processPendingEvents(); }
    // The nodes' bounds are work-area pixels: the window gets them scaled.
    void setAccessibleRoot(std::shared_ptr<toolkit::AccessibleNode> root) override;
    void accessibleChanged(toolkit::AccessibleChange change,
                           const std::shared_ptr<toolkit::AccessibleNode>& node) override;

    // WindowListener: the real window's events.
    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override;
    void resized(toolkit::Size size) override;
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) override;
    void wheel(std::int32_t steps, toolkit::Point position, std::uint32_t modifiers) override;
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    void menuChosen(std::int32_t id) override;
    void message(const toolkit::PostedMessage& message) override;
    void timer(std::int32_t id) override;
    void closeRequested() override;
    void paletteChanged() override {
        if (m_listener != nullptr) m_listener->paletteChanged();
    }

  private:
    bool changed(std::int32_t before);

    toolkit::Window& m_window;
    toolkit::WindowListener* m_listener = nullptr;
    // Shared with the accessible nodes handed to the window, which may
    // outlive this.
    std::shared_ptr<WorkAreaZoom> m_sharedZoom = std::make_shared<WorkAreaZoom>();
    WorkAreaZoom& m_zoom = *m_sharedZoom;
};

}  // namespace qv
