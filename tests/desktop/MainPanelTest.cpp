// The main panel on the headless window: start-up, the menus exactly as
// the program shows them, the Add menu's views with undo and redo, the
// Edit items acting as their keys, the context menu of the empty work
// area, and the help items. After every step the whole state is compared.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Number.h"
#include "views/PropertyList.h"

#include "editing/TextEditable.h"
#include "tests/desktop/PanelTestSupport.h"

namespace qv {
namespace {

using test::PanelFixture;
namespace key = toolkit::key;

const std::string kDefaultLayout = "optimized(40,40) project(Table1);\n";

// A menu as one line: "&File: &New [Ctrl+N] | &Open [Ctrl+O] | ...".
std::string menuLine(const toolkit::MenuItem& menu) {
    std::string line = menu.caption + ":";
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const toolkit::MenuItem& item = menu.items[i];
        line += (i == 0 ? " " : " | ") + item.caption;
        if (!item.shortcut.empty()) line += " [" + item.shortcut + "]";
    }
    return line;
}

std::vector<std::string> menuLines(const toolkit::MenuBar& menus) {
    std::vector<std::string> lines;
    for (const toolkit::MenuItem& menu : menus)
        lines.push_back(menuLine(menu));
    return lines;
}

TEST(MainPanelStart, OpensTheFileNamedAtStartOrTheDefaultDocument) {
    struct Case {
        const char* name;  // nullptr: no start-up path
        const char* text;
        std::string state;
    };
    const Case cases[] = {
        {nullptr, "",
         "undo=0 redo=0 modified=no exit=none title=Untitled - Quorvatelle\n" + kDefaultLayout},
        {"model.qvl", "table T{a:=1!}\nmaximized text(\"note\");\n",
         "undo=0 redo=0 modified=no exit=none title=model.qvl - Quorvatelle[Text]\n"
         "maximized text(\"note\");\n"},
        {"two.qvl", "optimized(10,20) text(\"a\");\nfloating(30,40) result(T);",
         "undo=0 redo=0 modified=no exit=none title=two.qvl - Quorvatelle\n"
         "optimized(10,20) text(\"a\");\noptimized(30,40) result(T);\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        PanelFixture f;
        if (c.name == nullptr) {
            f.start();
        } else {
            f.startOn(c.name, c.text);
        }
        EXPECT_EQ(f.state(), c.state);
        EXPECT_TRUE(f.window.dialogs().empty());
        EXPECT_EQ(f.window.menuBar().size(), 5u);
    }
}

TEST(MainPanelStart, AMissingFileIsOfferedForCreationAndCancelEndsNormally) {
    PanelFixture f;
    std::string path = f.folder.file("new.qvl");
    f.window.scriptAnswer(toolkit::Answer::Cancel);
    f.start(path);
    EXPECT_EQ(f.lastDialog(),
              "question: can not open " + path +
                  ": No such file or directory \n\nDo you want to create this file?");
    EXPECT_EQ(f.window.exitStatus(), 0);
}

TEST(MainPanelMenus, TheMenuBarAndTheContextMenuAreExactlyAsListed) {
    PanelFixture f;
    f.start();
    const std::vector<std::string> file = {
        "&File: &New [Ctrl+N] | &Open [Ctrl+O] | &Recent | &Save [Ctrl+S] | "
        "Save &As... [Ctrl+Shift+S] | "
        "&Import... | &Export table... | &Print... [Ctrl+P] | Export P&DF... | "
        "E&xit [Ctrl+Q]"};
    const std::string view =
        "&View: &Source | &Compute [F9] |  | Zoom &in [Ctrl++] | Zoom &out [Ctrl+-] | "
        "&Normal size (now 100 %) [Ctrl+0] |  | &Appearance";
    const std::string add =
        "&Add: P&anel | &Text area | &Project | P&roperties | E&xplain | &Where used";
    const std::string help =
        "&Help: &Html Documentation | &Keyboard Shortcuts | &Browse Quorvatelle web site... | "
        "&About";
    EXPECT_EQ(menuLines(f.window.menuBar()),
              (std::vector<std::string>{
                  file[0],
                  "&Edit: &Cut\tCtrl+X | &Copy\tCtrl+C | &Paste\tCtrl+V | &Delete\tDel | "
                  "Select A&ll\tCtrl+A | Delete f&ield | Delete &table | &Find... [Ctrl+F] | "
                  "&Replace... [Ctrl+H] | "
                  "Find &next [F3] | Find pre&vious [Shift+F3] | &Go to cause [Ctrl+Shift+G]",
                  view, add, help}));
    EXPECT_EQ(f.panel->menuBarPopup().caption, "menu");
    EXPECT_EQ(menuLines(f.panel->menuBarPopup().items),
              (std::vector<std::string>{file[0], view, add, help}));
}

// A right press on the work area's background offers the menus; one on a
// view or on the formula bar does not.
TEST(MainPanelMenus, ARightPressOnTheEmptyWorkAreaShowsTheContextMenu) {
    struct Case {
        const char* where;
        toolkit::Point at;
        bool popup;
    };
    const Case cases[] = {
        {"background", {900, 700}, true},
        {"frame", {50, 50}, false},
        {"formula bar", {300, 5}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        PanelFixture f;
        f.start();
        f.layout();
        f.mouse(toolkit::MouseKind::RightPress, c.at);
        EXPECT_EQ(f.window.lastPopup().size(), c.popup ? 4u : 0u);
        if (c.popup) {
            EXPECT_EQ(f.window.lastPopup()[0].caption, "&File");
        }
    }
}

// Each Add item puts its view at the first free spot (beside or below the
// views there are) as one undoable step; the project view is added outside
// the history but still counts as a change.
TEST(MainPanelAdd, AddedViewsUndoAndRedoAndMarkTheDocument) {
    struct Step {
        const char* what;
        std::function<void(PanelFixture&)> act;
        std::string state;
    };
    const std::string modified = " modified=yes exit=none title=Untitled *  - Quorvatelle\n";
    const std::string text = "optimized(650,40) text(\"\");\n";
    const std::string panel = "optimized(780,40) ltable{\n    lrow{\n        ;\n    }\n}\n";
    const std::string properties = "optimized(650,140) properties();\n";
    const std::string project = "optimized(40,230) project(Table1);\n";
    auto choose = [](MenuCommand command) {
        return [command](PanelFixture& f) { f.choose(command); };
    };
    auto press = [](std::int32_t code) { return [code](PanelFixture& f) { f.key(code); }; };
    const Step steps[] = {
        {"text area", choose(MenuCommand::TextArea),
         "undo=1 redo=0" + modified + kDefaultLayout + text},
        {"panel", choose(MenuCommand::Panel),
         "undo=2 redo=0" + modified + kDefaultLayout + text + panel},
        {"undo", press(key::kUndo), "undo=1 redo=1" + modified + kDefaultLayout + text},
        {"redo", press(key::kRedo), "undo=2 redo=0" + modified + kDefaultLayout + text + panel},
        {"properties", choose(MenuCommand::Properties),
         "undo=3 redo=0" + modified + kDefaultLayout + text + panel + properties},
        {"project", choose(MenuCommand::Project),
         "undo=3 redo=0" + modified + kDefaultLayout + text + panel + properties + project},
        {"undo three",
         [](PanelFixture& f) {
             for (int i = 0; i < 3; ++i)
                 f.key(key::kUndo);
         },
         "undo=0 redo=3" + modified + kDefaultLayout + project},
    };
    PanelFixture f;
    f.start();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act(f);
        EXPECT_EQ(f.state(), step.state);
    }
    // The added frames are top-level frames at the spot given.
    f.key(key::kRedo);
    EXPECT_EQ(f.frame(2)->bounds().x, 650);
    EXPECT_EQ(f.frame(2)->placement(), FramePlacement::Optimized);
}

// The project view is added outside the history, so it cannot be undone;
// the document still counts as changed, so that nothing drops it unasked.
TEST(MainPanelAdd, TheProjectViewIsNoStepButStillAChange) {
    PanelFixture f;
    f.start();
    f.choose(MenuCommand::Project);
    EXPECT_EQ(f.state(), "undo=0 redo=0 modified=yes exit=none title=Untitled *  - Quorvatelle\n" +
                             kDefaultLayout + "optimized(40,230) project(Table1);\n");
    f.choose(MenuCommand::New);
    EXPECT_EQ(f.lastDialog(),
              "question: The untitled file has changed,\n\nDo you want to save it?");
}

// The Edit items act exactly as their keys in the view that has the focus.
TEST(MainPanelEdit, EditItemsActAsTheirKeys) {
    PanelFixture f;
    f.startOn("notes.qvl", "optimized(40,40) text(\"hello world\");");
    f.click(f.inside(0));
    auto text = cast<TextEditable>(f.frame(0)->view());
    ASSERT_FALSE(text.isNull());
    ASSERT_TRUE(text->isFocused());
    struct Step {
        MenuCommand command;
        const char* text;
        const char* clipboard;
        std::int32_t undo;
    };
    const Step steps[] = {
        {MenuCommand::SelectAll, "hello world", "", 0},
        {MenuCommand::Copy, "hello world", "hello world", 0},
        {MenuCommand::Cut, "", "hello world", 1},
        {MenuCommand::Paste, "hello world", "hello world", 2},
        {MenuCommand::SelectAll, "hello world", "hello world", 2},
        {MenuCommand::Delete, "", "hello world", 3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(static_cast<int>(step.command));
        f.choose(step.command);
        EXPECT_EQ(text->text(), step.text);
        EXPECT_EQ(f.window.clipboardText(), step.clipboard);
        EXPECT_EQ(f.panel->commands().undoCount(), step.undo);
    }
    EXPECT_EQ(f.window.title(), "notes.qvl *  - Quorvatelle");
    // Delete with the frame itself selected removes the view, undoably.
    f.click({f.frame(0)->bounds().x + 4, f.frame(0)->bounds().y + 4});
    f.choose(MenuCommand::Delete);
    EXPECT_EQ(f.layoutText(), "");
    f.key(key::kUndo);
    EXPECT_EQ(f.layoutText(), "optimized(40,40) text(\"\");\n");
}

TEST(MainPanelHelp, HelpOpensTheGuideAndAboutNamesTheProduct) {
    PanelFixture f;
    f.start();
    f.choose(MenuCommand::HtmlDocumentation);
    f.choose(MenuCommand::WebSite);
    ASSERT_EQ(f.window.opened().size(), 2u);
    for (const std::string& opened : f.window.opened())
        EXPECT_TRUE(opened.ends_with("docs/index.html")) << opened;
    f.choose(MenuCommand::About);
    EXPECT_TRUE(f.lastDialog().starts_with("notice: Quorvatelle")) << f.lastDialog();
    // The answer to the About box continues no flow.
    EXPECT_EQ(f.panel->flow().state(), FlowState::Idle);
    EXPECT_FALSE(f.panel->flow().isModified());
}

TEST(MainPanelProperties, TheDocumentPropertiesFollowTheLoadedKernel) {
    PanelFixture f;
    f.start();
    auto properties = cast<PropertyList>(f.panel->getProperties());
    ASSERT_FALSE(properties.isNull());
    EXPECT_EQ(properties->propertyCount(), 3);
    EXPECT_EQ(properties->propertyName(2)->toStdString(), "Hide repeat values");
    properties->setProperty(2, make<Boolean>(false));
    EXPECT_FALSE(f.panel->kernel()->getOptionFlag());
    f.window.scriptAnswer(toolkit::Answer::No);
    f.choose(MenuCommand::New);
    // A new document has a new kernel; the properties ask for the current one.
    EXPECT_TRUE(f.panel->kernel()->getOptionFlag());
    EXPECT_EQ(properties->propertyValue(2)->toString()->toStdString(), "true");
}

}  // namespace
}  // namespace qv
