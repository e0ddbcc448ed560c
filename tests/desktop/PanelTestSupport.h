// The main panel on the shared headless panel fixture: started as the
// program starts it, driven by menu commands besides keys and mouse events,
// with the dialogs answered from a script; and the whole state a step may
// change, as one text the tests compare after every step.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "desktop/MainPanel.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/HeadlessPanel.h"

namespace qv::test {

struct PanelFixture : HeadlessPanel<MainPanel> {
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

    // The document as the program would write it now (without the end mark).
    std::string document() const {
        layout();
        return panel->toSource()->toStdString();
    }
    // One line of everything a command may change, and the layout text.
    std::string state() const {
        const CommandManager& history = commands();
        std::optional<int> exit = window.exitStatus();
        return "undo=" + std::to_string(history.undoCount()) +
               " redo=" + std::to_string(history.redoCount()) +
               " modified=" + (panel->flow().isModified() ? "yes" : "no") +
               " exit=" + (exit ? std::to_string(*exit) : "none") + " title=" + window.title() +
               "\n" + layoutText();
    }

    ScratchFolder folder;
};

}  // namespace qv::test
