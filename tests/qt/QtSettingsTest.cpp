// What the user's settings ask of the Qt backend: the window's place read
// and set, the screen's free area, file dialogs that start in the folder
// set for them, and menu items greyed or bound to a second key.
#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtDialogs.h"
#include "toolkit/qt/QtWindow.h"

namespace qv::toolkit {
namespace {

// Cancels every file dialog, keeping where each would have started.
class RecordStarts final : public DialogScript {
  public:
    Answer answerMessageBox(std::string_view, MessageBoxKind) override { return Answer::Cancel; }
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        starts.push_back(request.initialPath);
        return std::nullopt;
    }
    std::vector<std::string> starts;
};

TEST(QtSettings, TheWindowsPlaceIsReadAsItWasSet) {
    QtWindow window;
    window.setGeometry({120, 90, 700, 500});
    EXPECT_EQ(window.geometry(), (Rect{120, 90, 700, 500}));
    EXPECT_FALSE(window.screenArea().isEmpty());
}

TEST(QtSettings, FileDialogsWithoutAPathStartInTheFolderSet) {
    RecordStarts script;
    setDialogScript(&script);
    QtWindow window;
    window.showFileDialog({false, "A(*.a),*.a,", "a", ""});
    window.setFileDialogFolder("/srv/models");
    window.showFileDialog({false, "A(*.a),*.a,", "a", ""});
    window.showFileDialog({true, "A(*.a),*.a,", "a", "/home/ada/loan.qvl"});
    setDialogScript(nullptr);
    EXPECT_EQ(script.starts, (std::vector<std::string>{"", "/srv/models", "/home/ada/loan.qvl"}));
}

TEST(QtSettings, MenuItemsMayBeGreyedAndHaveASecondKey) {
    QtWindow window;
    MenuItem zoom{"Zoom &in", 1, "Ctrl++", {}};
    zoom.alternateShortcut = "Ctrl+=";
    MenuItem greyed{"&2 /gone.qvl", 2, {}, {}};
    greyed.enabled = false;
    MenuItem recent{"&Recent", 0, {}, {greyed}};
    window.setMenuBar({MenuItem{"&View", 0, {}, {zoom, recent}}});
    QList<QAction*> actions = window.frame()->menuBar()->actions();
    ASSERT_EQ(actions.size(), 1);
    QList<QAction*> items = actions[0]->menu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                                          QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    EXPECT_TRUE(items[0]->isEnabled());
    ASSERT_NE(items[1]->menu(), nullptr);
    QList<QAction*> documents = items[1]->menu()->actions();
    ASSERT_EQ(documents.size(), 1);
    EXPECT_FALSE(documents[0]->isEnabled());
}

}  // namespace
}  // namespace qv::toolkit
