// The main panel on the headless window: started as the program starts it,
// driven by menu commands, keys and mouse events as the window sends them,
// with the dialogs answered from a script; and the whole state a step may
// change, as one text the tests compare after every step.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "desktop/MainPanel.h"
#include "editing/TitleDecorator.h"
#include "tests/app/AppTestSupport.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace qv::test {

struct PanelFixture {
    PanelFixture() = default;
    PanelFixture(const PanelFixture&) = delete;
    PanelFixture& operator=(const PanelFixture&) = delete;

    // The panel on a document written to `name` in the scratch folder (no
    // document: the default one), with the answers it asks for delivered.
    void startOn(std::string_view name, std::string_view text) {
        std::string path = folder.file(name);
        putFileBytes(path, text);
        start(path);
    }
    void start(const std::string& startupPath = "") {
        panel = make<MainPanel>(window, startupPath);
        window.deliverPosted();
    }

    void choose(MenuCommand command) {
        panel->menuChosen(static_cast<std::int32_t>(command));
        window.deliverPosted();
    }
    void key(std::int32_t code, std::string_view text = {}, std::uint32_t modifiers = 0) {
        panel->key(code, text, modifiers);
        window.deliverPosted();
    }
    void type(std::string_view text) {
        for (char ch : text)
            key(toolkit::key::kCharacter, std::string_view(&ch, 1));
    }
    void mouse(toolkit::MouseKind kind, toolkit::Point at) {
        panel->mouse(kind, at, 0);
        window.deliverPosted();
    }
    void click(toolkit::Point at) {
        mouse(toolkit::MouseKind::Press, at);
        mouse(toolkit::MouseKind::Release, at);
    }

    FloatLayoutEditable& root() const { return *panel->layoutRoot(); }
    Pointer<TitleDecorator> frame(std::int32_t index) const {
        return cast<TitleDecorator>(root().frame(index));
    }
    // A point inside a frame's view, below its title bar.
    toolkit::Point inside(std::int32_t index) const {
        panel->support().layoutIfNeeded();
        toolkit::Rect bounds = frame(index)->bounds();
        return {bounds.x + 10, bounds.y + frame(index)->titleBarHeight() + 8};
    }

    // The document as the program would write it now (without the end mark).
    std::string document() const {
        panel->support().layoutIfNeeded();
        return panel->toSource()->toStdString();
    }
    // The layout part of the document.
    std::string layout() const {
        panel->support().layoutIfNeeded();
        return root().toSource()->toStdString();
    }
    // One line of everything a command may change, and the layout text.
    std::string state() const {
        const CommandManager& commands = panel->commands();
        std::optional<int> exit = window.exitStatus();
        return "undo=" + std::to_string(commands.undoCount()) +
               " redo=" + std::to_string(commands.redoCount()) +
               " modified=" + (panel->flow().isModified() ? "yes" : "no") +
               " exit=" + (exit ? std::to_string(*exit) : "none") + " title=" + window.title() +
               "\n" + layout();
    }
    std::string lastDialog() const {
        return window.dialogs().empty() ? "(none)" : window.dialogs().back();
    }

    ScratchFolder folder;
    toolkit::HeadlessWindow window{{1024, 768}};
    Pointer<MainPanel> panel;
};

}  // namespace qv::test
