// What a screen reader finds in the work area: the tree of nodes the panel
// gives the window (frames by their titles, the formula line as an editable
// text, grids as tables whose cells the model names), the focus following
// the selection, bounds following the zoom, and a grid of a million rows
// that makes nodes only for the cells asked for.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "desktop/MainPanelListener.h"
#include "editing/FormulaValueEditable.h"
#include "editing/TitleDecorator.h"
#include "tests/desktop/PanelTestSupport.h"
#include "toolkit/Accessible.h"
#include "views/GridModel.h"
#include "views/InnerViewEditable.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

using toolkit::AccessibleChange;
using toolkit::AccessibleNode;
using toolkit::AccessibleRole;
using NodePointer = std::shared_ptr<AccessibleNode>;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const char* roleName(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::WorkArea:
            return "work area";
        case AccessibleRole::Frame:
            return "frame";
        case AccessibleRole::Table:
            return "table";
        case AccessibleRole::Cell:
            return "cell";
        case AccessibleRole::EditableText:
            return "editable text";
        case AccessibleRole::Text:
            return "text";
        case AccessibleRole::Tree:
            return "tree";
        case AccessibleRole::Group:
            return "group";
    }
    return "?";
}

// The tree down to the tables (a table by its size, not its cells), one
// line per node, indented by depth.
void outline(const NodePointer& node, std::string& out, std::int32_t depth = 0) {
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + roleName(node->role()) + " \"" +
           node->name() + "\"";
    if (node->role() == AccessibleRole::Table) {
        out += " " + std::to_string(node->rowCount()) + "x" + std::to_string(node->columnCount()) +
               "\n";
        return;
    }
    out += "\n";
    for (std::int32_t index = 0; index < node->childCount(); ++index)
        outline(node->child(index), out, depth + 1);
}

// The first cell of a table with that name; null when none.
NodePointer cellNamed(const NodePointer& table, const std::string& name) {
    for (std::int32_t row = 0; row < table->rowCount(); ++row) {
        for (std::int32_t column = 0; column < table->columnCount(); ++column) {
            NodePointer cell = table->cell(row, column);
            if (cell->name() == name) return cell;
        }
    }
    return {};
}

// The table inside the frame at `index` among the root's children.
NodePointer tableOf(const NodePointer& root, std::int32_t index) {
    NodePointer frame = root->child(index);
    if (!frame || frame->childCount() != 1) return {};
    return frame->child(0);
}

struct Accessibility : ::testing::Test, test::PanelFixture {
    NodePointer root() {
        layout();
        window.paint();
        return window.accessibleRoot();
    }
    Pointer<TableEditable> grid(std::int32_t index) const {
        Pointer<AbstractEditable> view = frame(index)->view();
        if (auto inner = cast<InnerViewEditable>(view); !inner.isNull()) view = inner->innerView();
        return cast<TableEditable>(view);
    }
    // The node of the last focus the window was told of.
    NodePointer lastFocus() const {
        for (auto at = window.accessibleChanges().rbegin(); at != window.accessibleChanges().rend();
             ++at) {
            if (at->change == AccessibleChange::Focus) return at->node;
        }
        return {};
    }
};

TEST_F(Accessibility, PricesShowsItsFramesAndTheFormulaLine) {
    startOn("prices.qvl", fileText(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    std::string tree;
    outline(root(), tree);
    EXPECT_EQ(tree,
              "work area \"Work area\"\n"
              "  editable text \"Formula\"\n"
              "  frame \"Books\"\n"
              "    table \"Books - detailed view\" 5x7\n"
              "  frame \"Tools\"\n"
              "    table \"Tools - detailed view\" 5x6\n"
              "  frame \"Books[0]\"\n"
              "    table \"Books - heading view\" 6x4\n"
              "  frame \"Text\"\n"
              "    editable text \"Text\"\n");
}

TEST_F(Accessibility, GridCellsAreNamedByTheModel) {
    startOn("prices.qvl", fileText(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    NodePointer top = root();
    struct Case {
        std::int32_t frame;
        const char* name;
        const char* value;
    };
    const Case cases[] = {
        {1, "Books row 1, product", "Atlas"},  {1, "Books row 1, gross", "32.1"},
        {1, "Books row 3, gross", "45"},       {1, "Books row 2, net", "12"},
        {1, "Books sum row, net", "86"},       {2, "Tools row 2, gross", "27"},
        {2, "Tools row 1, product", "Hammer"}, {3, "Books base row, tax_rate", "0.07"},
        {3, "Books gross, Name", "gross"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        NodePointer table = tableOf(top, row.frame);
        ASSERT_TRUE(table);
        NodePointer cell = cellNamed(table, row.name);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->role(), AccessibleRole::Cell);
        EXPECT_EQ(cell->value(), row.value);
        EXPECT_FALSE(cell->isError());
        EXPECT_EQ(cell->description(), "");
        // The table finds the cell at its place, and it knows its table.
        EXPECT_EQ(table->cell(cell->row(), cell->column())->key(), cell->key());
        EXPECT_EQ(cell->parent()->key(), table->key());
    }
}

TEST_F(Accessibility, TablesAreAsLargeAsTheirModels) {
    startOn("prices.qvl", fileText(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    NodePointer top = root();
    for (std::int32_t frameIndex = 0; frameIndex < 3; ++frameIndex) {
        SCOPED_TRACE(frameIndex);
        NodePointer table = tableOf(top, frameIndex + 1);
        ASSERT_TRUE(table);
        const Pointer<GridModel>& model = grid(frameIndex)->model();
        EXPECT_EQ(table->rowCount(), model->rowCount());
        EXPECT_EQ(table->columnCount(), model->columnCount());
        EXPECT_EQ(table->childCount(), model->rowCount() * model->columnCount());
        EXPECT_FALSE(table->cell(model->rowCount(), 0));
        EXPECT_FALSE(table->cell(0, -1));
    }
}

constexpr const char* kBrokenLoan =
    "table Loan{\n"
    "    principal:=1000!\n"
    "    opening:=closing+1!\n"
    "    closing:=opening*2!\n"
    "    share:=principal/missing!\n"
    "    <1>:={principal:=10}\n"
    "    <2>:={principal:=20}\n"
    "}\n"
    "optimized(40,60) result(Loan);\n"
    "//--end\n";

TEST_F(Accessibility, ErrorCellsDescribeTheirErrors) {
    startOn("loan.qvl", kBrokenLoan);
    NodePointer table = tableOf(root(), 1);
    ASSERT_TRUE(table);
    const char* broken[] = {"Loan row 2, closing", "Loan row 1, opening", "Loan row 1, share"};
    for (const char* name : broken) {
        SCOPED_TRACE(name);
        NodePointer cell = cellNamed(table, name);
        ASSERT_TRUE(cell);
        EXPECT_TRUE(cell->isError());
        EXPECT_FALSE(cell->description().empty());
    }
    NodePointer sound = cellNamed(table, "Loan row 2, principal");
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->value(), "20");
    EXPECT_FALSE(sound->isError());
    EXPECT_EQ(sound->description(), "");
}

TEST_F(Accessibility, FocusFollowsTheSelectedCell) {
    startOn("prices.qvl", fileText(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    root();
    Pointer<TableEditable> books = grid(0);
    ASSERT_FALSE(books.isNull());
    std::int32_t productRow = -1;
    for (std::int32_t row = 0; row < books->model()->rowCount() && productRow < 0; ++row) {
        if (books->model()->cellName(2, row) == "Books row 1, product") productRow = row;
    }
    ASSERT_GE(productRow, 0);
    support().select(books);
    books->selectCell(2, productRow);
    window.paint();
    NodePointer focus = lastFocus();
    ASSERT_TRUE(focus);
    EXPECT_EQ(focus->name(), "Books row 1, product");
    EXPECT_TRUE(focus->isFocused());
    // The focused cell's parents lead back to the root.
    EXPECT_EQ(focus->parent()->parent()->parent()->key(), window.accessibleRoot()->key());

    // Moving right reaches the next record; a paint without a move tells nothing.
    key(toolkit::key::kRight);
    window.paint();
    EXPECT_EQ(lastFocus()->name(), "Books row 2, product");
    std::size_t told = window.accessibleChanges().size();
    window.paint();
    EXPECT_EQ(window.accessibleChanges().size(), told);

    // Nothing selected: the work area has the focus.
    support().select({});
    window.paint();
    EXPECT_EQ(lastFocus()->role(), AccessibleRole::WorkArea);
}

TEST_F(Accessibility, TheFormulaLineIsAnEditableTextWithItsCaret) {
    startOn("prices.qvl", fileText(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    root();
    Pointer<TableEditable> books = grid(0);
    support().select(books);
    books->selectCell(books->currentColumn(), books->currentRow());
    auto bar = panel->formulaBar();
    ASSERT_FALSE(bar.isNull());
    bar->field()->setText("net*2");
    bar->field()->setCaret(3);
    NodePointer line = window.accessibleRoot()->child(0);
    EXPECT_EQ(line->role(), AccessibleRole::EditableText);
    EXPECT_EQ(line->name(), "Formula");
    EXPECT_EQ(line->value(), "net*2");
    EXPECT_EQ(line->caret(), 3);
    EXPECT_TRUE(line->isEditable());
}

TEST_F(Accessibility, ClosingAFrameIsAChangeOfTheTree) {
    startOn("prices.qvl", fileText(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    NodePointer top = root();
    NodePointer closed = top->child(4);
    EXPECT_TRUE(closed->isAlive());
    std::size_t told = window.accessibleChanges().size();
    frame(3)->buttonPressed(static_cast<std::int32_t>(TitleButton::Close));
    window.paint();
    ASSERT_GT(window.accessibleChanges().size(), told);
    EXPECT_EQ(window.accessibleChanges()[told].change, AccessibleChange::Structure);
    EXPECT_EQ(top->childCount(), 4);
    // A reader holding the closed frame's node reaches no freed memory.
    EXPECT_FALSE(closed->isAlive());
    EXPECT_EQ(closed->name(), "Text");
}

// A grid of a million rows and three columns whose cells count themselves.
class MillionRows final : public GridModel {
    QV_OBJECT(MillionRows, GridModel, "MillionRows")
  public:
    static constexpr std::int32_t kRows = 1000000;
    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override {
        ++made;
        return make<LabelCell>(str(std::to_string(row * 10 + column)));
    }
    std::int32_t columnWidth(std::int32_t) override { return 60; }
    std::int32_t columnCount() override { return 3; }
    std::int32_t rowCount() override { return kRows; }
    StringPointer title() override { return str("Big"); }
    std::int64_t made = 0;
};

TEST_F(Accessibility, AMillionRowsMakeNodesOnlyForTheCellsAskedFor) {
    start();
    auto model = make<MillionRows>();
    panel->addView(make<TableEditable>(model));
    NodePointer top = root();
    model->made = 0;
    std::string tree;
    outline(top, tree);
    EXPECT_EQ(tree,
              "work area \"Work area\"\n"
              "  editable text \"Formula\"\n"
              "  frame \"project  - Table1\"\n"
              "    group \"Project\"\n"
              "      tree \"Tables\"\n"
              "      table \"Tables\" 3x4\n"
              "  frame \"Big\"\n"
              "    table \"Big\" 1000000x3\n");
    NodePointer table = tableOf(top, 2);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), MillionRows::kRows);
    EXPECT_EQ(table->childCount(), 3 * MillionRows::kRows);
    NodePointer last = table->cell(MillionRows::kRows - 1, 2);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->value(), std::to_string((MillionRows::kRows - 1) * 10 + 2));
    EXPECT_EQ(last->name(), "Big row 999999, 2");
    // Scrolled out of sight, the cell has no place on the screen.
    EXPECT_EQ(last->bounds().width, 0);
    // Walking to a cell asked the model for that cell (and its column's
    // caption) only.
    EXPECT_LE(model->made, 4);
}

TEST(ZoomedAccessibility, BoundsAreScaledIntoTheWindow) {
    test::ScratchFolder folder;
    std::string path = folder.file("prices.qvl");
    test::putFileBytes(path, fileText(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
    toolkit::HeadlessWindow window;
    MainPanelListener listener(window, path);
    window.deliverPosted();
    window.paint();
    NodePointer normal = window.accessibleRoot()->child(1);
    toolkit::Rect atHundred = normal->bounds();
    listener.zoomed().setPercent(200);
    window.paint();
    toolkit::Rect atDouble = window.accessibleRoot()->child(1)->bounds();
    EXPECT_EQ(atDouble.x, atHundred.x * 2);
    EXPECT_EQ(atDouble.width, atHundred.width * 2);
    EXPECT_EQ(window.accessibleRoot()->child(1)->name(), "Books");
}

}  // namespace
}  // namespace qv
