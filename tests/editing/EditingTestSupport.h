// The editing tests' work area: the shared headless panel with frames
// placed as the document reader places them, and the whole state that the
// tests compare after every step.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "editing/LayoutTableEditable.h"
#include "editing/TextEditable.h"
#include "tests/support/HeadlessPanel.h"

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

using test::centre;

// The container panel on the headless window, made for each test.
class EditingTest : public ::testing::Test, public test::HeadlessPanel<EditableContainerPanel> {
  protected:
    EditingTest() { panel = make<EditableContainerPanel>(window); }

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

    WorkAreaState state() {
        return {commands().undoCount(), commands().redoCount(), !commands().isClean(),
                layoutText()};
    }
};

}  // namespace qv
