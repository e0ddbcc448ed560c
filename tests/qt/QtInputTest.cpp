// Real key, mouse and wheel events sent to the work area reach the listener
// with the framework's codes and kinds; menus and their shortcuts choose
// items by id.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWheelEvent>

#include "tests/qt/QtTestSupport.h"
#include "toolkit/Events.h"

namespace qv::toolkit {
namespace {

using Input = ShownWindow;

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;          // what the platform says the key types
    const char* expected;  // the listener's line, or "" when nothing reaches it
};

TEST_F(Input, EveryKeyReachesTheListenerWithItsCode) {
    const QString euro = QString::fromUtf8("\xE2\x82\xAC");
    const QString grin = QString::fromUtf8("\xF0\x9F\x98\x80");
    const KeyCase cases[] = {
        {"left", Qt::Key_Left, Qt::NoModifier, {}, "key left"},
        {"right", Qt::Key_Right, Qt::NoModifier, {}, "key right"},
        {"up", Qt::Key_Up, Qt::NoModifier, {}, "key up"},
        {"down", Qt::Key_Down, Qt::NoModifier, {}, "key down"},
        {"page up", Qt::Key_PageUp, Qt::NoModifier, {}, "key page-up"},
        {"page down", Qt::Key_PageDown, Qt::NoModifier, {}, "key page-down"},
        {"F2", Qt::Key_F2, Qt::NoModifier, {}, "key F2"},
        {"delete", Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)), "key delete"},
        {"escape", Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1B)), "key escape"},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, QString(QChar(0x08)), "key backspace"},
        {"tab", Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"), "key tab"},
        {"shift tab", Qt::Key_Backtab, Qt::ShiftModifier, {}, "key tab shift"},
        {"return", Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), "key enter"},
        {"keypad enter", Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"), "key enter"},
        {"ctrl c", Qt::Key_C, Qt::ControlModifier, QString(QChar(0x03)), "key copy ctrl"},
        {"ctrl v", Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)), "key paste ctrl"},
        {"ctrl x", Qt::Key_X, Qt::ControlModifier, QString(QChar(0x18)), "key cut ctrl"},
        {"ctrl z", Qt::Key_Z, Qt::ControlModifier, QString(QChar(0x1A)), "key undo ctrl"},
        {"ctrl y", Qt::Key_Y, Qt::ControlModifier, QString(QChar(0x19)), "key redo ctrl"},
        {"ctrl shift z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(0x1A)),
         "key redo shift+ctrl"},
        {"end", Qt::Key_End, Qt::NoModifier, {}, "key end"},
        {"home", Qt::Key_Home, Qt::NoModifier, {}, "key home"},
        {"ctrl a", Qt::Key_A, Qt::ControlModifier, QString(QChar(0x01)), "key select-all ctrl"},
        {"shift left", Qt::Key_Left, Qt::ShiftModifier, {}, "key left shift"},
        {"ctrl home", Qt::Key_Home, Qt::ControlModifier, {}, "key home ctrl"},
        {"a", Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), "key char a"},
        {"shift a", Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"), "key char A shift"},
        {"space", Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), "key char  "},
        {"e acute", Qt::Key_Eacute, Qt::NoModifier, QString(QChar(0xE9)), "key char \xC3\xA9"},
        {"euro", Qt::Key_unknown, Qt::NoModifier, euro, "key char \xE2\x82\xAC"},
        {"outside the basic plane", Qt::Key_unknown, Qt::NoModifier, grin,
         "key char \xF0\x9F\x98\x80"},
        {"altgr at sign", Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("@"),
         "key char @ ctrl+alt"},
        {"shift alone", Qt::Key_Shift, Qt::ShiftModifier, {}, ""},
        {"ctrl b", Qt::Key_B, Qt::ControlModifier, QString(QChar(0x02)), ""},
        {"alt x", Qt::Key_X, Qt::AltModifier, QStringLiteral("x"), ""},
        {"F5", Qt::Key_F5, Qt::NoModifier, {}, ""},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        listener.events.clear();
        QTest::sendKeyEvent(QTest::Click, window->workArea(), c.key, c.text, c.modifiers);
        std::vector<std::string> expected;
        if (*c.expected != '\0') expected.push_back(c.expected);
        EXPECT_EQ(listener.events, expected);
    }
}

struct MouseCase {
    const char* name;
    std::function<void(QWidget*)> send;
    std::vector<std::string> expected;
};

TEST_F(Input, MouseEventsArriveWithTheirKindsAndWorkAreaPixels) {
    const MouseCase cases[] = {
        {"left click",
         [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(10, 20)); },
         {"mouse press 10,20", "mouse release 10,20"}},
        {"drag with the left button",
         [](QWidget* w) {
             QTest::mousePress(w, Qt::LeftButton, {}, QPoint(30, 40));
             QTest::mouseMove(w, QPoint(35, 47));
             QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(35, 47));
         },
         {"mouse press 30,40", "mouse drag 35,47", "mouse release 35,47"}},
        {"shift click",
         [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6)); },
         {"mouse press 5,6 shift", "mouse release 5,6 shift"}},
        {"right press",
         [](QWidget* w) { QTest::mouseClick(w, Qt::RightButton, {}, QPoint(70, 80)); },
         {"mouse right-press 70,80"}},
        {"middle button",
         [](QWidget* w) { QTest::mouseClick(w, Qt::MiddleButton, {}, QPoint(1, 1)); },
         {}},
        {"double click",
         [](QWidget* w) { QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(50, 60)); },
         {"mouse double-click 50,60"}},
    };
    for (const MouseCase& c : cases) {
        SCOPED_TRACE(c.name);
        listener.events.clear();
        c.send(window->workArea());
        EXPECT_EQ(listener.events, c.expected);
    }
}

TEST_F(Input, APlatformDoubleClickIsPressReleaseDoubleClickRelease) {
    // Through the platform layer, as a user's clicks come (the pointer
    // arrives first): the second press is reported only as the double click.
    QPoint inWindow = window->workArea()->mapTo(window->frame(), QPoint(50, 60));
    QTest::mouseDClick(window->frame()->windowHandle(), Qt::LeftButton, {}, inWindow);
    EXPECT_EQ(listener.events, (std::vector<std::string>{
                                   "mouse move 50,60", "mouse press 50,60", "mouse release 50,60",
                                   "mouse double-click 50,60", "mouse release 50,60"}));
}

TEST_F(Input, MovingWithoutAButtonIsKindSix) {
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 34),
                     window->workArea()->mapToGlobal(QPointF(12, 34)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(window->workArea(), &move);
    EXPECT_EQ(listener.events, std::vector<std::string>{"mouse move 12,34"});
}

TEST_F(Input, WheelNotchesAddUpAcrossSmallSteps) {
    struct WheelCase {
        const char* name;
        std::vector<int> deltas;
        std::vector<std::string> expected;
    };
    const WheelCase cases[] = {
        {"one notch away from the user", {120}, {"wheel 1 20,30"}},
        {"two notches towards the user", {-240}, {"wheel -2 20,30"}},
        {"half notches", {60, 60}, {"wheel 1 20,30"}},
        {"less than a notch", {40}, {}},
    };
    for (const WheelCase& c : cases) {
        SCOPED_TRACE(c.name);
        window.reset();  // a fresh remainder
        window = std::make_unique<QtWindow>();
        window->setListener(&listener);
        listener.events.clear();
        for (int delta : c.deltas) {
            QPointF at(20, 30);
            QWheelEvent wheel(at, window->workArea()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(window->workArea(), &wheel);
        }
        EXPECT_EQ(listener.events, c.expected);
    }
}

MenuBar fileAndEditMenus() {
    MenuItem file{"&File", 0, {}, {}};
    file.items = {{"&New", 101, "Ctrl+N", {}},
                  {"&Open", 102, "Ctrl+O", {}},
                  MenuItem::separatorItem(),
                  {"Save &As...", 104, "Ctrl+Shift+S", {}}};
    MenuItem edit{"&Edit", 0, {}, {}};
    edit.items = {{"&Cut\tCtrl+X", 201, {}, {}}};
    return {file, edit};
}

TEST_F(Input, MenuBarShowsTheItemsInOrderWithTheirLetters) {
    window->setMenuBar(fileAndEditMenus());
    QList<QAction*> menus = window->frame()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Edit"));
    QList<QAction*> items = menus[0]->menu()->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&New"));
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    items[1]->trigger();
    EXPECT_EQ(listener.events, std::vector<std::string>{"menu 102"});
}

TEST_F(Input, ShortcutsChooseTheirItemsAndOtherKeysStayKeys) {
    window->setMenuBar(fileAndEditMenus());
    settle();
    const KeyCase cases[] = {
        {"ctrl n", Qt::Key_N, Qt::ControlModifier, QString(QChar(0x0E)), "menu 101"},
        {"ctrl shift s", Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(0x13)),
         "menu 104"},
        // A key written in a caption is shown, not bound: Ctrl+X stays a key.
        {"ctrl x", Qt::Key_X, Qt::ControlModifier, QString(QChar(0x18)), "key cut ctrl"},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        listener.events.clear();
        QTest::sendKeyEvent(QTest::Click, window->workArea(), c.key, c.text, c.modifiers);
        EXPECT_EQ(listener.events, std::vector<std::string>{c.expected});
    }
}

TEST_F(Input, SettingTheMenusAgainFromAMenuItemReplacesThem) {
    window->setMenuBar(fileAndEditMenus());
    listener.onEvent = [this](const std::string& event) {
        if (event == "menu 101") window->setMenuBar({{"&Help", 0, {}, {{"&About", 301, {}, {}}}}});
    };
    window->frame()->menuBar()->actions()[0]->menu()->actions()[0]->trigger();
    settle();
    QList<QAction*> menus = window->frame()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Help"));
}

TEST_F(Input, ContextMenuChoosesByIdAndGoesAway) {
    MenuItem add{"&Add", 0, {}, {{"P&anel", 401, {}, {}}, {"&Text area", 402, {}, {}}}};
    window->popupMenu({add, {"&Open", 403, {}, {}}}, {30, 40});
    settle();
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("&Add"));
    EXPECT_EQ(items[0]->menu()->actions()[1]->text(), QStringLiteral("&Text area"));
    QPointer<QMenu> alive(menu);
    items[0]->menu()->actions()[1]->trigger();
    menu->close();
    settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(listener.events, std::vector<std::string>{"menu 402"});
    EXPECT_TRUE(alive.isNull());
}

}  // namespace
}  // namespace qv::toolkit
