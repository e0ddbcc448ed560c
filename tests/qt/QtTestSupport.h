// What the Qt backend's tests share: a listener that records every event it
// is handed as a line of text, and a shown window on the offscreen platform.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMainWindow>
#include <QTest>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Events.h"
#include "toolkit/qt/QtWindow.h"

namespace qv::toolkit {

// An event's key, mouse kind and modifiers by the toolkit's names, so that
// the rows read as the keys a user presses and stay true whatever numbers
// the codes have. grep "ORDER KEY CODE" and "ORDER MOUSE KIND".
inline std::string keyName(std::int32_t code) {
    static const std::pair<std::int32_t, const char*> names[] = {
        {key::kSelectAll, "select-all"},
        {key::kLeft, "left"},
        {key::kRight, "right"},
        {key::kUp, "up"},
        {key::kDown, "down"},
        {key::kPageUp, "page-up"},
        {key::kPageDown, "page-down"},
        {key::kF2, "F2"},
        {key::kDelete, "delete"},
        {key::kEscape, "escape"},
        {key::kBackspace, "backspace"},
        {key::kTab, "tab"},
        {key::kEnter, "enter"},
        {key::kCharacter, "char"},
        {key::kCopy, "copy"},
        {key::kPaste, "paste"},
        {key::kCut, "cut"},
        {key::kUndo, "undo"},
        {key::kRedo, "redo"},
        {key::kEnd, "end"},
        {key::kHome, "home"},
    };
    for (const auto& [known, name] : names) {
        if (known == code) return name;
    }
    return "code " + std::to_string(code);
}

inline std::string mouseName(MouseKind kind) {
    switch (kind) {
        case MouseKind::Move:
            return "move";
        case MouseKind::Drag:
            return "drag";
        case MouseKind::Press:
            return "press";
        case MouseKind::Release:
            return "release";
        case MouseKind::DoubleClick:
            return "double-click";
        case MouseKind::RightPress:
            return "right-press";
    }
    return "kind " + std::to_string(static_cast<int>(kind));
}

// " shift", " ctrl+alt", or nothing when no modifier is held.
inline std::string modifierNames(std::uint32_t modifiers) {
    static const std::pair<std::uint32_t, const char*> names[] = {
        {modifier::kShift, "shift"}, {modifier::kControl, "ctrl"}, {modifier::kAlt, "alt"}};
    std::string text;
    for (const auto& [bit, name] : names) {
        if ((modifiers & bit) == 0) continue;
        text += (text.empty() ? " " : "+") + std::string(name);
        modifiers &= ~bit;
    }
    if (modifiers != 0) text += " bits " + std::to_string(modifiers);
    return text;
}

inline std::string pointText(Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

class RecordingListener : public WindowListener {
  public:
    // e.g. "mouse press 10,20", "key char é shift", "key copy ctrl",
    // "message 1025 2 ", "menu 7".
    std::vector<std::string> events;
    std::int32_t paints = 0;
    Size lastSize;
    // Called after an event is recorded, so a test can react inside it.
    std::function<void(const std::string&)> onEvent;

    void paint(Graphics& graphics, const Rect& area) override {
        ++paints;
        graphics.setColor({255, 255, 255});
        graphics.fillRect(area);
    }
    void resized(Size size) override { lastSize = size; }
    void mouse(MouseKind kind, Point p, std::uint32_t modifiers) override {
        record("mouse " + mouseName(kind) + " " + pointText(p) + modifierNames(modifiers));
    }
    void wheel(std::int32_t steps, Point p, std::uint32_t modifiers) override {
        record("wheel " + std::to_string(steps) + " " + pointText(p) + modifierNames(modifiers));
    }
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override {
        std::string typed = text.empty() ? "" : " " + std::string(text);
        record("key " + keyName(code) + typed + modifierNames(modifiers));
    }
    void menuChosen(std::int32_t id) override { record("menu " + std::to_string(id)); }
    void message(const PostedMessage& m) override {
        record("message " + std::to_string(m.id) + " " + std::to_string(m.value) + " " + m.text);
    }
    void timer(std::int32_t id) override { record("timer " + std::to_string(id)); }
    void closeRequested() override { record("close"); }
    void paletteChanged() override { record("palette"); }

  private:
    void record(std::string event) {
        events.push_back(event);
        if (onEvent) onEvent(event);
    }
};

// Lets Qt deliver what is queued (posted messages, paints, layout).
inline void settle() {
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
}

// Shows the window, makes it the active one with the keyboard in its work
// area, and lets what that queued be delivered.
inline ::testing::AssertionResult showActive(QtWindow& window) {
    window.frame()->show();
    window.frame()->activateWindow();
    if (!QTest::qWaitForWindowActive(window.frame()))
        return ::testing::AssertionFailure() << "the window never became active";
    window.workArea()->setFocus();
    settle();
    return ::testing::AssertionSuccess();
}

// How many colours a sample of every other pixel holds: text drawn
// smoothed gives a readable window many shades.
inline std::size_t colourCount(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

// A main window of 400 by 300, shown and active, with a recording listener.
class ShownWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<QtWindow>();
        window->setListener(&listener);
        window->frame()->resize(400, 300);
        ASSERT_TRUE(showActive(*window));
        listener.events.clear();
    }
    void TearDown() override { window.reset(); }

    RecordingListener listener;
    std::unique_ptr<QtWindow> window;
};

}  // namespace qv::toolkit
