// Where new views go: the first spot in reading order that covers no view
// and fits in the work area, cascading when there is none; through the
// main panel, views added one after another never cover each other and
// the last one takes the keyboard.
#include <gtest/gtest.h>

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
        f.panel->support().layoutIfNeeded();
        std::int32_t count = f.root().frameCount();
        SCOPED_TRACE(count);
        for (std::int32_t i = 0; i < count; ++i) {
            for (std::int32_t j = i + 1; j < count; ++j) {
                EXPECT_FALSE(overlap(f.frame(i)->bounds(), f.frame(j)->bounds())) << f.layout();
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
// view starts at, so every title bar can still be reached.
TEST(ViewPlacement, AFullWorkAreaCascades) {
    PanelFixture f;
    f.start();
    for (int i = 0; i < 40; ++i)
        f.choose(MenuCommand::TextArea);
    f.panel->support().layoutIfNeeded();
    std::vector<Point> corners;
    for (std::int32_t i = 0; i < f.root().frameCount(); ++i) {
        Rect bounds = f.frame(i)->bounds();
        for (Point corner : corners)
            EXPECT_FALSE(corner.x == bounds.x && corner.y == bounds.y) << f.layout();
        corners.push_back({bounds.x, bounds.y});
    }
    EXPECT_EQ(corners.size(), 41u);
}

}  // namespace
}  // namespace qv
