// Renaming in a real Qt window on the offscreen platform, on a copy of the
// prices example: a real double click on a field's header cell in the
// Catalogue grid (or in the grid of Books, which extends it), typing a new
// name and Enter show the preview; OK renames the field in every table
// that defines or uses it, the values stay as they were, and Ctrl+Z gives
// the document back byte for byte.
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "core/ValueConversions.h"
#include "desktop/MainPanelListener.h"
#include "editing/TitleDecorator.h"
#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtDialogs.h"
#include "views/ResultEditable.h"
#include "views/TableCells.h"
#include "views/TableEditable.h"

namespace qv::toolkit {
namespace {

// OK to every confirmation; what was asked is kept.
class ConfirmAll final : public DialogScript {
  public:
    Answer answerMessageBox(std::string_view text, MessageBoxKind kind) override {
        asked.emplace_back(text);
        return kind == MessageBoxKind::Confirm ? Answer::Ok : Answer::Cancel;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::vector<std::string> asked;
};

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(RenameWindow, ARealDoubleClickAndTypingRenameAFieldThatUndoRestores) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::string path = folder.filePath(QStringLiteral("prices.qvl")).toStdString();
    std::ofstream(path, std::ios::binary)
        << bytesOf(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl");
    auto window = std::make_unique<QtWindow>();
    window->frame()->resize(1024, 768);
    auto listener = std::make_unique<MainPanelListener>(*window, path);
    ASSERT_TRUE(showActive(*window));
    MainPanel& panel = listener->panel();
    ConfirmAll script;
    setDialogScript(&script);

    // The fields are named where they are defined: in a view of Catalogue,
    // whose lines are its fields.
    panel.openResultView(str("Catalogue"));
    settle();
    const FloatLayoutEditable& root = *panel.layoutRoot();
    auto catalogue =
        cast<ResultEditable>(cast<TitleDecorator>(root.frame(root.frameCount() - 1))->view());
    ASSERT_FALSE(catalogue.isNull());
    auto grid = cast<TableEditable>(catalogue->innerView());
    ASSERT_FALSE(grid.isNull());
    std::int32_t line = -1;
    for (std::int32_t row = 0; row < grid->model()->rowCount() && line < 0; ++row) {
        Pointer<CellModel> cell = grid->model()->createCell(0, row);
        if (is<NameCell>(cell) && cell->text()->equals("net")) line = row;
    }
    ASSERT_GE(line, 0);
    auto values = [&] {
        std::string out;
        for (const char* table : {"Books", "Tools"}) {
            Pointer<TableResult> result = panel.kernel()->getTableByName(table);
            for (std::int32_t row = 1; row <= 2; ++row)
                out += toText(result->value(3, row))->toStdString() + " ";
        }
        return out;
    };
    const std::string before = panel.toSource()->toStdString();
    ASSERT_NE(before.find("net:=0!"), std::string::npos);
    const std::string grossBefore = values();

    panel.support().layoutIfNeeded();
    toolkit::Rect cell = grid->cellRect(0, line);
    ASSERT_GT(cell.width, 0);
    QPoint at(cell.x + cell.width / 2, cell.y + cell.height / 2);
    QTest::mouseDClick(window->workArea(), Qt::LeftButton, {}, at);
    settle();
    // The double click opens the name for editing: select it all, type over.
    QTest::keyClick(window->workArea(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->workArea(), QStringLiteral("price"));
    QTest::keyClick(window->workArea(), Qt::Key_Return);
    settle();

    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0],
              "Rename Catalogue.net to price?\n\n1 formula in 1 table; the field is defined in 3 "
              "tables (a base table and those extending it), renamed in all.");
    std::string renamed = panel.toSource()->toStdString();
    EXPECT_EQ(renamed.find("net:="), std::string::npos);
    EXPECT_NE(renamed.find("product:=\"Atlas\",price:=30,"), std::string::npos);
    EXPECT_NE(renamed.find("gross:=price*(1+tax_rate)!"), std::string::npos);
    EXPECT_EQ(values(), grossBefore);
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("prices.qvl *  - Quorvatelle"));

    QTest::keyClick(window->workArea(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(panel.toSource()->toStdString(), before);
    EXPECT_EQ(values(), grossBefore);
    setDialogScript(nullptr);
}

// Books extends Catalogue: its grid shows the inherited field net, whose
// name renamed there renames the family as from Catalogue.
TEST(RenameWindow, AnInheritedFieldRenamedInTheExtendingTablesGridRenamesItsFamily) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::string path = folder.filePath(QStringLiteral("prices.qvl")).toStdString();
    std::ofstream(path, std::ios::binary)
        << bytesOf(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl");
    auto window = std::make_unique<QtWindow>();
    window->frame()->resize(1024, 768);
    auto listener = std::make_unique<MainPanelListener>(*window, path);
    ASSERT_TRUE(showActive(*window));
    MainPanel& panel = listener->panel();
    ConfirmAll script;
    setDialogScript(&script);

    panel.openResultView(str("Books"));
    settle();
    const FloatLayoutEditable& root = *panel.layoutRoot();
    auto books =
        cast<ResultEditable>(cast<TitleDecorator>(root.frame(root.frameCount() - 1))->view());
    ASSERT_FALSE(books.isNull());
    auto grid = cast<TableEditable>(books->innerView());
    ASSERT_FALSE(grid.isNull());
    std::int32_t line = -1;
    for (std::int32_t row = 0; row < grid->model()->rowCount() && line < 0; ++row) {
        Pointer<CellModel> cell = grid->model()->createCell(0, row);
        if (is<NameCell>(cell) && cell->text()->equals("net")) line = row;
    }
    ASSERT_GE(line, 0);
    auto values = [&] {
        std::string out;
        for (const char* table : {"Catalogue", "Books", "Tools"}) {
            Pointer<TableResult> result = panel.kernel()->getTableByName(table);
            for (std::int32_t row = 1; row < result->rowCount(); ++row) {
                for (std::int32_t field = 1; field < result->fieldCount(); ++field)
                    out += toText(result->value(field, row))->toStdString() + " ";
            }
        }
        return out;
    };
    const std::string before = panel.toSource()->toStdString();
    const std::string valuesBefore = values();
    ASSERT_NE(valuesBefore.find(" 27 "), std::string::npos);  // the saw's gross price

    panel.support().layoutIfNeeded();
    toolkit::Rect cell = grid->cellRect(0, line);
    ASSERT_GT(cell.width, 0);
    QPoint at(cell.x + cell.width / 2, cell.y + cell.height / 2);
    QTest::mouseDClick(window->workArea(), Qt::LeftButton, {}, at);
    settle();
    QTest::keyClick(window->workArea(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->workArea(), QStringLiteral("list_price"));
    QTest::keyClick(window->workArea(), Qt::Key_Return);
    settle();

    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0],
              "Rename Books.net to list_price?\n\n1 formula in 1 table; the field is "
              "defined in 3 tables (a base table and those extending it), renamed in all.");
    std::string renamed = panel.toSource()->toStdString();
    EXPECT_EQ(renamed.find("net:="), std::string::npos);
    EXPECT_NE(renamed.find("    list_price:=0!\n"), std::string::npos);
    EXPECT_NE(renamed.find("    list_price:=!\n"), std::string::npos);
    EXPECT_NE(renamed.find("product:=\"Saw\",list_price:=22.5"), std::string::npos);
    EXPECT_NE(renamed.find("gross:=list_price*(1+tax_rate)!"), std::string::npos);
    EXPECT_EQ(values(), valuesBefore);
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("prices.qvl *  - Quorvatelle"));

    QTest::keyClick(window->workArea(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(panel.toSource()->toStdString(), before);
    EXPECT_EQ(values(), valuesBefore);
    setDialogScript(nullptr);
}

}  // namespace
}  // namespace qv::toolkit
