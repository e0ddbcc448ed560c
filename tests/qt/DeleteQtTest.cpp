// Deleting a field in a real Qt window on the offscreen platform, on a copy
// of the prices example: a real right click on a field's header cell in
// the Catalogue grid offers Delete field; chosen, the warning lists the
// uses, Delete removes the field, the values that read it show errors, and
// Ctrl+Z gives the document and the values back.
#include <QApplication>
#include <QMenu>

#include "core/ValueConversions.h"
#include "kernel/ValueKinds.h"
#include "tests/qt/QtPanelSupport.h"

namespace qv::toolkit {
namespace {

TEST(DeleteWindow, ARightClickOnAHeaderDeletesAFieldThatCtrlZRestores) {
    AnswerOkTo script(MessageBoxKind::ConfirmDelete);
    OpenedExample example("prices.qvl", script);
    ASSERT_TRUE(example.show());
    MainPanel& panel = example.panel();
    QtWindow& window = example.window();

    Pointer<TableEditable> grid = openGrid(panel, "Catalogue");
    ASSERT_FALSE(grid.isNull());
    // Catalogue's gross reads its net (Books and Tools have their own).
    auto grossOfCatalogue = [&] {
        Pointer<TableResult> table = panel.kernel()->getTableByName("Catalogue");
        std::int32_t gross = 0;
        while (gross < table->fieldCount() && !table->fieldName(gross)->equals("gross"))
            ++gross;
        return table->value(gross, 0);
    };
    const std::string before = example.source();
    // The view just opened is a step of its own: the document is modified
    // already, and stays so after the deletion is undone.
    const QString title = window.frame()->windowTitle();
    const std::string grossBefore = toText(grossOfCatalogue())->toStdString();
    ASSERT_EQ(valueKind(*grossOfCatalogue().object()), ValueKind::Plain);

    std::optional<QPoint> at = cellCentre(panel, *grid, 0, nameLine(*grid, "net"));
    ASSERT_TRUE(at.has_value());
    QTest::mouseClick(window.workArea(), Qt::RightButton, {}, *at);
    settle();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("Delete f&ield")) chosen = action;
    }
    ASSERT_NE(chosen, nullptr);
    chosen->trigger();
    menu->close();
    settle();

    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0],
              "1 place uses Catalogue.net: Catalogue.gross.\n\nWithout the name they show errors; "
              "Undo brings it back.");
    std::string deleted = example.source();
    EXPECT_EQ(deleted.find("net:=0!"), std::string::npos);
    EXPECT_EQ(valueKind(*grossOfCatalogue().object()), ValueKind::Error);
    EXPECT_EQ(window.frame()->windowTitle(), QStringLiteral("prices.qvl *  - Quorvatelle"));
    EXPECT_EQ(panel.commands().undoCount(), 2);

    QTest::keyClick(window.workArea(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(example.source(), before);
    EXPECT_EQ(toText(grossOfCatalogue())->toStdString(), grossBefore);
    EXPECT_EQ(window.frame()->windowTitle(), title);
    EXPECT_EQ(panel.commands().undoCount(), 1);
}

}  // namespace
}  // namespace qv::toolkit
