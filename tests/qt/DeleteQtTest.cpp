// Deleting a field in a real Qt window on the offscreen platform, on a copy
// of the prices example: a real right click on a field's header cell in
// the Catalogue grid offers Delete field; chosen, the warning lists the
// uses, Delete removes the field, the values that read it show errors, and
// Ctrl+Z gives the document and the values back.
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "core/ValueConversions.h"
#include "desktop/MainPanelListener.h"
#include "editing/TitleDecorator.h"
#include "kernel/ValueKinds.h"
#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtDialogs.h"
#include "views/ResultEditable.h"
#include "views/TableCells.h"
#include "views/TableEditable.h"

namespace qv::toolkit {
namespace {

// Delete to every delete warning; what was asked is kept.
class DeleteAll final : public DialogScript {
  public:
    Answer answerMessageBox(std::string_view text, MessageBoxKind kind) override {
        asked.emplace_back(text);
        return kind == MessageBoxKind::ConfirmDelete ? Answer::Ok : Answer::Cancel;
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

TEST(DeleteWindow, ARightClickOnAHeaderDeletesAFieldThatCtrlZRestores) {
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
    DeleteAll script;
    setDialogScript(&script);

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
    // Catalogue's gross reads its net (Books and Tools have their own).
    auto grossOfCatalogue = [&] {
        Pointer<TableResult> table = panel.kernel()->getTableByName("Catalogue");
        std::int32_t gross = 0;
        while (gross < table->fieldCount() && !table->fieldName(gross)->equals("gross"))
            ++gross;
        return table->value(gross, 0);
    };
    const std::string before = panel.toSource()->toStdString();
    // The view just opened is a step of its own: the document is modified
    // already, and stays so after the deletion is undone.
    const QString title = window->frame()->windowTitle();
    const std::string grossBefore = toText(grossOfCatalogue())->toStdString();
    ASSERT_EQ(valueKind(*grossOfCatalogue().object()), ValueKind::Plain);

    panel.support().layoutIfNeeded();
    toolkit::Rect cell = grid->cellRect(0, line);
    ASSERT_GT(cell.width, 0);
    QPoint at(cell.x + cell.width / 2, cell.y + cell.height / 2);
    QTest::mouseClick(window->workArea(), Qt::RightButton, {}, at);
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
    std::string deleted = panel.toSource()->toStdString();
    EXPECT_EQ(deleted.find("net:=0!"), std::string::npos);
    EXPECT_EQ(valueKind(*grossOfCatalogue().object()), ValueKind::Error);
    EXPECT_EQ(window->frame()->windowTitle(), QStringLiteral("prices.qvl *  - Quorvatelle"));
    EXPECT_EQ(panel.commands().undoCount(), 2);

    QTest::keyClick(window->workArea(), Qt::Key_Z, Qt::ControlModifier);
    settle();
    EXPECT_EQ(panel.toSource()->toStdString(), before);
    EXPECT_EQ(toText(grossOfCatalogue())->toStdString(), grossBefore);
    EXPECT_EQ(window->frame()->windowTitle(), title);
    EXPECT_EQ(panel.commands().undoCount(), 1);
    setDialogScript(nullptr);
}

}  // namespace
}  // namespace qv::toolkit
