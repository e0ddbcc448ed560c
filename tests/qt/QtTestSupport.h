// What the Qt backend's tests share: a listener that records every event it
// is handed as a line of text, and a shown window on the offscreen platform.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMainWindow>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/qt/QtWindow.h"

namespace qv::toolkit {

class RecordingListener : public WindowListener {
  public:
    // e.g. "mouse 8 10,20 0", "key 14 é 1", "message 1025 2 ", "menu 7".
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
        record("mouse " + std::to_string(static_cast<int>(kind)) + " " + std::to_string(p.x) + "," +
               std::to_string(p.y) + " " + std::to_string(modifiers));
    }
    void wheel(std::int32_t steps, Point p, std::uint32_t modifiers) override {
        record("wheel " + std::to_string(steps) + " " + std::to_string(p.x) + "," +
               std::to_string(p.y) + " " + std::to_string(modifiers));
    }
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override {
        record("key " + std::to_string(code) + " " + std::string(text) + " " +
               std::to_string(modifiers));
    }
    void menuChosen(std::int32_t id) override { record("menu " + std::to_string(id)); }
    void message(const PostedMessage& m) override {
        record("message " + std::to_string(m.id) + " " + std::to_string(m.value) + " " + m.text);
    }
    void timer(std::int32_t id) override { record("timer " + std::to_string(id)); }
    void closeRequested() override { record("close"); }

  private:
    void record(std::string event) {
        events.push_back(event);
        if (onEvent) onEvent(event);
    }
};

// A main window of 400 by 300, shown and active, with a recording listener.
class ShownWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<QtWindow>();
        window->setListener(&listener);
        window->frame()->resize(400, 300);
        window->frame()->show();
        window->frame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window->frame()));
        window->workArea()->setFocus();
        settle();
        listener.events.clear();
    }
    void TearDown() override { window.reset(); }

    // Lets Qt deliver what is queued (posted messages, paints, layout).
    static void settle() {
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::processEvents();
    }

    RecordingListener listener;
    std::unique_ptr<QtWindow> window;
};

}  // namespace qv::toolkit
