// The program's main panel in a real Qt window on the offscreen platform,
// on a copy of an example: real key and mouse events add a panel and a
// text area through the menu, move the panel, type, undo, drag the text
// area into the panel, and Save As through the flow with a scripted file
// dialog; the saved document is what those steps make. And the program
// itself, run as a process with no display, writes its screenshot.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/Document.h"
#include "app/DocumentFile.h"
#include "charts/TableChartModel.h"
#include "core/ValueConversions.h"
#include "desktop/ChartExport.h"
#include "desktop/MainPanelListener.h"
#include "editing/TextEditable.h"
#include "editing/TitleDecorator.h"
#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtDialogs.h"
#include "views/ResultEditable.h"
#include "views/TableEditable.h"

namespace qv::toolkit {
namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Saves go where the test says; no question is expected.
class SaveTo final : public DialogScript {
  public:
    explicit SaveTo(std::string path) : m_path(std::move(path)) {}
    Answer answerMessageBox(std::string_view text, MessageBoxKind) override {
        asked.emplace_back(text);
        return Answer::Cancel;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        asked.push_back(request.filter);
        return m_path;
    }
    std::vector<std::string> asked;

  private:
    std::string m_path;
};

class ProgramWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        example = fromDiskLineEnds(bytesOf(std::string(QV_SOURCE_DIR) + "/examples/prices.qvl"));
        std::string path = file("prices.qvl");
        std::ofstream(path, std::ios::binary) << toDiskLineEnds(example);
        window = std::make_unique<QtWindow>();
        window->frame()->resize(1024, 768);
        listener = std::make_unique<MainPanelListener>(*window, path);
        ASSERT_TRUE(showActive(*window));
    }
    void TearDown() override {
        setDialogScript(nullptr);
        listener.reset();
        window.reset();
    }

    std::string file(const char* name) const {
        return folder.filePath(QString::fromUtf8(name)).toStdString();
    }
    MainPanel& panel() const { return listener->panel(); }
    QWidget* area() const { return window->workArea(); }
    Pointer<TitleDecorator> topFrame() const {
        const FloatLayoutEditable& root = *panel().layoutRoot();
        return cast<TitleDecorator>(root.frame(root.frameCount() - 1));
    }
    void choose(const QString& menu, const QString& item) {
        for (QAction* bar : window->frame()->menuBar()->actions()) {
            if (bar->text() != menu) continue;
            for (QAction* action : bar->menu()->actions()) {
                if (action->text() == item) {
                    action->trigger();
                    settle();
                    return;
                }
            }
        }
        FAIL() << "no menu item " << item.toStdString();
    }
    // By the title bar, left of the buttons, as a hand drags.
    void drag(const Pointer<TitleDecorator>& frame, QPoint to) {
        panel().support().layoutIfNeeded();
        toolkit::Rect bar = frame->titleBarRect();
        QPoint from(bar.x + 6, bar.y + bar.height / 2);
        QTest::mousePress(area(), Qt::LeftButton, {}, from);
        QTest::mouseMove(area(), (from + to) / 2);
        QTest::mouseMove(area(), to);
        QTest::mouseRelease(area(), Qt::LeftButton, {}, to);
        settle();
    }

    QTemporaryDir folder;
    std::string example;
    std::unique_ptr<QtWindow> window;
    std::unique_ptr<MainPanelListener> listener;
};

TEST_F(ProgramWindow, RealEventsEditTheExampleAndSaveAsWritesTheResult) {
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("prices.qvl - Quorvatelle"));
    choose(QStringLiteral("&Add"), QStringLiteral("P&anel"));
    Pointer<TitleDecorator> panelFrame = topFrame();
    // Dragged by its title bar to (520, 360): the move is a step of the
    // history of its own.
    drag(panelFrame, QPoint(520 + 6, 360 + panelFrame->titleBarHeight() / 2));
    EXPECT_EQ(panelFrame->bounds().x, 520);
    EXPECT_EQ(panelFrame->bounds().y, 360);
    EXPECT_EQ(panel().commands().undoCount(), 2);

    choose(QStringLiteral("&Add"), QStringLiteral("&Text area"));
    Pointer<TitleDecorator> textFrame = topFrame();
    panel().support().layoutIfNeeded();
    toolkit::Rect text = textFrame->bounds();
    QTest::mouseClick(area(), Qt::LeftButton, {},
                      QPoint(text.x + 10, text.y + textFrame->titleBarHeight() + 8));
    QTest::keyClicks(area(), QStringLiteral("Hello"));
    QTest::keyClick(area(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("prices.qvl *  - Quorvatelle"));

    // Into the panel's one empty cell.
    panel().support().layoutIfNeeded();
    toolkit::Rect table = panelFrame->view()->bounds();
    drag(textFrame, QPoint(table.x + table.width / 2, table.y + table.height / 2));

    SaveTo script(file("saved.qvl"));
    setDialogScript(&script);
    QTest::keyClick(area(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    settle();
    EXPECT_EQ(script.asked,
              std::vector<std::string>{"Quorvatelle Documents(*.qvl),*.qvl,All Files(*.*),*.*,"});
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("saved.qvl - Quorvatelle"));

    std::string program = Document::read(str(example))->kernel()->toSource()->toStdString();
    std::string layout =
        "optimized(40,60) result(Books);\n"
        "optimized(40,240) result(Tools);\n"
        "optimized(500,200) result(Books[0]);\n"
        "optimized(560,60) text(\"Books are taxed at 7%, tools at 20%.\\nThe dictionary's gross "
        "price is fixed.\");\n"
        "optimized(520,360) ltable{\n    lrow{\n        text(\"Hell\");\n    }\n}\n";
    EXPECT_EQ(fromDiskLineEnds(bytesOf(file("saved.qvl"))), program + layout + "//--end");
    // The drop into the panel is one step: undo takes the text area out.
    QTest::keyClick(area(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(cast<TitleDecorator>(panelFrame)->view()->toSource()->toStdString(),
              "ltable{\n    lrow{\n        ;\n    }\n}\n");
}

// Real keys type a formula into a cell of the Books grid: the grid shows the
// recomputed value, undo takes it back, and the document saved and opened
// again holds the edit.
TEST_F(ProgramWindow, AFormulaTypedIntoACellIsUndoneSavedAndReadBack) {
    const FloatLayoutEditable& root = *panel().layoutRoot();
    auto books = cast<ResultEditable>(cast<TitleDecorator>(root.frame(0))->view());
    ASSERT_FALSE(books.isNull());
    auto grid = cast<TableEditable>(books->innerView());
    ASSERT_FALSE(grid.isNull());
    // Column 2 is record 1 (Atlas), line 2 its net price, line 3 its gross.
    auto cellText = [&](std::int32_t column, std::int32_t row) {
        return grid->model()->createCell(column, row)->text()->toStdString();
    };
    ASSERT_EQ(cellText(0, 2), "net");
    ASSERT_EQ(cellText(2, 2), "30");
    panel().support().layoutIfNeeded();
    toolkit::Rect cell = grid->cellRect(2, 2);
    ASSERT_GT(cell.width, 0);
    QTest::mouseClick(area(), Qt::LeftButton, {},
                      QPoint(cell.x + cell.width / 2, cell.y + cell.height / 2));
    QTest::keyClicks(area(), QStringLiteral("=10*5"));
    settle();
    EXPECT_EQ(panel().formulaBar()->field()->text(), "=10*5");
    QTest::keyClick(area(), Qt::Key_Return);
    settle();
    EXPECT_EQ(cellText(2, 2), "50");
    // Gross follows at 7% tax.
    EXPECT_EQ(cellText(2, 3), "53.5");
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("prices.qvl *  - Quorvatelle"));

    QTest::keyClick(area(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(cellText(2, 2), "30");
    QTest::keyClick(area(), Qt::Key_Y, Qt::ControlModifier);
    settle();
    EXPECT_EQ(cellText(2, 2), "50");

    QTest::keyClick(area(), Qt::Key_S, Qt::ControlModifier);
    settle();
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("prices.qvl - Quorvatelle"));
    Pointer<Document> reread = Document::read(str(fromDiskLineEnds(bytesOf(file("prices.qvl")))));
    Pointer<TableResult> table = reread->kernel()->getTableByName("Books");
    EXPECT_EQ(toText(table->value(1, 1))->toStdString(), "50");
    EXPECT_EQ(toText(table->value(3, 1))->toStdString(), "53.5");
}

// A chart view of the example's table, then a real right click on it: the
// context menu's one item asks where to write, and the PNG written is the
// chart at its size on screen.
// A view added through the menu takes the keyboard: real keys typed next
// go into it, not into the grid cell selected before; and Compute is bound
// to F9.
TEST_F(ProgramWindow, AnAddedViewTakesTheKeysAndComputeIsOnF9) {
    std::string program = panel().kernel()->toSource()->toStdString();
    panel().support().layoutIfNeeded();
    toolkit::Rect books = panel().layoutRoot()->frame(0)->bounds();
    QTest::mouseClick(area(), Qt::LeftButton, {}, QPoint(books.x + 150, books.y + 50));
    choose(QStringLiteral("&Add"), QStringLiteral("&Text area"));
    QTest::keyClicks(area(), QStringLiteral("Hi"));
    settle();
    auto text = cast<TextEditable>(topFrame()->view());
    ASSERT_FALSE(text.isNull());
    EXPECT_EQ(std::string(text->text()), "Hi");
    EXPECT_EQ(panel().kernel()->toSource()->toStdString(), program);
    EXPECT_TRUE(panel().formulaBar()->editedCell().isNull());

    QAction* compute = nullptr;
    for (QAction* bar : window->frame()->menuBar()->actions()) {
        if (bar->text() != QStringLiteral("&View")) continue;
        for (QAction* action : bar->menu()->actions()) {
            if (action->text() == QStringLiteral("&Compute")) compute = action;
        }
    }
    ASSERT_NE(compute, nullptr);
    EXPECT_EQ(compute->shortcut(), QKeySequence(Qt::Key_F9));
}

TEST_F(ProgramWindow, TheChartsContextMenuExportsItAsAPng) {
    auto chart =
        make<ChartEditable>(make<TableChartModel>(panel().kernel()->getTableByName("Books")));
    panel().addView(chart);
    panel().support().layoutIfNeeded();
    toolkit::Rect at = chart->bounds();
    QPoint inside = QPoint(at.x + at.width / 2, at.y + at.height / 2);
    ASSERT_EQ(chartAt(panel().layoutRoot()->hitTest(inside.x(), inside.y(), true)).get(),
              chart.get());
    QTest::mousePress(area(), Qt::RightButton, {}, inside);
    QTest::mouseRelease(area(), Qt::RightButton, {}, inside);
    settle();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("&Export chart..."));

    SaveTo script(file("books.png"));
    setDialogScript(&script);
    menu->actions()[0]->trigger();
    menu->close();
    settle();
    EXPECT_EQ(script.asked, std::vector<std::string>{std::string(ChartExport::kFilter)});
    QImage image(QString::fromStdString(file("books.png")));
    EXPECT_EQ(image.size(), QSize(at.width, at.height));
    // Exporting is no change of the document.
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("prices.qvl *  - Quorvatelle"));
    EXPECT_EQ(panel().commands().undoCount(), 1);
}

TEST(Program, TheScreenshotOptionWritesThePngWithNoDisplay) {
    QTemporaryDir folder;
    std::string png = folder.filePath(QStringLiteral("loan.png")).toStdString();
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                          std::string(QV_PROGRAM_PATH) + "' --screenshot '" + png + "' '" +
                          std::string(QV_SOURCE_DIR) + "/examples/loan.qvl' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1024, 768));
    EXPECT_GT(colourCount(image), 20u);
}

// A screenshot is painted only of a document that reads: one that does not
// ends the program with the reader's message and writes no file.
TEST(Program, AScreenshotOfADocumentThatDoesNotReadFailsAndWritesNothing) {
    QTemporaryDir folder;
    const std::string base = folder.path().toStdString();
    const std::string broken = base + "/broken.qvl";
    QFile file(QString::fromStdString(broken));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("table T{ a:=1!\n");
    file.close();
    const struct {
        std::string document;
        int status;
        std::string message;  // the start of what is said, if anything
    } cases[] = {
        {broken, 1, "quorvatelle: " + broken + ":2:1: "},
        {base + "/missing.qvl", 1, "quorvatelle: " + base + "/missing.qvl: "},
        {std::string(QV_SOURCE_DIR) + "/examples/prices.qvl", 0, ""},
    };
    const std::string png = base + "/shot.png";
    const std::string said = base + "/said.txt";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        QFile::remove(QString::fromStdString(png));
        std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                              std::string(QV_PROGRAM_PATH) + "' --screenshot '" + png + "' '" +
                              c.document + "' 2>'" + said + "'";
        int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.status);
        EXPECT_EQ(QFile::exists(QString::fromStdString(png)), c.status == 0);
        QFile saidFile(QString::fromStdString(said));
        ASSERT_TRUE(saidFile.open(QIODevice::ReadOnly));
        const std::string text = saidFile.readAll().toStdString();
        if (!c.message.empty()) {
            EXPECT_TRUE(text.starts_with(c.message)) << text;
        }
    }
}

TEST(Program, AMissingScreenshotPathIsAUsageError) {
    std::string command = "'" + std::string(QV_PROGRAM_PATH) + "' --screenshot 2>/dev/null";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace qv::toolkit
