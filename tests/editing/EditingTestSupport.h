// A work area on the headless window for the editing tests: frames placed
// as the document reader places them, mouse and key events sent through
// the container panel as the window sends them, and the whole state that
// the tests compare after every step.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/Utf8.h"
#include "editing/EditableContainerPanel.h"
#include "editing/LayoutTableEditable.h"
#include "editing/TextEditable.h"
#include "editing/TitleDecorator.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace qv {

// What a step of a command sequence leaves behind.
struct WorkAreaState {
    std::int32_t undo = 0;
    std::int32_t redo = 0;
    bool modified = false;
    std::string layout;
    friend bool operator==(const WorkAreaState&, const WorkAreaState&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const WorkAreaState& state) {
    return out << "undo=" << state.undo << " redo=" << state.redo << " modified=" << state.modified
               << " layout:\n"
               << state.layout;
}

inline toolkit::Point centre(const toolkit::Rect& rect) {
    return {rect.x + rect.width / 2, rect.y + rect.height / 2};
}

class EditingTest : public ::testing::Test {
  protected:
    toolkit::HeadlessWindow window{{1024, 768}};
    Pointer<EditableContainerPanel> panel = make<EditableContainerPanel>(window);

    EditableSupport& support() { return panel->support(); }
    FloatLayoutEditable& root() { return *panel->layoutRoot(); }
    CommandManager& commands() { return panel->commands(); }

    // A frame added on top and laid out as the document reader does it:
    // width 600, then moved to its corner.
    Pointer<TitleDecorator> addFrame(const Pointer<AbstractEditable>& view,
                                     FramePlacement placement = FramePlacement::Optimized,
                                     toolkit::Point corner = {40, 40}) {
        auto frame = make<TitleDecorator>(view);
        frame->setPlacement(placement);
        root().add(frame);
        frame->layoutWidth(FloatLayoutEditable::kFrameWidthHint);
        frame->moveBy(corner);
        layout();
        return frame;
    }
    Pointer<TitleDecorator> addText(std::string_view text, toolkit::Point corner = {40, 40}) {
        return addFrame(make<TextEditable>(text), FramePlacement::Optimized, corner);
    }
    Pointer<TitleDecorator> inTable(const Pointer<AbstractEditable>& view) {
        return make<TitleDecorator>(view);
    }

    void layout() { support().layoutIfNeeded(); }

    void press(toolkit::Point at, std::uint32_t modifiers = 0) {
        panel->mouse(toolkit::MouseKind::Press, at, modifiers);
    }
    void doubleClick(toolkit::Point at) { panel->mouse(toolkit::MouseKind::DoubleClick, at, 0); }
    void dragTo(toolkit::Point at) { panel->mouse(toolkit::MouseKind::Drag, at, 0); }
    void releaseAt(toolkit::Point at) { panel->mouse(toolkit::MouseKind::Release, at, 0); }
    void moveTo(toolkit::Point at) { panel->mouse(toolkit::MouseKind::Move, at, 0); }
    // Press, two movements, release: the way a hand drags.
    void dragAndDrop(toolkit::Point from, toolkit::Point to) {
        press(from);
        dragTo({(from.x + to.x) / 2, (from.y + to.y) / 2});
        dragTo(to);
        releaseAt(to);
    }
    // By the middle of the frame's title bar, left of its buttons.
    void dragFrame(const Pointer<TitleDecorator>& frame, toolkit::Point to) {
        toolkit::Rect bar = frame->titleBarRect();
        toolkit::Point grip{bar.x + 4, bar.y + bar.height / 2};
        toolkit::Point shifted{to.x + 4, to.y + bar.height / 2};
        dragAndDrop(grip, shifted);
    }
    void pressButton(const Pointer<TitleDecorator>& frame, TitleButton button) {
        press(centre(frame->buttonRect(button)));
        releaseAt(centre(frame->buttonRect(button)));
    }

    void key(std::int32_t code, std::string_view text = {}, std::uint32_t modifiers = 0) {
        panel->key(code, text, modifiers);
    }
    // Each character as its own key event, as the window sends typing.
    void type(std::string_view text) {
        for (std::int32_t at = 0; at < static_cast<std::int32_t>(text.size());) {
            std::int32_t next = utf8::next(text, at);
            key(toolkit::key::kCharacter,
                text.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(next - at)));
            at = next;
        }
    }

    std::string layoutText() { return root().toSource()->toStdString(); }
    WorkAreaState state() {
        layout();
        return {commands().undoCount(), commands().redoCount(), !commands().isClean(),
                layoutText()};
    }
};

}  // namespace qv
