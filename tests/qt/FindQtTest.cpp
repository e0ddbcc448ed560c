// Find and replace in a real Qt window on the offscreen platform: the real
// key Ctrl+H opens the panel, typed keys fill its fields, a real click on
// Replace all changes a formula, the grid's values follow, and Ctrl+Z
// gives the document back byte for byte.
#include <QTemporaryDir>
#include <fstream>

#include "app/DocumentFile.h"
#include "core/ValueConversions.h"
#include "desktop/MainPanelListener.h"
#include "tests/qt/QtTestSupport.h"

namespace qv::toolkit {
namespace {

constexpr std::string_view kDocument =
    "table Fruit{ item~name:=\"\"! net:=0! gross:=net*1.25! "
    "<1>:={apple, 10} <2>:={pear, 12.5} }\n"
    "optimized(40,40) result(Fruit);\n//--end";

std::string gross(MainPanel& panel, std::int32_t row) {
    Pointer<TableResult> table = panel.kernel()->getTableByName("Fruit");
    return toText(table->value(table->resolved()->fieldIndexOf("gross"), row))->toStdString();
}

TEST(FindWindow, CtrlHReplacesInAFormulaAndCtrlZUndoesIt) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::string path = folder.filePath(QStringLiteral("fruit.qvl")).toStdString();
    std::ofstream(path, std::ios::binary) << toDiskLineEnds(kDocument);
    QtWindow window;
    window.frame()->resize(1024, 768);
    MainPanelListener listener(window, path);
    ASSERT_TRUE(showActive(window));
    settle();
    MainPanel& panel = listener.panel();
    const std::string before = panel.toSource()->toStdString();
    EXPECT_EQ(gross(panel, 1), "12.5");

    QTest::keyClick(window.workArea(), Qt::Key_H, Qt::ControlModifier);
    settle();
    FindPanel& find = panel.findPanel();
    ASSERT_TRUE(find.isOpen());
    ASSERT_TRUE(find.isReplacing());
    QTest::keyClicks(window.workArea(), "1.25");
    QTest::keyClick(window.workArea(), Qt::Key_Tab);
    QTest::keyClicks(window.workArea(), "1.5");
    settle();
    EXPECT_EQ(find.query(), "1.25");
    EXPECT_EQ(find.replacement(), "1.5");

    Rect button = find.controlRect(FindPanel::Control::ReplaceAll);
    QTest::mouseClick(window.workArea(), Qt::LeftButton, {},
                      QPoint(button.x + button.width / 2, button.y + button.height / 2));
    settle();
    EXPECT_NE(panel.toSource()->toStdString().find("gross:=net*1.5!"), std::string::npos);
    EXPECT_EQ(gross(panel, 1), "15");
    EXPECT_EQ(gross(panel, 2), "18.75");
    EXPECT_TRUE(panel.flow().isModified());

    QTest::keyClick(window.workArea(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(panel.toSource()->toStdString(), before);
    EXPECT_EQ(gross(panel, 1), "12.5");
    EXPECT_FALSE(panel.flow().isModified());
}

}  // namespace
}  // namespace qv::toolkit
