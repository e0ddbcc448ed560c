// Moving between the views with the keyboard (F6, Ctrl+Tab) and the list
// of keys under Help, made from the menus themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "desktop/KeyboardShortcuts.h"
#include "desktop/MainPanelListener.h"
#include "editing/TitleDecorator.h"
#include "tests/support/ScratchFolder.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace qv {
namespace {

using toolkit::MenuItem;
namespace key = toolkit::key;
namespace modifier = toolkit::modifier;

// Stacked in another order than they read: the top-left view comes second,
// the one below first.
const char* const kThreeViews =
    "table Prices{\r\n    qty:=3!\r\n    price:=12.5!\r\n}\r\n"
    "optimized(40,400) text(\"Below\");\r\n"
    "optimized(40,60) result(Prices);\r\n"
    "optimized(400,60) text(\"Right\");\r\n//--end";

const char* const kNoViews = "table Prices{\r\n    qty:=3!\r\n}\r\n//--end";

struct KeyboardFixture : ::testing::Test {
    void start(const std::string& text) {
        path = folder.file("keys.qvl");
        test::putFileBytes(path, text);
        window = std::make_unique<toolkit::HeadlessWindow>(toolkit::Size{1600, 1200});
        listener = std::make_unique<MainPanelListener>(*window, path);
        window->deliverPosted();
        const FloatLayoutEditable& root = *panel().layoutRoot();
        for (std::int32_t i = 0; i < root.frameCount(); ++i)
            inDocumentOrder.push_back(root.frame(i).get());
        panel().support().select({});
    }
    MainPanel& panel() { return listener->panel(); }
    void press(std::int32_t code, std::uint32_t modifiers) {
        listener->key(code, {}, modifiers);
        window->deliverPosted();
    }
    // The place in the document of the frame the keyboard is in, or -1.
    int focusedFrame() {
        const AbstractEditable* root = panel().layoutRoot().get();
        const Pointer<AbstractEditable>& selected = panel().support().selected();
        for (const AbstractEditable* at = selected.isNull() ? nullptr : selected.get();
             at != nullptr; at = at->parent()) {
            if (at->parent() != root) continue;
            for (std::size_t i = 0; i < inDocumentOrder.size(); ++i)
                if (inDocumentOrder[i] == at) return static_cast<int>(i);
        }
        return -1;
    }
    const AbstractEditable* topFrame() {
        const FloatLayoutEditable& root = *panel().layoutRoot();
        return root.frame(root.frameCount() - 1).get();
    }

    test::ScratchFolder folder;
    std::string path;
    std::unique_ptr<toolkit::HeadlessWindow> window;
    std::unique_ptr<MainPanelListener> listener;
    std::vector<const AbstractEditable*> inDocumentOrder;
};

TEST_F(KeyboardFixture, ViewKeysVisitTheViewsInReadingOrderAndWrapAround) {
    struct Case {
        const char* name;
        std::int32_t code;
        std::uint32_t modifiers;
        // Frames by their place in the document after each press.
        std::vector<int> visits;
    };
    const std::uint32_t ctrl = modifier::kControl;
    const std::uint32_t shift = modifier::kShift;
    const Case cases[] = {
        {"F6", key::kF6, 0, {1, 2, 0, 1, 2}},
        {"Shift+F6", key::kF6, shift, {0, 2, 1, 0, 2}},
        {"Ctrl+Tab", key::kTab, ctrl, {1, 2, 0, 1}},
        {"Ctrl+Shift+Tab", key::kTab, ctrl | shift, {0, 2, 1, 0}},
        // Keys of their own elsewhere: not a move between views.
        {"Ctrl+F6", key::kF6, ctrl, {-1, -1}},
        {"Alt+Tab", key::kTab, modifier::kAlt, {-1, -1}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        start(kThreeViews);
        ASSERT_EQ(inDocumentOrder.size(), 3U);
        for (std::size_t i = 0; i < row.visits.size(); ++i) {
            press(row.code, row.modifiers);
            EXPECT_EQ(focusedFrame(), row.visits[i]) << "press " << i + 1;
            if (row.visits[i] >= 0) {
                EXPECT_EQ(topFrame(), inDocumentOrder[row.visits[i]]);
            }
        }
        listener.reset();
        inDocumentOrder.clear();
    }
}

TEST_F(KeyboardFixture, F6GoesOnFromTheViewClickedIn) {
    start(kThreeViews);
    // The keyboard in the view on the right, as after a click in it.
    panel().showView(cast<TitleDecorator>(panel().layoutRoot()->frame(2))->view());
    ASSERT_EQ(focusedFrame(), 2);
    press(key::kF6, 0);
    EXPECT_EQ(focusedFrame(), 0);
    press(key::kF6, modifier::kShift);
    EXPECT_EQ(focusedFrame(), 2);
}

TEST_F(KeyboardFixture, AnOpenFindPanelIsAStopAfterTheLastView) {
    start(kThreeViews);
    listener->menuChosen(static_cast<std::int32_t>(MenuCommand::Find));
    ASSERT_TRUE(panel().findPanel().hasKeyboard());
    struct Step {
        std::uint32_t modifiers;
        int frame;
        bool findHasKeyboard;
    };
    const Step steps[] = {
        {0, 1, false},
        {0, 2, false},
        {0, 0, false},
        {0, 0, true},
        {0, 1, false},
        {modifier::kShift, 1, true},
        {modifier::kShift, 0, false},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        press(key::kF6, steps[i].modifiers);
        EXPECT_EQ(panel().findPanel().hasKeyboard(), steps[i].findHasKeyboard) << "press " << i + 1;
        EXPECT_EQ(focusedFrame(), steps[i].frame) << "press " << i + 1;
    }
    // Typing goes where F6 left the keyboard: to the find field now.
    press(key::kF6, 0);
    ASSERT_TRUE(panel().findPanel().hasKeyboard());
    listener->key(key::kCharacter, "q", 0);
    EXPECT_EQ(panel().findPanel().query(), "q");
}

TEST_F(KeyboardFixture, AWorkAreaWithoutViewsIgnoresTheViewKeys) {
    start(kNoViews);
    std::string before = panel().layoutSource();
    for (std::uint32_t modifiers : {0U, modifier::kShift})
        press(key::kF6, modifiers);
    press(key::kTab, modifier::kControl);
    EXPECT_TRUE(panel().support().selected().isNull());
    EXPECT_EQ(panel().layoutSource(), before);
    EXPECT_EQ(window->unscriptedDialogs(), 0);
}

TEST(KeyboardShortcuts, ListsEveryKeyOfTheMenusUnderItsMenu) {
    MenuItem save{"Save &As...", 1, "Ctrl+Shift+S", {}};
    MenuItem cut{"&Cut\tCtrl+X", 2, "", {}};
    MenuItem zoom{"Zoom &in", 3, "Ctrl++", {}};
    zoom.alternateShortcut = "Ctrl+=";
    MenuItem plain{"&Import...", 4, "", {}};
    MenuItem amp{"Fish &&& Chips", 5, "F4", {}};
    MenuItem recent{"&Recent", 0, "", {MenuItem{"&1 a.qvl", 6, "Ctrl+1", {}}}};
    toolkit::MenuBar menus{
        MenuItem{"&File", 0, "", {save, plain, MenuItem::separatorItem(), recent}},
        MenuItem{"&Edit", 0, "", {cut, zoom, amp}},
        MenuItem{"&Add", 0, "", {plain}},
    };
    std::vector<ShortcutGroup> groups = shortcutGroups(menus);
    ASSERT_EQ(groups.size(), 3U);
    EXPECT_EQ(groups[0].title, "File");
    EXPECT_EQ(groups[0].lines,
              (std::vector<ShortcutLine>{{"Save As...", "Ctrl+Shift+S"}, {"1 a.qvl", "Ctrl+1"}}));
    EXPECT_EQ(groups[1].title, "Edit");
    EXPECT_EQ(groups[1].lines,
              (std::vector<ShortcutLine>{
                  {"Cut", "Ctrl+X"}, {"Zoom in", "Ctrl++ or Ctrl+="}, {"Fish & Chips", "F4"}}));
    // A menu without keys has no group; the keys without a menu item end it.
    EXPECT_EQ(groups[2].lines.size(), keysWithoutMenuItem().size());
}

// Every key the menu bar shows or binds is in the list, under its menu.
TEST_F(KeyboardFixture, HelpListsTheKeysOfTheMenuBar) {
    start(kNoViews);
    std::vector<std::string> expected;
    for (const MenuItem& menu : panel().menus()) {
        for (const MenuItem& item : menu.items) {
            std::size_t tab = item.caption.find('\t');
            std::string keys =
                tab == std::string::npos ? item.shortcut : item.caption.substr(tab + 1);
            if (!keys.empty()) expected.push_back(keys);
        }
    }
    for (const char* key : {"Ctrl+N", "Ctrl+X", "Del", "F9", "Ctrl+0", "Ctrl+Shift+G"})
        EXPECT_NE(std::find(expected.begin(), expected.end(), key), expected.end()) << key;

    listener->menuChosen(static_cast<std::int32_t>(MenuCommand::KeyboardShortcuts));
    window->deliverPosted();
    ASSERT_EQ(window->dialogs().size(), 1U);
    const std::string& shown = window->dialogs().front();
    EXPECT_TRUE(shown.starts_with("notice: File\n")) << shown;
    for (const std::string& keys : expected)
        EXPECT_NE(shown.find("    " + keys), std::string::npos) << keys;
    for (const ShortcutLine& line : keysWithoutMenuItem())
        EXPECT_NE(shown.find(line.keys + "    " + line.action), std::string::npos) << line.keys;
    EXPECT_NE(shown.find("Ctrl++ or Ctrl+="), std::string::npos);
    // Each key of the menus appears once: none listed twice, none lost.
    std::size_t menuLines = 0;
    for (const ShortcutGroup& group : shortcutGroups(panel().menus()))
        if (group.title != kKeysWithoutMenuItemTitle) menuLines += group.lines.size();
    EXPECT_EQ(menuLines, expected.size());
}

}  // namespace
}  // namespace qv
