// Where new views go: the first spot in reading order that covers no view
// and fits in the work area, cascading when there is none; through the
// main panel, views added one after another never cover each other and
// the last one takes the keyboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/ViewPlacement.h"
#include "editing/TextEditable.h"
#include "tests/desktop/PanelTestSupport.h"

namespace qv {
namespace {

using test::PanelFixture;
using toolkit::Point;
using toolkit::Rect;
using toolkit::Size;

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

TEST(ViewPlacement, TheFirstFreeSpotInReadingOrderElseACascade) {
    const Rect area{0, 30, 500, 400};
    const PlacementRules rules{{40, 40}, 10, 24};
    struct Case {
        const char* name;
        Size size;
        std::vector<Rect> taken;
        Point spot;
    };
    const Case cases[] = {
        {"an empty area", {100, 50}, {}, {40, 40}},
        {"right of the first view", {100, 50}, {{40, 40, 100, 50}}, {150, 40}},
        {"a view elsewhere leaves the corner free", {100, 50}, {{300, 300, 50, 50}}, {40, 40}},
        {"the next row when the row is full", {100, 50}, {{40, 40, 400, 50}}, {40, 100}},
        {"a gap between two views that is wide enough",
         {100, 50},
         {{40, 40, 100, 50}, {300, 40, 100, 50}},
         {150, 40}},
        {"below the lowest view of a column",
         {100, 50},
         {{40, 40, 455, 50}, {40, 100, 455, 60}},
         {40, 170}},
        {"a view taller than the area counts as filling it", {100, 1000}, {}, {40, 40}},
        {"no room: cascaded", {100, 50}, {{0, 30, 500, 400}}, {64, 64}},
        {"the cascade skips corners in use",
         {100, 50},
         {{0, 30, 500, 400}, {64, 64, 100, 50}},
         {88, 88}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Point spot = freeSpotFor(c.size, c.taken, area, rules);
        EXPECT_EQ(spot.x, c.spot.x);
        EXPECT_EQ(spot.y, c.spot.y);
    }
}

// The cascade stays in the area: past its lowest corner it starts again
// further right, and when the area holds no more corners the first is
// shared.
TEST(ViewPlacement, TheCascadeNeverLeavesTheArea) {
    const PlacementRules rules{{40, 40}, 10, 24};
    struct Case {
        const char* name;
        Rect area;
        std::int32_t corners;  // cascaded views there already
        Point spot;
    };
    const Case cases[] = {
        // 14 corners from (64, 64) down to (376, 376) above the bottom at 430.
        {"the second lap", {0, 30, 500, 400}, 14, {112, 64}},
        {"the second lap's next", {0, 30, 500, 400}, 15, {136, 88}},
        {"no corner left", {0, 30, 150, 150}, 3, {64, 64}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Rect> taken{c.area};
        Point spot{0, 0};
        for (std::int32_t i = 0; i <= c.corners; ++i) {
            spot = freeSpotFor({100, 50}, taken, c.area, rules);
            taken.push_back({spot.x, spot.y, 100, 50});
            EXPECT_LE(spot.y + 24, c.area.bottom());
            EXPECT_LE(spot.x + 24, c.area.right());
        }
        EXPECT_EQ(spot.x, c.spot.x);
        EXPECT_EQ(spot.y, c.spot.y);
    }
}

// Text areas, the properties and the project view added through the Add
// menu: no two frames overlap while there is room, and typing goes into
// the view added last.
TEST(ViewPlacement, AddedViewsCoverNothingAndTakeTheKeyboard) {
    PanelFixture f;
    f.start();
    const MenuCommand added[] = {MenuCommand::TextArea, MenuCommand::Properties,
                                 MenuCommand::TextArea, MenuCommand::Panel,
                                 MenuCommand::Project,  MenuCommand::TextArea};
    for (MenuCommand command : added) {
        f.choose(command);
        f.layout();
        std::int32_t count = f.root().frameCount();
        SCOPED_TRACE(count);
        for (std::int32_t i = 0; i < count; ++i) {
            for (std::int32_t j = i + 1; j < count; ++j) {
                EXPECT_FALSE(overlap(f.frame(i)->bounds(), f.frame(j)->bounds())) << f.layoutText();
            }
        }
        // The new frame is the last one; its view (or what it shows) holds
        // the selection.
        const Pointer<AbstractEditable>& selected = f.panel->support().selected();
        ASSERT_FALSE(selected.isNull());
        EXPECT_TRUE(selected->isFocused());
        const AbstractEditable* at = selected.get();
        while (at != nullptr && at != f.frame(count - 1).get())
            at = at->parent();
        EXPECT_NE(at, nullptr) << "the selection is not in the new view";
    }
    f.type("hi");
    auto last = cast<TextEditable>(f.frame(f.root().frameCount() - 1)->view());
    ASSERT_FALSE(last.isNull());
    EXPECT_EQ(std::string(last->text()), "hi");
}

// A full work area: each further view is cascaded to a corner no other
// view starts at, inside the area, so every title bar can still be reached.
TEST(ViewPlacement, AFullWorkAreaCascades) {
    PanelFixture f;
    f.start();
    for (int i = 0; i < 40; ++i)
        f.choose(MenuCommand::Properties);
    f.layout();
    std::vector<Point> corners;
    Rect area = f.panel->support().visibleArea();
    for (std::int32_t i = 0; i < f.root().frameCount(); ++i) {
        Rect bounds = f.frame(i)->bounds();
        EXPECT_LE(bounds.y + f.frame(i)->titleBarHeight(), area.bottom());
        EXPECT_LT(bounds.x + 40, area.right());
        for (Point corner : corners)
            EXPECT_FALSE(corner.x == bounds.x && corner.y == bounds.y) << f.layoutText();
        corners.push_back({bounds.x, bounds.y});
    }
    EXPECT_EQ(corners.size(), 41u);
    // Forty properties views do not fit side by side: the cascade began.
    EXPECT_NE(std::find_if(corners.begin(), corners.end(),
                           [](Point corner) { return corner.x == 64 && corner.y == 64; }),
              corners.end());
}

}  // namespace
}  // namespace qv
