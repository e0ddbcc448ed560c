// The plain controls of the desktop's panels and dialogs, as drawn: the
// tick stays centred in check boxes of any size, the caption of a button
// in its face.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/ControlPainting.h"
#include "toolkit/headless/HeadlessGraphics.h"

namespace qv {
namespace {

const toolkit::Font kFont{"Sans", 16, false};

TEST(ControlPainting, CheckSquaresCentreTheirTick) {
    const struct {
        toolkit::Rect box;
        bool checked;
        std::vector<std::string> calls;
    } rows[] = {
        // The find panel's boxes.
        {{10, 20, 11, 11},
         true,
         {"fill 10,20 11x11 #ffffff", "rect 10,20 11x11 #8c8c8c",
          "polyline 12,25 14,28 19,22 #202020"}},
        // The open-table dialog's.
        {{10, 20, 13, 13},
         true,
         {"fill 10,20 13x13 #ffffff", "rect 10,20 13x13 #8c8c8c",
          "polyline 13,26 15,29 20,23 #202020"}},
        {{0, 0, 13, 13}, false, {"fill 0,0 13x13 #ffffff", "rect 0,0 13x13 #8c8c8c"}},
    };
    for (const auto& row : rows) {
        toolkit::HeadlessGraphics graphics({200, 100});
        paintCheckSquare(graphics, toolkit::Palette::light(), row.box, row.checked);
        EXPECT_EQ(graphics.calls(), row.calls) << row.box.width << " " << row.checked;
    }
}

TEST(ControlPainting, PushButtonsCentreTheirCaptionInTheirFrame) {
    const struct {
        toolkit::Rect area;
        const char* caption;
        toolkit::Color frame;
        std::vector<std::string> calls;
    } rows[] = {
        {{0, 0, 80, 24},
         "Stop",
         {140, 140, 140},
         {"fill 0,0 80x24 #f5f5f5", "rect 0,0 79x23 #8c8c8c", "text 24,16 Stop"}},
        {{10, 30, 61, 20},
         "Open",
         {58, 110, 165},
         {"fill 10,30 61x20 #f5f5f5", "rect 10,30 60x19 #3a6ea5", "text 24,44 Open"}},
    };
    for (const auto& row : rows) {
        toolkit::HeadlessGraphics graphics({200, 100});
        graphics.setFont(kFont);
        graphics.clearCalls();
        paintPushButton(graphics, toolkit::Palette::light(), row.area, row.caption, row.frame);
        EXPECT_EQ(graphics.calls(), row.calls) << row.caption;
        EXPECT_EQ(centredBaseline(row.area, graphics.metrics()),
                  row.area.y + (row.area.height + 12 - 4) / 2);
    }
}

}  // namespace
}  // namespace qv
