// Renaming in a real Qt window on the offscreen platform, on a copy of the
// prices example: a real double click on a field's header cell in the
// Catalogue grid (or in the grid of Books, which extends it), typing a new
// name and Enter show the preview; OK renames the field in every table
// that defines or uses it, the values stay as they were, and Ctrl+Z gives
// the document back byte for byte.
#include "core/ValueConversions.h"
#include "tests/qt/QtPanelSupport.h"

namespace qv::toolkit {
namespace {

// Double-clicks the name cell of `field` in `grid`, types `typed` over it
// and presses Enter.
::testing::AssertionResult renameInGrid(OpenedExample& example, TableEditable& grid,
                                        const char* field, const char* typed) {
    std::optional<QPoint> at = cellCentre(example.panel(), grid, 0, nameLine(grid, field));
    if (!at) return ::testing::AssertionFailure() << "no name cell " << field << " in sight";
    QWidget* area = example.window().workArea();
    QTest::mouseDClick(area, Qt::LeftButton, {}, *at);
    settle();
    // The double click opens the name for editing: select it all, type over.
    QTest::keyClick(area, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(area, QString::fromUtf8(typed));
    QTest::keyClick(area, Qt::Key_Return);
    settle();
    return ::testing::AssertionSuccess();
}

// Every computed value of the tables, in one line.
std::string valuesOf(MainPanel& panel, std::initializer_list<const char*> tables) {
    std::string out;
    for (const char* table : tables) {
        Pointer<TableResult> result = panel.kernel()->getTableByName(table);
        for (std::int32_t row = 1; row < result->rowCount(); ++row) {
            for (std::int32_t field = 1; field < result->fieldCount(); ++field)
                out += toText(result->value(field, row))->toStdString() + " ";
        }
    }
    return out;
}

void undoByKey(OpenedExample& example) {
    QTest::keyClick(example.window().workArea(), Qt::Key_Z, Qt::ControlModifier);
    settle();
}

TEST(RenameWindow, ARealDoubleClickAndTypingRenameAFieldThatUndoRestores) {
    AnswerOkTo script(MessageBoxKind::Confirm);
    OpenedExample example("prices.qvl", script);
    ASSERT_TRUE(example.show());
    MainPanel& panel = example.panel();
    // The fields are named where they are defined: in a view of Catalogue,
    // whose lines are its fields.
    Pointer<TableEditable> grid = openGrid(panel, "Catalogue");
    ASSERT_FALSE(grid.isNull());
    const std::string before = example.source();
    ASSERT_NE(before.find("net:=0!"), std::string::npos);
    const std::string valuesBefore = valuesOf(panel, {"Books", "Tools"});

    ASSERT_TRUE(renameInGrid(example, *grid, "net", "price"));

    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0],
              "Rename Catalogue.net to price?\n\n1 formula in 1 table; the field is defined in 3 "
              "tables (a base table and those extending it), renamed in all.");
    std::string renamed = example.source();
    EXPECT_EQ(renamed.find("net:="), std::string::npos);
    EXPECT_NE(renamed.find("product:=\"Atlas\",price:=30,"), std::string::npos);
    EXPECT_NE(renamed.find("gross:=price*(1+tax_rate)!"), std::string::npos);
    EXPECT_EQ(valuesOf(panel, {"Books", "Tools"}), valuesBefore);
    EXPECT_EQ(example.window().frame()->windowTitle(),
              QStringLiteral("prices.qvl *  - Quorvatelle"));

    undoByKey(example);
    EXPECT_EQ(example.source(), before);
    EXPECT_EQ(valuesOf(panel, {"Books", "Tools"}), valuesBefore);
}

// Books extends Catalogue: its grid shows the inherited field net, whose
// name renamed there renames the family as from Catalogue.
TEST(RenameWindow, AnInheritedFieldRenamedInTheExtendingTablesGridRenamesItsFamily) {
    AnswerOkTo script(MessageBoxKind::Confirm);
    OpenedExample example("prices.qvl", script);
    ASSERT_TRUE(example.show());
    MainPanel& panel = example.panel();
    Pointer<TableEditable> grid = openGrid(panel, "Books");
    ASSERT_FALSE(grid.isNull());
    const std::string before = example.source();
    const std::string valuesBefore = valuesOf(panel, {"Catalogue", "Books", "Tools"});
    ASSERT_NE(valuesBefore.find(" 27 "), std::string::npos);  // the saw's gross price

    ASSERT_TRUE(renameInGrid(example, *grid, "net", "list_price"));

    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0],
              "Rename Books.net to list_price?\n\n1 formula in 1 table; the field is "
              "defined in 3 tables (a base table and those extending it), renamed in all.");
    std::string renamed = example.source();
    EXPECT_EQ(renamed.find("net:="), std::string::npos);
    EXPECT_NE(renamed.find("    list_price:=0!\n"), std::string::npos);
    EXPECT_NE(renamed.find("    list_price:=!\n"), std::string::npos);
    EXPECT_NE(renamed.find("product:=\"Saw\",list_price:=22.5"), std::string::npos);
    EXPECT_NE(renamed.find("gross:=list_price*(1+tax_rate)!"), std::string::npos);
    EXPECT_EQ(valuesOf(panel, {"Catalogue", "Books", "Tools"}), valuesBefore);
    EXPECT_EQ(example.window().frame()->windowTitle(),
              QStringLiteral("prices.qvl *  - Quorvatelle"));

    undoByKey(example);
    EXPECT_EQ(example.source(), before);
    EXPECT_EQ(valuesOf(panel, {"Catalogue", "Books", "Tools"}), valuesBefore);
}

}  // namespace
}  // namespace qv::toolkit
