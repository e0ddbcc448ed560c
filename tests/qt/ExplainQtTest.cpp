// Go to cause in a real Qt window on the offscreen platform: a real click
// selects an error cell, the formula line names its cause, and the real
// key Ctrl+Shift+G selects the cell where the error began, in a view of
// its table opened for it.
#include <QTemporaryDir>
#include <fstream>

#include "app/DocumentFile.h"
#include "desktop/MainPanelListener.h"
#include "editing/FormulaValueEditable.h"
#include "editing/TitleDecorator.h"
#include "tests/qt/QtTestSupport.h"
#include "views/ResultEditable.h"
#include "views/TableEditable.h"

namespace qv::toolkit {
namespace {

// Report[1].t reads Prices[3].total, which reads Prices[3].rate, which
// calls a function that does not exist. Only Report has a view.
constexpr std::string_view kDocument =
    "table Prices{ price:=range 1 to 4! qty:=price - 2! "
    "rate:=if qty = 1 then nosuch(1) else price / qty! total:=rate * 2! }\n"
    "table Report{ n:=range 1 to 1! t:=Prices[3].total! }\n"
    "optimized(40,40) result(Report);\n//--end";

TEST(ExplainWindow, ARealClickOnAnErrorCellAndCtrlShiftGGoToItsCause) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::string path = folder.filePath(QStringLiteral("broken.qvl")).toStdString();
    std::ofstream(path, std::ios::binary) << toDiskLineEnds(kDocument);
    QtWindow window;
    window.frame()->resize(1024, 768);
    MainPanelListener listener(window, path);
    ASSERT_TRUE(showActive(window));
    settle();
    MainPanel& panel = listener.panel();
    const FloatLayoutEditable& root = *panel.layoutRoot();
    ASSERT_EQ(root.frameCount(), 1);
    auto report = cast<ResultEditable>(cast<TitleDecorator>(root.frame(0))->view());
    ASSERT_FALSE(report.isNull());
    auto grid = cast<TableEditable>(report->innerView());
    ASSERT_FALSE(grid.isNull());

    Kernel& kernel = *panel.kernel();
    CellPlace error{kernel.getTableIndex("Report"), 1, 1};
    panel.support().layoutIfNeeded();
    auto at = grid->model()->positionOf(error);
    ASSERT_TRUE(at.has_value());
    toolkit::Rect cell = grid->cellRect(at->first, at->second);
    ASSERT_GT(cell.width, 0);
    QTest::mouseClick(window.workArea(), Qt::LeftButton, {},
                      QPoint(cell.x + cell.width / 2, cell.y + cell.height / 2));
    settle();
    ASSERT_EQ(panel.selectedCell(), error);
    EXPECT_EQ(std::string(panel.formulaBar()->field()->text()),
              "depends on cell that contain error; caused by Prices[3].rate: func unknown");

    QTest::keyClick(window.workArea(), Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    settle();
    EXPECT_EQ(root.frameCount(), 2);
    EXPECT_EQ(panel.selectedCell(), (CellPlace{kernel.getTableIndex("Prices"), 2, 3}));
    EXPECT_EQ(std::string(panel.formulaBar()->field()->text()),
              "func unknown; caused by Prices[3].rate: func unknown");
}

}  // namespace
}  // namespace qv::toolkit
