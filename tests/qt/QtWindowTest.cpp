// The window's services: posted messages after the current event, timers,
// the close button, further windows, the title, the message line, the
// clipboard and the run loop's exit status.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

#include "tests/qt/QtTestSupport.h"
#include "toolkit/qt/QtApplication.h"
#include "toolkit/qt/QtMessageLine.h"

namespace qv::toolkit {
namespace {

using WindowServices = ShownWindow;

TEST_F(WindowServices, PostedMessagesArriveAfterTheEventInTheOrderPosted) {
    listener.onEvent = [this](const std::string& event) {
        if (event.rfind("key", 0) == 0) {
            window->postMessage({1, 10, "first"});
            window->postMessage({2, 20, "second"});
        }
        // A message posted while one is handled comes after those waiting.
        if (event == "message 1 10 first") window->postMessage({3, 30, "third"});
    };
    QTest::keyClick(window->workArea(), Qt::Key_Left);
    EXPECT_EQ(listener.events, std::vector<std::string>{"key left"});
    settle();
    EXPECT_EQ(listener.events,
              (std::vector<std::string>{"key left", "message 1 10 first", "message 2 20 second",
                                        "message 3 30 third"}));
}

TEST_F(WindowServices, PumpingEventsDuringLongWorkHoldsPostedMessagesBack) {
    bool pumped = false;
    listener.onEvent = [&](const std::string& event) {
        if (event != "key escape") return;
        // As a long computation does: something posted, then events pumped.
        window->postMessage({7, 0, "flow step"});
        window->processPendingEvents();
        pumped = true;
    };
    window->postMessage({6, 0, "waiting before"});
    QTest::keyClick(window->workArea(), Qt::Key_Escape);
    ASSERT_TRUE(pumped);
    EXPECT_EQ(listener.events, std::vector<std::string>{"key escape"});
    settle();
    EXPECT_EQ(listener.events, (std::vector<std::string>{"key escape", "message 6 0 waiting before",
                                                         "message 7 0 flow step"}));
}

TEST_F(WindowServices, PumpingEventsStillTakesInput) {
    // A Stop request (Escape) must get through while the program computes.
    QTimer::singleShot(0, [this] { QTest::keyClick(window->workArea(), Qt::Key_Escape); });
    QElapsedTimer clock;
    clock.start();
    while (listener.events.empty() && clock.elapsed() < 2000)
        window->processPendingEvents();
    EXPECT_EQ(listener.events, std::vector<std::string>{"key escape"});
}

TEST_F(WindowServices, TimersTickUntilStoppedEvenFromTheirOwnTick) {
    int ticks = 0;
    listener.onEvent = [&](const std::string& event) {
        if (event == "timer 5" && ++ticks == 3) window->stopTimer(5);
    };
    window->startTimer(5, 5);
    QTest::qWait(200);
    EXPECT_EQ(ticks, 3);
    window->startTimer(5, 5);  // a stopped timer starts again
    QTest::qWait(100);
    EXPECT_GT(ticks, 3);
    window->stopTimer(5);
    window->stopTimer(99);  // never started: nothing happens
}

TEST_F(WindowServices, TheCloseButtonAsksAndDoesNotClose) {
    EXPECT_FALSE(window->frame()->close());
    EXPECT_EQ(listener.events, std::vector<std::string>{"close"});
    EXPECT_TRUE(window->frame()->isVisible());
    EXPECT_TRUE(window->isOpen());
    window->close();
    EXPECT_FALSE(window->frame()->isVisible());
    EXPECT_FALSE(window->isOpen());
    EXPECT_EQ(listener.events, std::vector<std::string>{"close"});
}

TEST_F(WindowServices, FurtherWindowsHaveTheirOwnListenerAndMayOutliveTheMain) {
    std::unique_ptr<Window> source = window->openWindow("View Source", {40, 40, 400, 270});
    auto* further = static_cast<QtWindow*>(source.get());
    RecordingListener own;
    source->setListener(&own);
    EXPECT_TRUE(further->frame()->isVisible());
    EXPECT_TRUE(source->isOpen());
    EXPECT_EQ(further->frame()->windowTitle(), QStringLiteral("View Source"));
    EXPECT_EQ(further->frame()->size(), QSize(400, 270));
    QTest::keyClick(further->workArea(), Qt::Key_Home);
    further->frame()->close();
    EXPECT_EQ(own.events, (std::vector<std::string>{"key home", "close"}));
    EXPECT_TRUE(listener.events.empty());
    source->close();
    EXPECT_FALSE(source->isOpen());
    window.reset();  // the main window first: the further one stays usable
    source->setTitle("still here");
    EXPECT_EQ(further->frame()->windowTitle(), QStringLiteral("still here"));
}

TEST_F(WindowServices, TitlesShowAsWritten) {
    const char* titles[] = {
        "Untitled - Quorvatelle",
        "loan.qvl * - Quorvatelle[Loan]",
        "odd.qvl - Quorvatelle[*]",  // a view titled "*": not Qt's modified mark
        "pr\xC3\xA9sentation.qvl - Quorvatelle",
    };
    for (const char* title : titles) {
        SCOPED_TRACE(title);
        window->setTitle(title);
        settle();
        EXPECT_EQ(window->frame()->windowHandle()->title().toStdString(), title);
    }
}

TEST_F(WindowServices, ClipboardRoundTrip) {
    const char* texts[] = {"plain", "a\tb\nc\td", "\xE2\x82\xAC 12,50", ""};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        window->setClipboardText(text);
        EXPECT_EQ(window->clipboardText(), text);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text);
    }
}

TEST_F(WindowServices, SizeIsTheWorkAreaBelowTheMenuBar) {
    window->setMenuBar({{"&File", 0, {}, {{"&New", 1, {}, {}}}}});
    window->frame()->resize(500, 400);
    settle();
    Size size = window->size();
    EXPECT_EQ(size.width, 500);
    EXPECT_LT(size.height, 400);
    EXPECT_GT(size.height, 300);
    EXPECT_EQ(listener.lastSize, size);
    EXPECT_GT(listener.paints, 0);
}

// The message line: one line under the work area, shortened in the middle
// when it does not fit (whole in its tooltip); a message neither moves the
// work area nor widens the window.
TEST_F(WindowServices, TheMessageLineShowsOneLineUnderTheWorkArea) {
    QtMessageLine* line = window->messageLine();
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().isEmpty());
    const Size before = window->size();
    const std::string longText =
        "/home/ann/" + std::string(300, 'x') + "/loan.qvl changed on disk and was read again.";
    struct Case {
        const char* what;
        std::string text;
        std::string message;  // the whole message, as kept
        bool fits;
    };
    const Case cases[] = {
        {"a report", "imported stock: 0 updated, 3 added, 0 removed",
         "imported stock: 0 updated, 3 added, 0 removed", true},
        {"line breaks", "loan.qvl changed on disk.\n\nRead it again\n",
         "loan.qvl changed on disk. Read it again", true},
        {"UTF-8", "imported Caf\xC3\xA9: 1 updated", "imported Caf\xC3\xA9: 1 updated", true},
        {"cleared", "", "", true},
        {"too long", longText, longText, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window->showStatusMessage(c.text);
        settle();
        EXPECT_EQ(line->message().toStdString(), c.message);
        if (c.fits) {
            EXPECT_EQ(line->text().toStdString(), c.message);
            EXPECT_TRUE(line->toolTip().isEmpty());
        } else {
            std::string shown = line->text().toStdString();
            EXPECT_LT(shown.size(), c.message.size());
            EXPECT_TRUE(shown.starts_with("/home/ann/")) << shown;
            EXPECT_TRUE(shown.ends_with("read again.")) << shown;
            EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()),
                      line->contentsRect().width());
            EXPECT_EQ(line->toolTip().toStdString(), c.message);
            if (const char* keep = std::getenv("QV_KEEP_DIALOGS"))
                renderWindow(*window).save(QString::fromUtf8(keep) + "/message-line-long.png");
        }
        EXPECT_EQ(window->frame()->width(), 400);
        EXPECT_EQ(window->size(), before);
        QPoint top = line->mapTo(window->frame(), QPoint(0, 0));
        QPoint areaTop = window->workArea()->mapTo(window->frame(), QPoint(0, 0));
        EXPECT_GE(top.y(), areaTop.y() + before.height);
        EXPECT_TRUE(line->isVisible());
    }
}

// A further window (a dialog, the source window) has all of its room for
// its own controls, until it is given a message of its own.
TEST_F(WindowServices, AFurtherWindowHasNoMessageLineUntilGivenOne) {
    std::unique_ptr<Window> opened = window->openWindow("Open table", {200, 200, 180, 165});
    auto* further = static_cast<QtWindow*>(opened.get());
    settle();
    EXPECT_EQ(further->messageLine(), nullptr);
    const int height = further->size().height;
    further->showStatusMessage("");
    EXPECT_EQ(further->messageLine(), nullptr);
    further->showStatusMessage("told");
    settle();
    ASSERT_NE(further->messageLine(), nullptr);
    EXPECT_EQ(further->messageLine()->message(), QStringLiteral("told"));
    EXPECT_LT(further->size().height, height);
    // The main window's line is its own.
    EXPECT_TRUE(window->messageLine()->message().isEmpty());
}

TEST(WindowSize, IsKnownBeforeTheWindowIsShown) {
    // A program lays its views out when it starts, before the loop runs.
    QtWindow window;
    window.setMenuBar({{"&File", 0, {}, {{"&New", 1, {}, {}}}}});
    window.frame()->resize(640, 480);
    Size size = window.size();
    EXPECT_EQ(size.width, 640);
    EXPECT_LT(size.height, 480);
    EXPECT_GT(size.height, 400);
}

TEST(WindowFocus, KeysTypedIntoANewlyShownWindowReachTheWorkArea) {
    QtWindow window;
    RecordingListener listener;
    window.setListener(&listener);
    window.setMenuBar({{"&File", 0, {}, {{"&New", 1, "Ctrl+N", {}}}}});
    window.frame()->show();
    window.frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.frame()));
    // Through the platform layer, to whatever has the focus.
    QTest::keyClick(window.frame()->windowHandle(), Qt::Key_Left);
    QTest::keyClick(window.frame()->windowHandle(), Qt::Key_Tab);
    QTest::keyClick(window.frame()->windowHandle(), Qt::Key_Right);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"key left", "key tab", "key right"}));
}

// The listener a program would make: it quits at once, or after a message.
class QuittingListener : public RecordingListener {
  public:
    QuittingListener(Window& window, bool atOnce) : m_window(window) {
        if (atOnce)
            window.quit(3);
        else
            window.postMessage({1, 0, {}});
    }
    void message(const PostedMessage&) override { m_window.quit(0); }

  private:
    Window& m_window;
};

TEST(RunApplication, ReturnsTheStatusGivenToQuitBeforeOrInsideTheLoop) {
    int argc = 1;
    char name[] = "qt_tests";
    char* argv[] = {name, nullptr};
    const std::pair<bool, int> cases[] = {{true, 3}, {false, 0}};
    for (auto [atOnce, status] : cases) {
        SCOPED_TRACE(atOnce);
        bool made = false;
        int result = runApplication(argc, argv, [&, atOnce = atOnce](Window& window) {
            made = true;
            return std::make_unique<QuittingListener>(window, atOnce);
        });
        EXPECT_TRUE(made);
        EXPECT_EQ(result, status);
    }
}

}  // namespace
}  // namespace qv::toolkit
