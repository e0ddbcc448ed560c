// The zoom in a real window: Ctrl with the wheel, and the keys of the View
// menu (Ctrl+plus, Ctrl+=, Ctrl+minus, Ctrl+0), as Qt delivers them; the
// work area shrinks in its own pixels while the window stays as it is.
#include <gtest/gtest.h>

#include <QTest>
#include <QWheelEvent>

#include "tests/qt/QtPanelSupport.h"

namespace qv::toolkit {
namespace {

void ctrlWheel(QWidget* area, int notches) {
    QPointF at(200, 200);
    QWheelEvent event(at, area->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(area, &event);
    settle();
}

TEST(ZoomQt, CtrlWheelAndTheViewKeysZoomTheWorkArea) {
    AnswerOkTo script(MessageBoxKind::Notice);
    OpenedExample example("prices.qvl", script);
    ASSERT_TRUE(example.show());
    QWidget* area = example.window().workArea();
    std::string document = example.source();
    QSize before = area->size();

    struct Step {
        const char* what;
        std::function<void()> act;
        std::int32_t percent;
    };
    auto key = [area](Qt::Key key) {
        return [area, key] {
            QTest::keyClick(area, key, Qt::ControlModifier);
            settle();
        };
    };
    const Step steps[] = {
        {"Ctrl+wheel up", [area] { ctrlWheel(area, 1); }, 110},
        {"Ctrl+plus", key(Qt::Key_Plus), 125},
        {"Ctrl+=", key(Qt::Key_Equal), 150},
        {"Ctrl+wheel down twice", [area] { ctrlWheel(area, -2); }, 110},
        {"Ctrl+minus", key(Qt::Key_Minus), 100},
        {"Ctrl+minus again", key(Qt::Key_Minus), 90},
        {"Ctrl+0", key(Qt::Key_0), 100},
        {"Ctrl+wheel far up", [area] { ctrlWheel(area, 30); }, 300},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(example.panel().zoomPercent(), step.percent) << step.what;
    }
    EXPECT_EQ(area->size(), before);
    EXPECT_EQ(example.panel().window().size(),
              (Size{(before.width() + 2) / 3, (before.height() + 2) / 3}));
    // The document is as it was; nothing counts as a change.
    EXPECT_EQ(example.source(), document);
    EXPECT_FALSE(example.panel().flow().isModified());
    EXPECT_TRUE(script.asked.empty());
}

}  // namespace
}  // namespace qv::toolkit
