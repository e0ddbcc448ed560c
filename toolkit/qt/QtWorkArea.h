// The widgets behind a QtWindow: the frame (a main window with its menu
// bar, whose close button asks the listener) and the work area, which
// hands paints, mouse, wheel and key events to the listener with the
// framework's kinds and codes, and delivers posted messages one per event
// of Qt's queue, in the order they were posted.
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <deque>

#include "toolkit/Window.h"
#include "toolkit/qt/QtAccessible.h"

namespace qv::toolkit {

class QtWorkArea final : public QWidget {
  public:
    explicit QtWorkArea(QWidget* parent);
    ~QtWorkArea() override;

    void setListener(WindowListener* listener) { m_listener = listener; }
    WindowListener* listener() const noexcept { return m_listener; }

    // What screen readers are offered of the work area.
    QtAccessibility& accessibility() noexcept { return m_accessibility; }

    // Queued behind the events already waiting.
    void post(PostedMessage message);

    // While the program pumps events during long work, posted messages wait
    // until the pump returns: they carry dialog answers and steps of the
    // document flow, which must not run in the middle of a computation.
    static void beginPump();
    static void endPump();
    // Tells the listeners of all work areas that have not heard of the
    // program's latest palette, and repaints them.
    static void tellPaletteEverywhere();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    // Tab is a key of the editables, not a move to the next widget.
    bool focusNextPrevChild(bool) override { return false; }

  private:
    void sendMouse(MouseKind kind, QMouseEvent* event);
    void deliverOne();
    void tellPalette();

    WindowListener* m_listener = nullptr;
    std::deque<PostedMessage> m_posted;
    std::int32_t m_deferred = 0;        // deliveries held back by a pump
    std::int32_t m_wheelRemainder = 0;  // eighths of a degree short of a notch
    std::int64_t m_paletteVersion;      // the palette the listener knows
    QtAccessibility m_accessibility{*this};
};

class QtFrame final : public QMainWindow {
  public:
    QtFrame();
    QtWorkArea* workArea() const noexcept { return m_workArea; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QtWorkArea* m_workArea;
};

}  // namespace qv::toolkit
