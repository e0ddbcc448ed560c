// Moving between the views of the prices example with real F6, Shift+F6
// and Ctrl+Tab key presses in a Qt window on the offscreen platform.
#include <algorithm>
#include <vector>

#include "tests/qt/QtPanelSupport.h"

namespace qv::toolkit {
namespace {

// The top-level frame the keyboard is in, or null.
const AbstractEditable* focusedFrame(MainPanel& panel) {
    const AbstractEditable* root = panel.layoutRoot().get();
    const Pointer<AbstractEditable>& selected = panel.support().selected();
    for (const AbstractEditable* at = selected.isNull() ? nullptr : selected.get(); at != nullptr;
         at = at->parent()) {
        if (at->parent() == root) return at;
    }
    return nullptr;
}

TEST(KeyboardWindow, F6VisitsEveryViewOnceAndComesBack) {
    AnswerOkTo script(MessageBoxKind::Notice);
    OpenedExample example("prices.qvl", script);
    ASSERT_TRUE(example.show());
    MainPanel& panel = example.panel();
    QWidget* area = example.window().workArea();
    const std::int32_t views = panel.layoutRoot()->frameCount();
    ASSERT_EQ(views, 4);

    std::vector<const AbstractEditable*> visited;
    for (std::int32_t press = 0; press <= views; ++press) {
        QTest::keyClick(area, Qt::Key_F6);
        settle();
        visited.push_back(focusedFrame(panel));
        ASSERT_NE(visited.back(), nullptr) << press;
        // The view with the keyboard is in front of the others.
        const FloatLayoutEditable& root = *panel.layoutRoot();
        EXPECT_EQ(root.frame(root.frameCount() - 1).get(), visited.back());
    }
    std::vector<const AbstractEditable*> distinct(visited.begin(), visited.end() - 1);
    std::sort(distinct.begin(), distinct.end());
    EXPECT_EQ(std::unique(distinct.begin(), distinct.end()), distinct.end());
    EXPECT_EQ(visited.back(), visited.front());

    QTest::keyClick(area, Qt::Key_F6, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(focusedFrame(panel), visited[static_cast<std::size_t>(views - 1)]);
    QTest::keyClick(area, Qt::Key_Tab, Qt::ControlModifier);
    settle();
    EXPECT_EQ(focusedFrame(panel), visited.front());
    QTest::keyClick(area, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    settle();
    EXPECT_EQ(focusedFrame(panel), visited[static_cast<std::size_t>(views - 1)]);
    EXPECT_TRUE(script.asked.empty());
}

}  // namespace
}  // namespace qv::toolkit
