// A window without a display, for tests: it paints into a recording
// surface on request, answers dialogs from a script, keeps the clipboard
// in memory, queues posted messages until the test delivers them, and
// remembers the title, the menus, the message line, the cursor, the timers
// and the exit status.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Window.h"
#include "toolkit/headless/HeadlessGraphics.h"

namespace qv::toolkit {

class HeadlessWindow final : public Window {
  public:
    explicit HeadlessWindow(Size size = {1024, 768}) : m_size(size) {}

    // Window.
    void setListener(WindowListener* listener) override { m_listener = listener; }
    Size size() const override { return m_size; }
    Rect geometry() const override {
        return {m_position.x, m_position.y, m_size.width, m_size.height};
    }
    // Moves the window and resizes it as resize() does.
    void setGeometry(const Rect& bounds) override;
    Rect screenArea() const override { return m_screenArea; }
    void setTitle(std::string_view title) override { m_title = title; }
    void setMenuBar(const MenuBar& menus) override { m_menuBar = menus; }
    void popupMenu(const MenuBar& items, Point at) override;
    void repaint() override { ++m_repaintRequests; }
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
    // Records the request with what was painted and encodes it as the
    // recording's text (no PNG), unless refuseImages() was called.
    bool encodeImage(Size size, const ImagePainter& paint, std::string& bytes,
                     std::string& error) override;
    // Both record the pages painted (see documents()); the PDF's bytes are
    // the recording's text, a line per call and "page N" before each page.
    bool encodePdf(std::string_view title, const PagePainter& paint, std::string& bytes,
                   std::string& error) override;
    void showPrintDialog(std::string_view title, PagePainter paint) override;
    std::string clipboardText() const override { return m_clipboard; }
    void setClipboardText(std::string_view text) override { m_clipboard = text; }
    bool openWithSystem(std::string_view pathOrAddress) override;
    std::unique_ptr<Window> openWindow(std::string_view title, const Rect& bounds) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    const Palette& palette() const override { return m_palette; }
    // Tells the listener (the desktop changed its colours) when following it.
    void setAppearance(Appearance appearance) override;
    void quit(int status) override { m_exitStatus = status; }
    void processPendingEvents() override;
    void setAccessibleRoot(std::shared_ptr<AccessibleNode> root) override {
        m_accessibleRoot = std::move(root);
    }
    void accessibleChanged(AccessibleChange change,
                           const std::shared_ptr<AccessibleNode>& node) override {
        m_accessibleChanges.push_back({change, node});
    }

    // The script: answers for the next message boxes, in order, and paths
    // for the next file dialogs (an empty optional cancels the dialog). A
    // dialog with no scripted answer is a failure of the test: it answers
    // Cancel (or cancels) and is counted in unscriptedDialogs().
    void scriptAnswer(Answer answer) { m_answers.push_back(answer); }
    void scriptFile(std::optional<std::string> path) { m_files.push_back(std::move(path)); }

    // The fake watcher: posts every live watcher's reply for the path, as
    // a change on disk would. The paths watched now, in order.
    void fileChanged(const std::string& path);
    std::vector<std::string> watchedFiles() const;

    // Delivers posted messages (and those they post in turn) until none is left.
    void deliverPosted();
    // Paints the whole window into a fresh recording surface.
    const HeadlessGraphics& paint();
    const HeadlessGraphics& lastPaint() const { return m_graphics; }
    void resize(Size size);
    void setScreenArea(const Rect& area) { m_screenArea = area; }

    // What the program did with the window.
    const std::string& title() const noexcept { return m_title; }
    const MenuBar& menuBar() const noexcept { return m_menuBar; }
    const MenuBar& lastPopup() const noexcept { return m_lastPopup; }
    CursorKind cursor() const noexcept { return m_cursor; }
    std::int32_t repaintRequests() const noexcept { return m_repaintRequests; }
    std::int32_t pendingEventPumps() const noexcept { return m_pendingEventPumps; }
    std::optional<int> exitStatus() const noexcept { return m_exitStatus; }
    const std::vector<std::string>& opened() const noexcept { return m_opened; }
    bool timerRunning(std::int32_t id) const;
    // Every dialog shown, e.g. "question: TEXT" or "save: FILTER".
    const std::vector<std::string>& dialogs() const noexcept { return m_dialogs; }
    std::int32_t unscriptedDialogs() const noexcept { return m_unscripted; }
    // Where the last file dialog started: its request's initial path, else
    // the folder set for dialogs.
    const std::string& lastDialogStart() const noexcept { return m_lastDialogStart; }
    // The message line: what it shows now, and every text given to it in
    // order (a clear as an empty text). Not among the dialogs.
    const std::string& statusMessage() const noexcept { return m_statusMessage; }
    const std::vector<std::string>& statusMessages() const noexcept { return m_statusMessages; }
    // Stands for the events a user sends while the program pumps them
    // during long work: called by every processPendingEvents.
    void onPendingEvents(std::function<void()> events) { m_pendingEvents = std::move(events); }
    // Refuses openWithSystem from now on (an address nothing can open).
    void refuseOpening() { m_refuseOpening = true; }
    // The desktop's colours; its palette changes now when followed.
    void setSystemColors(const SystemColors& colors);
    Appearance appearance() const noexcept { return m_appearance; }
    // Fails every encodeImage from now on with `reason`.
    void refuseImages(std::string reason) { m_imageRefusal = std::move(reason); }
    struct ImageRequest {
        Size size;
        HeadlessGraphics painted;
    };
    // Every encodeImage call, refused ones included.
    const std::vector<ImageRequest>& images() const noexcept { return m_images; }
    // The printable part of an A4 page inside margins of 15 mm at 96 pixels
    // an inch, as the Qt backend's pages have it.
    static constexpr Size kPageSize{680, 1009};
    struct PagedDocument {
        bool printed = false;  // else a PDF
        std::string title;
        std::vector<HeadlessGraphics> pages;
        bool stopped = false;
    };
    // Every encodePdf and showPrintDialog, in order.
    const std::vector<PagedDocument>& documents() const noexcept { return m_documents; }
    // The further windows opened so far (owned by whoever opened them; a
    // destroyed one is removed from the list).
    const std::vector<HeadlessWindow*>& openedWindows() const noexcept { return m_children; }
    // What a screen reader would walk, and every change told so far.
    const std::shared_ptr<AccessibleNode>& accessibleRoot() const noexcept {
        return m_accessibleRoot;
    }
    struct AccessibleNotice {
        AccessibleChange change;
        std::shared_ptr<AccessibleNode> node;
    };
    const std::vector<AccessibleNotice>& accessibleChanges() const noexcept {
        return m_accessibleChanges;
    }
    ~HeadlessWindow() override;

  private:
    void applyPalette(const Palette& palette);
    WindowListener* m_listener = nullptr;
    Size m_size;
    Point m_position;
    Rect m_screenArea{0, 0, 1920, 1080};
    // Until a test gives the desktop's colours, it is a light one.
    std::optional<SystemColors> m_systemColors;
    Appearance m_appearance = Appearance::System;
    Palette m_palette = Palette::light();
    std::string m_dialogFolder;
    std::string m_lastDialogStart;
    std::string m_title;
    MenuBar m_menuBar;
    MenuBar m_lastPopup;
    CursorKind m_cursor = CursorKind::Arrow;
    std::int64_t m_cursorChanges = 0;
    std::int32_t m_repaintRequests = 0;
    std::int32_t m_pendingEventPumps = 0;
    std::function<void()> m_pendingEvents;
    std::deque<PostedMessage> m_posted;
    std::vector<std::int32_t> m_timers;
    std::deque<Answer> m_answers;
    std::deque<std::optional<std::string>> m_files;
    std::vector<std::string> m_dialogs;
    std::int32_t m_unscripted = 0;
    std::string m_statusMessage;
    std::vector<std::string> m_statusMessages;
    std::string m_clipboard;
    std::vector<std::string> m_opened;
    bool m_refuseOpening = false;
    std::optional<std::string> m_imageRefusal;
    std::vector<ImageRequest> m_images;
    std::vector<PagedDocument> m_documents;
    std::optional<int> m_exitStatus;
    bool m_open = true;
    HeadlessWindow* m_owner = nullptr;
    std::vector<HeadlessWindow*> m_children;
    HeadlessGraphics m_graphics{{0, 0}};
    std::shared_ptr<AccessibleNode> m_accessibleRoot;
    std::vector<AccessibleNotice> m_accessibleChanges;
    class Watcher;
    std::vector<Watcher*> m_watchers;
};

}  // namespace qv::toolkit
