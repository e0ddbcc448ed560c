// Go to cause in a real Qt window on the offscreen platform: a real click
// selects an error cell, the formula line names its cause, and the real
// key Ctrl+Shift+G or a real click on the cause in the line selects the
// cell where the error began, in a view of its table opened for it.
#include <QTemporaryDir>
#include <fstream>
#include <memory>

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

// The document in a real window, its error cell Report[1].t selected by a
// real click.
struct ErrorCellWindow {
    ErrorCellWindow() {
        EXPECT_TRUE(folder.isValid());
        std::string path = folder.filePath(QStringLiteral("broken.qvl")).toStdString();
        std::ofstream(path, std::ios::binary) << toDiskLineEnds(kDocument);
        window.frame()->resize(1024, 768);
        listener = std::make_unique<MainPanelListener>(window, path);
    }
    MainPanel& panel() const { return listener->panel(); }
    CellPlace cell(std::string_view table, std::int32_t field, std::int32_t row) const {
        return {panel().kernel()->getTableIndex(table), field, row};
    }
    ::testing::AssertionResult clickErrorCell() {
        if (!showActive(window)) return ::testing::AssertionFailure() << "no window";
        settle();
        const FloatLayoutEditable& root = *panel().layoutRoot();
        if (root.frameCount() != 1) return ::testing::AssertionFailure() << "frames";
        auto report = cast<ResultEditable>(cast<TitleDecorator>(root.frame(0))->view());
        auto grid =
            report.isNull() ? Pointer<TableEditable>() : cast<TableEditable>(report->innerView());
        if (grid.isNull()) return ::testing::AssertionFailure() << "no grid";
        panel().support().layoutIfNeeded();
        auto at = grid->model()->positionOf(cell("Report", 1, 1));
        if (!at) return ::testing::AssertionFailure() << "no position";
        toolkit::Rect shown = grid->cellRect(at->first, at->second);
        QTest::mouseClick(window.workArea(), Qt::LeftButton, {},
                          QPoint(shown.x + shown.width / 2, shown.y + shown.height / 2));
        settle();
        if (panel().selectedCell() != cell("Report", 1, 1))
            return ::testing::AssertionFailure() << "not selected";
        return ::testing::AssertionSuccess();
    }
    std::string barText() const { return std::string(panel().formulaBar()->field()->text()); }

    QTemporaryDir folder;
    QtWindow window;
    std::unique_ptr<MainPanelListener> listener;
};

TEST(ExplainWindow, ARealClickOnAnErrorCellAndCtrlShiftGGoToItsCause) {
    ErrorCellWindow w;
    ASSERT_TRUE(w.clickErrorCell());
    EXPECT_EQ(w.barText(),
              "depends on cell that contain error; caused by Prices[3].rate: func unknown");

    QTest::keyClick(w.window.workArea(), Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    settle();
    EXPECT_EQ(w.panel().layoutRoot()->frameCount(), 2);
    EXPECT_EQ(w.panel().selectedCell(), w.cell("Prices", 2, 3));
    EXPECT_EQ(w.barText(), "func unknown; caused by Prices[3].rate: func unknown");
}

TEST(ExplainWindow, ARealClickOnTheCauseInTheFormulaLineGoesToIt) {
    ErrorCellWindow w;
    ASSERT_TRUE(w.clickErrorCell());
    toolkit::Rect link = w.panel().formulaBar()->field()->linkRect();
    ASSERT_FALSE(link.isEmpty());
    QPoint on(link.x + link.width / 2, link.y + link.height / 2);
    QTest::mouseMove(w.window.workArea(), on);
    settle();
    EXPECT_EQ(w.window.workArea()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(w.window.workArea(), Qt::LeftButton, {}, on);
    settle();
    EXPECT_EQ(w.panel().layoutRoot()->frameCount(), 2);
    EXPECT_EQ(w.panel().selectedCell(), w.cell("Prices", 2, 3));
    EXPECT_FALSE(w.panel().formulaBar()->isEditingCell());
}

}  // namespace
}  // namespace qv::toolkit
