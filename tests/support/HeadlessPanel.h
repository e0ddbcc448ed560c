// The one fixture of the desktop tests: a headless window, and on it a
// work area (the editable container panel or the main panel built on it)
// driven by keys and mouse events as the window sends them. After every
// event the window delivers what was posted meanwhile, as the real event
// loop does, so dialog answers and deferred steps arrive before the test
// looks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Pointer.h"
#include "core/Utf8.h"
#include "editing/EditableContainerPanel.h"
#include "editing/FloatLayoutEditable.h"
#include "editing/TitleDecorator.h"
#include "toolkit/Events.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace qv::test {

inline toolkit::Point centre(const toolkit::Rect& rect) {
    return {rect.x + rect.width / 2, rect.y + rect.height / 2};
}

// The window alone, for fixtures that put something other than a work
// area on it.
struct HeadlessWindowFixture {
    HeadlessWindowFixture() = default;
    HeadlessWindowFixture(const HeadlessWindowFixture&) = delete;
    HeadlessWindowFixture& operator=(const HeadlessWindowFixture&) = delete;

    // The last dialog the window showed, as its script recorded it.
    std::string lastDialog() const {
        return window.dialogs().empty() ? "(none)" : window.dialogs().back();
    }

    toolkit::HeadlessWindow window;
};

// `Panel` is EditableContainerPanel or a panel built on it; the fixture
// that uses it makes the panel on `window`.
template <class Panel>
struct HeadlessPanel : HeadlessWindowFixture {
    EditableSupport& support() const { return panel->support(); }
    FloatLayoutEditable& root() const { return *panel->layoutRoot(); }
    CommandManager& commands() const { return panel->commands(); }
    Pointer<TitleDecorator> frame(std::int32_t index) const {
        return cast<TitleDecorator>(root().frame(index));
    }

    void layout() const { support().layoutIfNeeded(); }
    // The layout part of the document, as it would be written now.
    std::string layoutText() const {
        layout();
        return root().toSource()->toStdString();
    }
    // A point inside a frame's view, below its title bar.
    toolkit::Point inside(std::int32_t index) const {
        layout();
        toolkit::Rect bounds = frame(index)->bounds();
        return {bounds.x + 10, bounds.y + frame(index)->titleBarHeight() + 8};
    }

    void key(std::int32_t code, std::string_view text = {}, std::uint32_t modifiers = 0) {
        panel->key(code, text, modifiers);
        window.deliverPosted();
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

    void mouse(toolkit::MouseKind kind, toolkit::Point at, std::uint32_t modifiers = 0) {
        panel->mouse(kind, at, modifiers);
        window.deliverPosted();
    }
    void press(toolkit::Point at, std::uint32_t modifiers = 0) {
        mouse(toolkit::MouseKind::Press, at, modifiers);
    }
    void releaseAt(toolkit::Point at) { mouse(toolkit::MouseKind::Release, at); }
    void doubleClick(toolkit::Point at) { mouse(toolkit::MouseKind::DoubleClick, at); }
    void dragTo(toolkit::Point at) { mouse(toolkit::MouseKind::Drag, at); }
    void moveTo(toolkit::Point at) { mouse(toolkit::MouseKind::Move, at); }
    void click(toolkit::Point at) {
        press(at);
        releaseAt(at);
    }
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
        click(centre(frame->buttonRect(button)));
    }

    Pointer<Panel> panel;
};

}  // namespace qv::test
