// What the tests of the program in a real window share: a copy of an example
// opened in a shown, active window, scripted answers to its message boxes,
// and the grid of a table with the lines of its fields.
#pragma once

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/MainPanelListener.h"
#include "editing/TitleDecorator.h"
#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtDialogs.h"
#include "views/ResultEditable.h"
#include "views/TableCells.h"
#include "views/TableEditable.h"

namespace qv::toolkit {

inline std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// OK to every message box of one kind, Cancel to the others; what was
// asked is kept.
class AnswerOkTo final : public DialogScript {
  public:
    explicit AnswerOkTo(MessageBoxKind kind) : m_kind(kind) {}
    Answer answerMessageBox(std::string_view text, MessageBoxKind kind) override {
        asked.emplace_back(text);
        return kind == m_kind ? Answer::Ok : Answer::Cancel;
    }
    std::optional<std::string> chooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::vector<std::string> asked;

  private:
    MessageBoxKind m_kind;
};

// A copy of examples/`name` in a temporary folder, opened in a window of
// 1024 by 768; `script` answers its message boxes while it lives.
class OpenedExample {
  public:
    OpenedExample(const char* name, DialogScript& script) {
        m_path = m_folder.filePath(QString::fromUtf8(name)).toStdString();
        std::ofstream(m_path, std::ios::binary)
            << bytesOf(std::string(QV_SOURCE_DIR) + "/examples/" + name);
        m_window = std::make_unique<QtWindow>();
        m_window->frame()->resize(1024, 768);
        m_listener = std::make_unique<MainPanelListener>(*m_window, m_path);
        setDialogScript(&script);
    }
    ~OpenedExample() { setDialogScript(nullptr); }
    OpenedExample(const OpenedExample&) = delete;
    OpenedExample& operator=(const OpenedExample&) = delete;

    ::testing::AssertionResult show() {
        if (!m_folder.isValid()) return ::testing::AssertionFailure() << "no temporary folder";
        return showActive(*m_window);
    }
    MainPanel& panel() { return m_listener->panel(); }
    QtWindow& window() { return *m_window; }
    std::string source() { return panel().toSource()->toStdString(); }

  private:
    QTemporaryDir m_folder;
    std::string m_path;
    std::unique_ptr<QtWindow> m_window;
    std::unique_ptr<MainPanelListener> m_listener;
};

// The grid of a new result view of `table`; null when none opened.
inline Pointer<TableEditable> openGrid(MainPanel& panel, const char* table) {
    panel.openResultView(str(table));
    settle();
    const FloatLayoutEditable& root = *panel.layoutRoot();
    auto view =
        cast<ResultEditable>(cast<TitleDecorator>(root.frame(root.frameCount() - 1))->view());
    return view.isNull() ? Pointer<TableEditable>() : cast<TableEditable>(view->innerView());
}

// The line of a grid whose name cell reads `name`; -1 when none does.
inline std::int32_t nameLine(TableEditable& grid, std::string_view name) {
    for (std::int32_t row = 0; row < grid.model()->rowCount(); ++row) {
        Pointer<CellModel> cell = grid.model()->createCell(0, row);
        if (is<NameCell>(cell) && cell->text()->view() == name) return row;
    }
    return -1;
}

// The middle of a grid cell in the work area; nullopt when it is not laid
// out in sight.
inline std::optional<QPoint> cellCentre(MainPanel& panel, TableEditable& grid, std::int32_t column,
                                        std::int32_t row) {
    panel.support().layoutIfNeeded();
    toolkit::Rect cell = grid.cellRect(column, row);
    if (cell.width <= 0) return std::nullopt;
    return QPoint(cell.x + cell.width / 2, cell.y + cell.height / 2);
}

// Triggers the item of a menu of the menu bar, by their captions; false
// when there is no such item.
inline bool chooseMenuItem(QtWindow& window, const QString& menu, const QString& item) {
    for (QAction* bar : window.frame()->menuBar()->actions()) {
        if (bar->text() != menu) continue;
        for (QAction* action : bar->menu()->actions()) {
            if (action->text() != item) continue;
            action->trigger();
            settle();
            return true;
        }
    }
    return false;
}

}  // namespace qv::toolkit
