// The work area through Qt's accessibility interfaces, as the platform's
// bridge (AT-SPI) reads it: the work area's interface and its children,
// the frames, a grid as a table whose cells the model names, the formula
// line as a text, and the same interface for the same cell asked twice.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <string>

#include "tests/qt/QtPanelSupport.h"

namespace qv::toolkit {
namespace {

std::string textOf(QAccessibleInterface* node, QAccessible::Text kind) {
    return node == nullptr ? std::string("(none)") : node->text(kind).toStdString();
}

// The child of `parent` with that name; null when none.
QAccessibleInterface* childNamed(QAccessibleInterface* parent, const std::string& name) {
    for (int index = 0; index < parent->childCount(); ++index) {
        QAccessibleInterface* child = parent->child(index);
        if (child != nullptr && textOf(child, QAccessible::Name) == name) return child;
    }
    return nullptr;
}

QAccessibleInterface* cellNamed(QAccessibleTableInterface& table, const std::string& name) {
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column) {
            QAccessibleInterface* cell = table.cellAt(row, column);
            if (cell != nullptr && textOf(cell, QAccessible::Name) == name) return cell;
        }
    }
    return nullptr;
}

// prices.qvl shown, and the work area's interface.
struct AccessibilityQt : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(example.show());
        settle();
        area = QAccessible::queryAccessibleInterface(example.window().workArea());
        ASSERT_NE(area, nullptr);
    }

    AnswerOkTo script{MessageBoxKind::Notice};
    OpenedExample example{"prices.qvl", script};
    QAccessibleInterface* area = nullptr;
};

TEST_F(AccessibilityQt, TheWorkAreaOffersFramesTablesAndCells) {
    EXPECT_EQ(area->role(), QAccessible::Client);
    EXPECT_EQ(textOf(area, QAccessible::Name), "Work area");
    ASSERT_EQ(area->childCount(), 5);

    QAccessibleInterface* line = area->child(0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->role(), QAccessible::EditableText);
    EXPECT_EQ(textOf(line, QAccessible::Name), "Formula");
    ASSERT_NE(line->textInterface(), nullptr);
    EXPECT_TRUE(line->state().editable);

    QAccessibleInterface* books = childNamed(area, "Books");
    ASSERT_NE(books, nullptr);
    EXPECT_EQ(books->role(), QAccessible::Pane);
    EXPECT_EQ(books->parent(), area);
    EXPECT_EQ(area->indexOfChild(books), 1);
    ASSERT_EQ(books->childCount(), 1);
    QAccessibleInterface* grid = books->child(0);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 5);
    EXPECT_EQ(table->columnCount(), 7);
    EXPECT_FALSE(grid->rect().isEmpty());
    EXPECT_TRUE(books->rect().contains(grid->rect().center()));

    struct Case {
        const char* name;
        const char* value;
    };
    const Case cases[] = {
        {"Books row 1, product", "Atlas"},
        {"Books row 3, gross", "45"},
        {"Books row 2, net", "12"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        QAccessibleInterface* cell = cellNamed(*table, row.name);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->role(), QAccessible::Cell);
        EXPECT_EQ(textOf(cell, QAccessible::Value), row.value);
        QAccessibleTableCellInterface* place = cell->tableCellInterface();
        ASSERT_NE(place, nullptr);
        EXPECT_EQ(place->table(), grid);
        // The same cell asked again is the same object, found at its index.
        EXPECT_EQ(table->cellAt(place->rowIndex(), place->columnIndex()), cell);
        EXPECT_EQ(grid->indexOfChild(cell),
                  place->rowIndex() * table->columnCount() + place->columnIndex());
        EXPECT_EQ(cell->parent(), grid);
    }
}

TEST_F(AccessibilityQt, TheFormulaLineTextFollowsTheSelectedCell) {
    QAccessibleInterface* books = childNamed(area, "Books");
    ASSERT_NE(books, nullptr);
    QAccessibleInterface* cell = cellNamed(*books->child(0)->tableInterface(), "Books row 1, net");
    ASSERT_NE(cell, nullptr);
    QPoint at = example.window().workArea()->mapFromGlobal(cell->rect().center());
    QTest::mouseClick(example.window().workArea(), Qt::LeftButton, Qt::NoModifier, at);
    settle();
    // Raising the frame changed the order of the frames, not the cell.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(example.window().workArea()), area);
    EXPECT_TRUE(cell->isValid());
    EXPECT_TRUE(cell->state().selected);
    EXPECT_EQ(area->focusChild(), cell);
    QAccessibleTextInterface* line = area->child(0)->textInterface();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(0, line->characterCount()).toStdString(), "30");
}

}  // namespace
}  // namespace qv::toolkit
