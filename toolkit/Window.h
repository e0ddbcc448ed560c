// The one top-level window of the program, as the rest of the system sees
// it. `Window` is what the backend offers (painting on request, cursors,
// posted messages, timers, a message line for passing notices, dialogs
// whose answers come back as posted messages, the clipboard, the system
// shell, the title and the menus); `WindowListener` is what the program
// implements to receive the window's events. Everything runs on the thread
// that owns the window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/Accessible.h"
#include "toolkit/Events.h"
#include "toolkit/Font.h"
#include "toolkit/Graphics.h"
#include "toolkit/ImageEncoder.h"
#include "toolkit/Menu.h"
#include "toolkit/PageSink.h"
#include "toolkit/Palette.h"

namespace qv::toolkit {

// The messages dialogs post back: a file dialog's chosen path (a cancelled
// dialog posts nothing) and a message box's answer.
inline constexpr std::int32_t kFileChosenMessage = 1024;  // text: the path
inline constexpr std::int32_t kAnswerMessage = 1025;      // value: the answer

enum class Answer : std::int32_t { Yes = 0, No = 1, Cancel = 2, Ok = 3 };

enum class MessageBoxKind {
    Notice,    // an OK button
    Question,  // Yes, No and Cancel, with the question icon
    // What an action will do, before it is done: OK (or Delete) and
    // Cancel, answered Ok or Cancel.
    Confirm,
    ConfirmDelete,
    // A recovery copy found at start: "Recover" (Yes), "Open the saved
    // file" (No) or "Decide later" (Cancel, also Escape and closing).
    Recover,
    // The open file changed on disk under unsaved changes: "Read the file
    // again" (Yes) or "Keep the window's version" (No, also Escape).
    ChangedOnDisk,
};

struct FileDialogRequest {
    bool save = false;
    // Pairs of description and pattern separated by commas, as in
    // "Quorvatelle Documents(*.qvl),*.qvl,All Files(*.*),*.*,".
    std::string filter;
    std::string defaultExtension;
    std::string initialPath;
    // The id the chosen path comes back with: a dialog of its own lets a
    // caller tell its answer from one the document's commands wait for.
    std::int32_t replyMessage = kFileChosenMessage;
};

struct PostedMessage {
    std::int32_t id = 0;
    std::int64_t value = 0;
    std::string text;
};

// Watches one file for as long as it lives: a change, a replacement (an
// editor that saves by renaming a new file over the old one) or a removal
// posts the reply message with the path as its text. It may also post when
// nothing changed; the receiver compares the file itself.
class FileWatcher {
  public:
    virtual ~FileWatcher() = default;
};

class WindowListener {
  public:
    virtual ~WindowListener() = default;
    // Draw the whole work area; `area` is the part that needs it.
    virtual void paint(Graphics& graphics, const Rect& area) = 0;
    virtual void resized(Size size) = 0;
    virtual void mouse(MouseKind kind, Point position, std::uint32_t modifiers) = 0;
    // Positive `steps` scroll up (away from the user), in notches of the wheel.
    virtual void wheel(std::int32_t steps, Point position, std::uint32_t modifiers) = 0;
    // `text` is the typed character's UTF-8 text for key::kCharacter, else empty.
    virtual void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) = 0;
    virtual void menuChosen(std::int32_t id) = 0;
    virtual void message(const PostedMessage& message) = 0;
    virtual void timer(std::int32_t id) = 0;
    // The user asked to close the window; the listener decides.
    virtual void closeRequested() = 0;
    // The window's palette changed (the desktop's colours, or the
    // appearance chosen); a repaint follows.
    virtual void paletteChanged() {}
};

class Window {
  public:
    virtual ~Window() = default;

    virtual void setListener(WindowListener* listener) = 0;
    virtual Size size() const = 0;
    // The window's place and size on the screen (its inside, without the
    // frame the desktop draws around it), in screen pixels; setting it
    // before the window shows places it there when it shows.
    virtual Rect geometry() const = 0;
    virtual void setGeometry(const Rect& bounds) = 0;
    // The part of the screens windows may use (without panels and docks).
    virtual Rect screenArea() const = 0;
    virtual void setTitle(std::string_view title) = 0;
    virtual void setMenuBar(const MenuBar& menus) = 0;
    // Shows a context menu at a point of the work area; a chosen item
    // arrives as menuChosen.
    virtual void popupMenu(const MenuBar& items, Point at) = 0;

    // Asks for a paint of the whole work area, soon (not inside this call).
    virtual void repaint() = 0;
    virtual std::unique_ptr<FontMetrics> metrics(const Font& font) const = 0;

    virtual void setCursor(CursorKind kind) = 0;
    // Counts setCursor calls, so a container can tell whether anyone set a
    // cursor while it handled an event.
    virtual std::int64_t cursorChanges() const = 0;

    // Queued; delivered to the listener after the current event.
    virtual void postMessage(PostedMessage message) = 0;
    virtual void startTimer(std::int32_t id, std::int32_t milliseconds) = 0;
    virtual void stopTimer(std::int32_t id) = 0;

    // Not modal, needs no answer: a passing notice in the window's message
    // line under the work area, which keeps it until the next one (an
    // empty text clears it). For what informs without asking; whatever the
    // user must not miss is a message box.
    virtual void showStatusMessage(std::string_view text) = 0;
    // Modal; the answer comes back as a kAnswerMessage.
    virtual void showMessageBox(std::string_view text, std::string_view caption,
                                MessageBoxKind kind) = 0;
    // Modal; a chosen path comes back as the request's replyMessage.
    virtual void showFileDialog(const FileDialogRequest& request) = 0;
    // Where file dialogs whose request names no initial path start from
    // now on (empty: wherever the platform starts them).
    virtual void setFileDialogFolder(std::string_view folder) = 0;
    // Starts watching the file at `path` (see FileWatcher).
    virtual std::unique_ptr<FileWatcher> watchFile(const std::string& path,
                                                   std::int32_t replyMessage) = 0;
    // Paints a PNG image through the backend's drawing surface and encodes
    // it into `bytes` (see ImageEncoder.h); not a window's content, so it
    // works whatever the window shows.
    virtual bool encodeImage(Size size, const ImagePainter& paint, std::string& bytes,
                             std::string& error) = 0;

    // Paints a PDF document of A4 pages through `paint` into `bytes`, in
    // memory like an image; false, with the reason in `error`, when it
    // could not be made or `paint` stopped (error then empty).
    virtual bool encodePdf(std::string_view title, const PagePainter& paint, std::string& bytes,
                           std::string& error) = 0;
    // Modal: the system's print dialog with a preview of the pages `paint`
    // draws (perhaps more than once); nothing comes back.
    virtual void showPrintDialog(std::string_view title, PagePainter paint) = 0;

    virtual std::string clipboardText() const = 0;
    virtual void setClipboardText(std::string_view text) = 0;
    // Opens a file or an address with the program the system has for it;
    // false when nothing could be started.
    virtual bool openWithSystem(std::string_view pathOrAddress) = 0;

    // A further top-level window (the source window, small dialogs), shown
    // at once; it lives as long as the returned object. Its listener draws
    // and handles its own events like the main window's.
    virtual std::unique_ptr<Window> openWindow(std::string_view title, const Rect& bounds) = 0;
    // Closing a further window through the platform's own means (its close
    // button) asks the listener (closeRequested); this hides it from the program's side.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // The colours to paint with: the desktop's, or those of the appearance
    // the user chose. All windows of the program share them.
    virtual const Palette& palette() const = 0;
    // System follows the desktop (the listeners hear when it changes); the
    // others are fixed palettes, given to the platform's own menus and
    // dialogs too.
    virtual void setAppearance(Appearance appearance) = 0;

    // Screen readers: the root of what the work area offers them (see
    // Accessible.h); the window keeps it until another one comes. Then
    // what changed in it, as it happens: the backend passes it on to
    // assistive technology, if any listens.
    virtual void setAccessibleRoot(std::shared_ptr<AccessibleNode> root) = 0;
    virtual void accessibleChanged(AccessibleChange change,
                                   const std::shared_ptr<AccessibleNode>& node) = 0;

    // Ends the program's event loop with the status.
    virtual void quit(int status) = 0;
    // Lets the window repaint and take input (a Stop request) during long
    // work on the window's thread; returns at once when nothing waits.
    virtual void processPendingEvents() = 0;
};

}  // namespace qv::toolkit
