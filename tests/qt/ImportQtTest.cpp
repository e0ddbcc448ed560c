// File > Import... in a real Qt window on the offscreen platform: the menu
// item, the open dialog answered by the script, the preview window with a
// real click on OK; the grid of the new table shows the file's values, and
// Ctrl+Z takes the grid and then the table away. With QV_IMPORT_SHOTS set
// to a folder, the preview and the window after it are kept there as PNGs.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>

#include "desktop/MainPanelListener.h"
#include "editing/TitleDecorator.h"
#include "tests/qt/QtPanelSupport.h"
#include "toolkit/qt/QtDialogs.h"
#include "toolkit/qt/QtMessageLine.h"
#include "views/ResultEditable.h"
#include "views/TableEditable.h"

namespace qv::toolkit {
namespace {

// The CSV file for every open dialog; OK to every message box, which is kept.
class ImportScript final : public DialogScript {
  public:
    explicit ImportScript(std::string path) : m_path(std::move(path)) {}
    void setPath(std::string path) { m_path = std::move(path); }
    Answer answerMessageBox(std::string_view text, MessageBoxKind) override {
        told.emplace_back(text);
        return Answer::Ok;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        if (request.save) return std::nullopt;
        return m_path;
    }
    std::vector<std::string> told;

  private:
    std::string m_path;
};

void keepShot(QWidget* widget, const char* name) {
    const char* folder = std::getenv("QV_IMPORT_SHOTS");
    if (folder == nullptr) return;
    widget->grab().save(QString::fromUtf8(folder) + "/" + name);
}

// Every text the grid shows, a line per row, cells a bar apart.
std::string gridText(TableEditable& grid) {
    std::string text;
    const Pointer<GridModel>& model = grid.model();
    for (std::int32_t row = 0; row < model->rowCount(); ++row) {
        for (std::int32_t column = 0; column < model->columnCount(); ++column)
            text += model->createCell(column, row)->text()->toStdString() + "|";
        text += "\n";
    }
    return text;
}

TEST(ImportWindow, FileImportPreviewOkShowsTheGridAndCtrlZTakesItBack) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::string model = folder.filePath(QStringLiteral("model.qvl")).toStdString();
    std::string data = folder.filePath(QStringLiteral("stock.csv")).toStdString();
    std::ofstream(model, std::ios::binary) << "table Notes{\n    text:=\"\"!\n}\n//--end\n";
    std::ofstream(data, std::ios::binary) << "item;count;price;in stock\npen;12;1,5;true\n\"ink, "
                                             "blue\";3;4,25;false\nnib;40;0,8;true\n";
    auto window = std::make_unique<QtWindow>();
    window->frame()->resize(1024, 768);
    auto listener = std::make_unique<MainPanelListener>(*window, model);
    ASSERT_TRUE(showActive(*window));
    MainPanel& panel = listener->panel();
    ImportScript script(data);
    setDialogScript(&script);
    const std::string before = panel.toSource()->toStdString();

    ASSERT_TRUE(chooseMenuItem(*window, QStringLiteral("&File"), QStringLiteral("&Import...")));
    ImportDialog* dialog = panel.imports().dialog();
    ASSERT_NE(dialog, nullptr);
    auto* preview = dynamic_cast<QtWindow*>(&dialog->window());
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->frame()->isVisible());
    EXPECT_EQ(dialog->options().delimiter, ';');
    // The decimal comma, asked for by a real click on its box.
    toolkit::Rect box = ImportDialog::controlRect(ImportDialog::Control::DecimalComma);
    QTest::mouseClick(preview->workArea(), Qt::LeftButton, {}, QPoint(box.x + 5, box.y + 10));
    settle();
    ASSERT_TRUE(dialog->preview().has_value());
    EXPECT_EQ(dialog->preview()->columnType(2), CsvType::Number);
    keepShot(preview->frame(), "import-preview.png");

    toolkit::Rect ok = ImportDialog::controlRect(ImportDialog::Control::Ok);
    QTest::mouseClick(preview->workArea(), Qt::LeftButton, {}, QPoint(ok.x + 20, ok.y + 10));
    settle();
    EXPECT_FALSE(dialog->isOpen());
    // The report in the main window's message line, and no box.
    EXPECT_TRUE(script.told.empty()) << script.told.front();
    ASSERT_NE(window->messageLine(), nullptr);
    EXPECT_EQ(window->messageLine()->text().toStdString(),
              "imported stock: 0 updated, 3 added, 0 removed");
    const FloatLayoutEditable& root = *panel.layoutRoot();
    ASSERT_EQ(root.frameCount(), 1);
    auto result = cast<ResultEditable>(cast<TitleDecorator>(root.frame(0))->view());
    ASSERT_FALSE(result.isNull());
    auto grid = cast<TableEditable>(result->innerView());
    ASSERT_FALSE(grid.isNull());
    std::string shown = gridText(*grid);
    for (const char* value : {"pen", "ink, blue", "nib", "12", "4.25", "0.8", "true", "false"})
        EXPECT_NE(shown.find(std::string(value) + "|"), std::string::npos) << value << "\n"
                                                                           << shown;
    keepShot(window->frame(), "import-grid.png");

    // One Ctrl+Z takes the grid and the import back together.
    QTest::keyClick(window->workArea(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(root.frameCount(), 0);
    EXPECT_LT(panel.kernel()->getTableIndex("stock"), 0);
    EXPECT_EQ(panel.toSource()->toStdString(), before);
    setDialogScript(nullptr);
}

// A refresh by key in the window keeps the formula field; then a file with
// a fault is told in the preview's message line and changes nothing.
TEST(ImportWindow, ARefreshByKeyKeepsTheFormulaAndABadFileIsTold) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::string model = folder.filePath(QStringLiteral("model.qvl")).toStdString();
    std::string data = folder.filePath(QStringLiteral("stock.csv")).toStdString();
    std::string bad = folder.filePath(QStringLiteral("broken.csv")).toStdString();
    std::ofstream(model, std::ios::binary) << "table stock{\n    item:=\"\"!\n    count:=0!\n"
                                              "    value:=count*2!\n"
                                              "    <1>:={item:=\"pen\",count:=1}\n"
                                              "    <2>:={item:=\"cap\",count:=2}\n}\n//--end\n";
    std::ofstream(data, std::ios::binary) << "item,count\npen,5\nnib,7\n";
    std::ofstream(bad, std::ios::binary) << "item,count\npen,5\n\"nib,7\n";
    auto window = std::make_unique<QtWindow>();
    window->frame()->resize(1024, 768);
    auto listener = std::make_unique<MainPanelListener>(*window, model);
    ASSERT_TRUE(showActive(*window));
    MainPanel& panel = listener->panel();
    ImportScript script(data);
    setDialogScript(&script);

    ASSERT_TRUE(chooseMenuItem(*window, QStringLiteral("&File"), QStringLiteral("&Import...")));
    ImportDialog* dialog = panel.imports().dialog();
    ASSERT_NE(dialog, nullptr);
    auto* preview = dynamic_cast<QtWindow*>(&dialog->window());
    ASSERT_NE(preview, nullptr);
    ASSERT_NE(dialog->existingTable(), nullptr);
    toolkit::Rect key = ImportDialog::controlRect(ImportDialog::Control::Key);
    QTest::mouseClick(preview->workArea(), Qt::LeftButton, {}, QPoint(key.x + 20, key.y + 10));
    settle();
    EXPECT_EQ(dialog->key(), "item");
    keepShot(preview->frame(), "import-refresh.png");
    QTest::keyClick(preview->workArea(), Qt::Key_Return);
    settle();
    EXPECT_TRUE(script.told.empty()) << script.told.front();
    ASSERT_NE(window->messageLine(), nullptr);
    EXPECT_EQ(window->messageLine()->text().toStdString(),
              "refreshed stock: 1 updated, 1 added, 1 removed");
    const std::string refreshed = panel.toSource()->toStdString();
    EXPECT_NE(refreshed.find("value:=count*2!"), std::string::npos) << refreshed;

    script.setPath(bad);
    ASSERT_TRUE(chooseMenuItem(*window, QStringLiteral("&File"), QStringLiteral("&Import...")));
    dialog = panel.imports().dialog();
    ASSERT_NE(dialog, nullptr);
    preview = dynamic_cast<QtWindow*>(&dialog->window());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(dialog->message(), "line 3, column 1: unterminated quoted cell");
    keepShot(preview->frame(), "import-fault.png");
    QTest::keyClick(preview->workArea(), Qt::Key_Return);
    settle();
    EXPECT_TRUE(dialog->isOpen());
    EXPECT_EQ(panel.toSource()->toStdString(), refreshed);
    QTest::keyClick(preview->workArea(), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(dialog->isOpen());
    setDialogScript(nullptr);
}

}  // namespace
}  // namespace qv::toolkit
