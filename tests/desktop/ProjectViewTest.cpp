// The project view: the tree of tables with its lines, expanding and
// collapsing by keys and clicks, "&Open" and "&Navigate to" on its nodes,
// the list of tables beside it and the "&Project" menu item; and the
// properties view following the selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ModelEditor.h"
#include "tests/desktop/PanelTestSupport.h"
#include "tests/kernel/ModelTestSupport.h"
#include "views/ProjectEditable.h"
#include "views/PropertiesEditable.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

// A view property is no model edit: the editor these toggles get has no
// program.
const Pointer<ModelEditor> noModel = make<ModelEditor>(Pointer<ProgramDef>(), nullptr);

using test::PanelFixture;
namespace key = toolkit::key;

constexpr std::string_view kProject =
    "table T{ x:=range 1 to 3! y:=x*2! }\ntable U{ c:=1! }\noptimized(10,10) project(U);\n";

std::string lines(const TablesTreeModel& model) {
    std::string text;
    for (const TreeNode& node : model.lines())
        text += std::string(static_cast<std::size_t>(node.depth), '.') + node.text + " ";
    return text;
}

TEST(ProjectView, TheTreeListsTablesThenFieldsAndBoundedRows) {
    Pointer<Kernel> kernel = test::loadModel(
        "table T{ x:=range 1 to 3! y:=x*2! } table Big{ n:=range 1 to 250! } "
        "table [My table]{ 1! }");
    auto model = make<TablesTreeModel>(kernel);
    model->rebuild();
    struct Step {
        std::int32_t line;
        bool expand;
        const char* lines;
    };
    const Step steps[] = {
        {0, true, "T .x .y .[1] .[2] .[3] Big My table "},
        {6, true,
         "T .x .y .[1] .[2] .[3] Big .n .[1] .[2] .[3] .[4] .[5] .[6] .[7] .[8] .[9] .[10] "},
        {0, false, "T Big .n .[1] "},
        {1, false, "T Big My table "},
        {2, true, "T Big My table .(0) "},
        {3, true, "T Big My table .(0) "},  // a field does not expand
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.line);
        model->setExpanded(step.line, step.expand);
        std::string shown = lines(*model);
        EXPECT_EQ(shown.substr(0, std::string(step.lines).size()), step.lines);
    }
    model->setExpanded(1, true);
    // T, Big, n, the rows listed, then the rest counted.
    const TreeNode& more = model->lines()[3 + TablesTreeModel::kMostRows];
    EXPECT_EQ(more.text, "... 150 more rows");
    EXPECT_EQ(more.kind, TreeNode::Kind::MoreRows);
    EXPECT_EQ(model->lineCount(), 3 + TablesTreeModel::kMostRows + 1 + 2);
}

struct ProjectFixture : PanelFixture {
    ProjectFixture() { startOn("project.qvl", kProject); }
    ProjectEditable& project() const { return *cast<ProjectEditable>(frame(0)->view()); }
    TreeEditable& tree() const { return *project().tree(); }
    std::string current() const {
        return tree().model()->lines()[static_cast<std::size_t>(tree().currentLine())].text;
    }
    // A click on the middle of a tree line, through the window.
    void clickLine(std::int32_t line) {
        layout();
        toolkit::Rect row = tree().lineRect(line);
        toolkit::Point shift = tree().layoutPoint({0, 0});
        click({row.x + 60 - shift.x, row.y + row.height / 2 - shift.y});
    }
};

TEST(ProjectView, StartsOnItsTableAndMovesByKeysAndClicks) {
    ProjectFixture f;
    EXPECT_EQ(f.frame(0)->getTitle()->toStdString(), "project  - U");
    EXPECT_EQ(lines(*f.tree().model()), "T U ");
    EXPECT_EQ(f.current(), "U");
    f.clickLine(0);
    EXPECT_EQ(f.panel->support().selected().object(), &f.tree());
    struct Step {
        std::int32_t code;
        const char* current;
        const char* lines;
    };
    const Step steps[] = {
        {key::kRight, "T", "T .x .y .[1] .[2] .[3] U "},
        {key::kDown, "x", "T .x .y .[1] .[2] .[3] U "},
        {key::kEnd, "U", "T .x .y .[1] .[2] .[3] U "},
        {key::kUp, "[3]", "T .x .y .[1] .[2] .[3] U "},
        {key::kLeft, "T", "T .x .y .[1] .[2] .[3] U "},
        {key::kLeft, "T", "T U "},
        {key::kDown, "U", "T U "},
        {key::kHome, "T", "T U "},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.current);
        f.key(step.code);
        EXPECT_EQ(f.current(), step.current);
        EXPECT_EQ(lines(*f.tree().model()), step.lines);
    }
    // A click on a table's box expands it.
    f.layout();
    toolkit::Rect box = f.tree().boxRect(1);
    toolkit::Point shift = f.tree().layoutPoint({0, 0});
    f.click({box.x + 3 - shift.x, box.y + 3 - shift.y});
    EXPECT_EQ(lines(*f.tree().model()), "T U .c ");
    // The tree follows a new table.
    test::addTables(*f.panel->kernel(), "table V{ }");
    f.mouse(toolkit::MouseKind::Move, {900, 700});
    EXPECT_EQ(lines(*f.tree().model()), "T U .c V ");
}

TEST(ProjectView, OpenAndNavigateToOnEveryKindOfNode) {
    struct Case {
        std::int32_t line;  // with T expanded
        MenuCommand choice;
        const char* added;
        const char* current;
    };
    const Case cases[] = {
        {0, MenuCommand::NodeOpen, "optimized(40,200) result(T);\n", "T"},
        {2, MenuCommand::NodeOpen, "optimized(40,200) result(T[0]);\n", "y"},
        {4, MenuCommand::NodeOpen, "optimized(40,200) result(T[2]);\n", "[2]"},
        {6, MenuCommand::NodeOpen, "optimized(620,40) result(U);\n", "U"},
        {4, MenuCommand::NodeNavigateTo, "", "T"},
        {1, MenuCommand::NodeNavigateTo, "", "T"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ProjectFixture f;
        f.tree().toggle(0);
        std::string before = f.layoutText();
        f.clickLine(c.line);
        f.key(key::kEnter);
        ASSERT_EQ(f.window.lastPopup().size(), 2u);
        EXPECT_EQ(f.window.lastPopup()[0].caption, "&Open");
        EXPECT_EQ(f.window.lastPopup()[1].caption, "&Navigate to");
        f.choose(c.choice);
        EXPECT_EQ(f.layoutText().substr(before.size()), c.added);
        EXPECT_EQ(f.current(), c.current);
        EXPECT_EQ(f.panel->commands().undoCount(), *c.added != '\0' ? 1 : 0);
    }
}

TEST(ProjectView, TheListBesideTheTreeOpensTablesAndTheMenuItemAddsAView) {
    ProjectFixture f;
    auto list = cast<TableEditable>(f.project().tables()->innerView());
    ASSERT_FALSE(list.isNull());
    list->controller()->lineActivated(*list, 2);
    ASSERT_NE(f.panel->tableDialog(), nullptr);
    EXPECT_EQ(f.panel->tableDialog()->table()->name()->toStdString(), "U");

    std::string before = f.layoutText();
    f.choose(MenuCommand::Project);
    EXPECT_EQ(f.layoutText(), before + "optimized(40,200) project(Table1);\n");
    EXPECT_EQ(f.root().frameCount(), 2);
    EXPECT_EQ(f.frame(1)->getTitle()->toStdString(), "project  - Table1");
    EXPECT_EQ(lines(*cast<ProjectEditable>(f.frame(1)->view())->tree()->model()), "T U ");
    EXPECT_EQ(f.panel->commands().undoCount(), 0);
    EXPECT_TRUE(f.panel->flow().isModified());
}

// Sixty tables in an optimized frame: the frame stays bounded and its
// tree scrolls, by the wheel and to keep the current line in sight.
TEST(ProjectView, TheTreeScrollsInAnOptimizedFrame) {
    std::string document;
    for (int table = 1; table <= 60; ++table)
        document += "table T" + std::to_string(table) + "{ c:=1! }\n";
    document += "optimized(10,40) project(T1);\n";
    enum class Action { Wheel, End, DownPastTheBottom };
    struct Case {
        Action action;
        std::int32_t current;  // the line then current and in sight
    };
    for (const Case& c :
         {Case{Action::Wheel, 0}, Case{Action::End, 59}, Case{Action::DownPastTheBottom, 40}}) {
        SCOPED_TRACE(static_cast<int>(c.action));
        PanelFixture f;
        f.startOn("tables.qvl", document);
        auto project = cast<ProjectEditable>(f.frame(0)->view());
        TreeEditable& tree = *project->tree();
        const ScrollDecorator& box = *project->splitter()->leftBox();
        f.layout();
        EXPECT_LE(f.frame(0)->bounds().height, 2 * SpliterEditable::kHighest);
        ASSERT_TRUE(box.hasVerticalBar());
        // From top to bottom inside the part of the box that shows the tree.
        auto inSight = [&](std::int32_t line) {
            f.layout();
            toolkit::Rect row = tree.lineRect(line).translated(0, -box.scrollOffset().y);
            return row.y >= box.viewport().y && row.bottom() <= box.viewport().bottom();
        };
        ASSERT_TRUE(inSight(0));
        ASSERT_FALSE(inSight(59));
        toolkit::Point shift = tree.layoutPoint({0, 0});
        toolkit::Rect first = tree.lineRect(0);
        f.click({first.x + 30 - shift.x, first.y + first.height / 2 - shift.y});
        switch (c.action) {
            case Action::Wheel: {
                toolkit::Rect shown = box.viewport();
                toolkit::Point boxShift = box.layoutPoint({0, 0});
                f.panel->wheel(-3, {shown.x + 20 - boxShift.x, shown.y + 20 - boxShift.y}, 0);
                EXPECT_EQ(box.scrollOffset().y, 3 * ScrollDecorator::kWheelStep);
                break;
            }
            case Action::End:
                f.key(key::kEnd);
                break;
            case Action::DownPastTheBottom:
                for (int step = 0; step < 40; ++step)
                    f.key(key::kDown);
                break;
        }
        EXPECT_EQ(tree.currentLine(), c.current);
        EXPECT_EQ(inSight(c.current), c.action != Action::Wheel);
        EXPECT_FALSE(inSight(0));
    }
}

TEST(PropertiesFollowSelection, ShowsWhatTheSelectionOffers) {
    PanelFixture f;
    f.startOn(
        "properties.qvl",
        "table T{ x:=range 1 to 3! }\noptimized(10,100) result(T);\noptimized(10,400) "
        "result(T[0]);\noptimized(600,10) text(\"note\");\noptimized(600,300) properties();\n");
    // Clicks raise frames: the frames are kept as they stand at first.
    Pointer<TitleDecorator> detailed = f.frame(0);
    auto properties = cast<PropertiesEditable>(f.frame(3)->view());
    ASSERT_FALSE(properties.isNull());
    auto title = [&] { return properties->model()->title()->toStdString(); };
    EXPECT_EQ(title(), "Document properties");
    struct Step {
        const char* what;
        toolkit::Point at;
        const char* title;
    };
    const Step steps[] = {
        {"the detailed view", f.inside(0), "Table view properties"},
        {"the heading view", f.inside(1), "Row view properties"},
        {"the properties view itself", f.inside(3), "Row view properties"},
        {"a text area", f.inside(2), "Document properties"},
        {"the detailed view's title bar",
         {f.frame(0)->bounds().x + 1, f.frame(0)->bounds().y + f.frame(0)->titleBarHeight() / 2},
         "Table view properties"},
        {"the empty work area", {1000, 740}, "Document properties"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        f.click(step.at);
        EXPECT_EQ(title(), step.title);
    }
    // A toggle in the view reaches the grid it shows.
    f.click(f.inside(f.root().indexOf(*detailed)));
    EXPECT_EQ(title(), "Table view properties");
    auto grid = cast<TableEditable>(cast<ResultEditable>(detailed->view())->innerView());
    std::int32_t columns = grid->model()->columnCount();
    properties->model()->createCell(2, 4)->setText(*noModel, str(""));  // show_col_names
    EXPECT_EQ(grid->model()->columnCount(), columns - 1);
    EXPECT_EQ(f.panel->commands().undoCount(), 0);

    // After the program changed, the view shows the grid the result view
    // shows now, whether it kept its grid or built a new one.
    test::addTables(*f.panel->kernel(), "table U{ }");
    f.mouse(toolkit::MouseKind::Move, {1000, 740});
    grid = cast<TableEditable>(cast<ResultEditable>(detailed->view())->innerView());
    columns = grid->model()->columnCount();
    properties->model()->createCell(2, 4)->setText(*noModel, str(""));
    EXPECT_NE(grid->model()->columnCount(), columns);
}

}  // namespace
}  // namespace qv
