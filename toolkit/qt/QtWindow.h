// The toolkit's window over Qt Widgets: a main window with its menu bar,
// one work area that the listener paints and that hands it the events, and
// under it the message line (the program's main window has it from the
// start, so the work area keeps its size when a first notice comes; a
// further window gets one only if it is given a notice).
// The application object (QApplication) must exist first; everything runs
// on its thread.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "toolkit/Window.h"

class QMainWindow;
class QTimer;
class QWidget;

namespace qv::toolkit {

class QtFrame;
class QtMessageLine;
class QtWorkArea;

class QtWindow final : public Window {
  public:
    // The program's main window, not yet shown.
    QtWindow();
    ~QtWindow() override;
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    void setListener(WindowListener* listener) override;
    Size size() const override;
    Rect geometry() const override;
    void setGeometry(const Rect& bounds) override;
    Rect screenArea() const override;
    void setTitle(std::string_view title) override;
    void setMenuBar(const MenuBar& menus) override;
    void popupMenu(const MenuBar& items, Point at) override;
    void repaint() override;
    std::unique_ptr<FontMetrics> metrics(const Font& font) const override;
    void setCursor(CursorKind kind) override;
    std::int64_t cursorChanges() const override { return m_cursorChanges; }
    void postMessage(PostedMessage message) override;
    void startTimer(std::int32_t id, std::int32_t milliseconds) override;
    void stopTimer(std::int32_t id) override;
    void showStatusMessage(std::string_view text) override;
    void showMessageBox(std::string_view text, std::string_view caption,
                        MessageBoxKind kind) override;
    void showFileDialog(const FileDialogRequest& request) override;
    void setFileDialogFolder(std::string_view folder) override { m_dialogFolder = folder; }
    std::unique_ptr<FileWatcher> watchFile(const std::string& path,
                                           std::int32_t replyMessage) override;
    bool encodeImage(Size size, const ImagePainter& paint, std::string& bytes,
                     std::string& error) override;
    bool encodePdf(std::string_view title, const PagePainter& paint, std::string& bytes,
                   std::string& error) override;
    void showPrintDialog(std::string_view title, PagePainter paint) override;
    std::string clipboardText() const override;
    void setClipboardText(std::string_view text) override;
    bool openWithSystem(std::string_view pathOrAddress) override;
    std::unique_ptr<Window> openWindow(std::string_view title, const Rect& bounds) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    const Palette& palette() const override;
    void setAppearance(Appearance appearance) override;
    void quit(int status) override;
    void processPendingEvents() override;
    void setAccessibleRoot(std::shared_ptr<AccessibleNode> root) override;
    void accessibleChanged(AccessibleChange change,
                           const std::shared_ptr<AccessibleNode>& node) override;

    // For the program's entry point and for tests.
    QMainWindow* frame() const noexcept;
    QWidget* workArea() const noexcept;
    // The message line, or nothing for a further window never given a notice.
    QtMessageLine* messageLine() const noexcept { return m_messageLine; }
    // The status given to quit, once it was called (it may be called before
    // the event loop runs, when start-up already ends the program).
    std::optional<int> quitStatus() const noexcept { return m_quitStatus; }

  private:
    QtWindow(QtWindow& owner, std::string_view title, const Rect& bounds);
    void addMessageLine();

    std::unique_ptr<QtFrame> m_frame;
    QtWorkArea* m_workArea;                  // owned by the frame
    QtMessageLine* m_messageLine = nullptr;  // owned by the frame
    std::map<std::int32_t, std::unique_ptr<QTimer>> m_timers;
    std::int64_t m_cursorChanges = 0;
    std::optional<int> m_quitStatus;
    std::string m_dialogFolder;
    bool m_open = true;
};

}  // namespace qv::toolkit
