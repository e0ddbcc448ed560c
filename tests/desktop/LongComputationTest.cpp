// A runaway model (a user function of exponential cost) computed through
// the main panel on the headless window. The kernel's waiting hook shows
// the wait cursor at once and after half a second the overlay with its
// Stop button, repainting over the last frame; meanwhile the window takes
// no other input. Escape or a press on Stop ends the computation, whose
// cells then say "calculation stopped"; afterwards everything is as before.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/ValueConversions.h"
#include "kernel/TableResult.h"
#include "model/ModelEditor.h"
#include "tests/desktop/PanelTestSupport.h"

namespace qv {
namespace {

using test::PanelFixture;
namespace key = toolkit::key;

constexpr const char* kRunaway =
    "table R{ [f(n)]:=if n <= 0 then 1 else f(n-1)+f(n-1)! x:=f(60)! }\n"
    "optimized(40,40) text(\"notes\");\n";

std::string cellX(MainPanel& panel) {
    Pointer<TableResult> table = panel.kernel()->getTableByName("R");
    return toText(table->value(table->resolved()->fieldIndexOf("x"), 0))->toStdString();
}

bool drew(const std::vector<std::string>& texts, std::string_view text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A grid cell shows a text too wide for it shortened, so cells are found by
// the start of what they show.
bool drewStarting(const std::vector<std::string>& texts, std::string_view start) {
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& text) { return text.starts_with(start); });
}

// What the window showed while the kernel computed, seen from inside the
// events the window pumps.
struct Seen {
    int pumps = 0;
    bool waitCursorAtFirst = false;
    std::vector<std::string> paintedEarly;  // before the overlay was due
    std::vector<std::string> overlay;       // once it was
    int undoWhileWaiting = -1;
};

// Runs the computation; `stop` is the user's act once the overlay shows.
Seen computeUntilStopped(PanelFixture& f, const std::function<void()>& stop) {
    Seen seen;
    f.window.onPendingEvents([&] {
        if (++seen.pumps == 1) {
            seen.waitCursorAtFirst = f.window.cursor() == toolkit::CursorKind::Wait;
            seen.paintedEarly = f.window.paint().texts();
            // Input other than a stop is ignored: no view is added.
            f.panel->menuChosen(static_cast<std::int32_t>(MenuCommand::TextArea));
            f.panel->key(key::kUndo, {}, 0);
            seen.undoWhileWaiting = f.panel->commands().undoCount();
        }
        if (!f.panel->waitIndicator().isOverlayShown() || !seen.overlay.empty()) return;
        seen.overlay = f.window.paint().texts();
        stop();
    });
    EXPECT_EQ(cellX(*f.panel), "calculation stopped");
    f.window.onPendingEvents({});
    return seen;
}

TEST(LongComputation, EscapeOrStopEndsARunawayComputation) {
    struct Case {
        const char* how;
        std::function<void(PanelFixture&)> stop;
    };
    const Case cases[] = {
        {"escape", [](PanelFixture& f) { f.panel->key(key::kEscape, {}, 0); }},
        {"stop button",
         [](PanelFixture& f) {
             toolkit::Rect button = f.panel->waitIndicator().stopButtonRect();
             toolkit::Point centre{button.x + button.width / 2, button.y + button.height / 2};
             f.panel->mouse(toolkit::MouseKind::Press, centre, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        PanelFixture f;
        f.startOn("runaway.qvl", kRunaway);
        EXPECT_TRUE(drew(f.window.paint().texts(), "notes"));
        std::string before = f.state();

        Seen seen = computeUntilStopped(f, [&] { c.stop(f); });
        EXPECT_TRUE(seen.waitCursorAtFirst);
        // Before the overlay is due nothing is painted: the last frame stays.
        EXPECT_TRUE(seen.paintedEarly.empty());
        EXPECT_EQ(seen.undoWhileWaiting, 0);
        // The overlay alone, over the last frame: no view is painted.
        ASSERT_FALSE(seen.overlay.empty());
        EXPECT_TRUE(seen.overlay[0].starts_with("Computing for 0.")) << seen.overlay[0];
        EXPECT_TRUE(drew(seen.overlay, "Stop"));
        EXPECT_FALSE(drew(seen.overlay, "notes"));
        EXPECT_GE(seen.pumps, 10);

        // Afterwards: the arrow, the views painted again, nothing changed.
        EXPECT_FALSE(f.panel->waitIndicator().isWaiting());
        EXPECT_EQ(f.window.cursor(), toolkit::CursorKind::Arrow);
        EXPECT_TRUE(drew(f.window.paint().texts(), "notes"));
        EXPECT_EQ(f.state(), before);
        // The next change computes again.
        Pointer<TableResult> table = f.panel->kernel()->getTableByName("R");
        make<ModelEditor>(f.panel->kernel()->program(), nullptr)
            ->setCellFormula(*table, table->resolved()->fieldIndexOf("x"), 0, str("f(3)"));
        EXPECT_EQ(cellX(*f.panel), "8");
    }
}

// The start-up document computes once the window shows, under the same
// overlay and Stop as after Open: the window is never left blank while
// its first computation runs.
TEST(LongComputation, TheStartupDocumentComputesUnderTheOverlay) {
    PanelFixture f;
    std::string path = f.folder.file("runaway.qvl");
    test::putFileBytes(path, std::string(kRunaway) + "optimized(40,200) result(R);\n");
    f.panel = make<MainPanel>(f.window, path);
    // Nothing is computed before the window has shown.
    EXPECT_FALSE(f.panel->waitIndicator().isWaiting());
    std::vector<std::string> overlay;
    f.window.onPendingEvents([&] {
        if (!f.panel->waitIndicator().isOverlayShown() || !overlay.empty()) return;
        overlay = f.window.paint().texts();
        toolkit::Rect button = f.panel->waitIndicator().stopButtonRect();
        f.panel->mouse(toolkit::MouseKind::Press,
                       {button.x + button.width / 2, button.y + button.height / 2}, 0);
    });
    f.window.deliverPosted();
    f.window.onPendingEvents({});
    ASSERT_FALSE(overlay.empty());
    EXPECT_TRUE(overlay[0].starts_with("Computing for 0.")) << overlay[0];
    EXPECT_TRUE(drew(overlay, "Stop"));
    EXPECT_FALSE(f.panel->waitIndicator().isWaiting());
    EXPECT_EQ(cellX(*f.panel), "calculation stopped");
    EXPECT_EQ(f.window.title(), "runaway.qvl - Quorvatelle");
    EXPECT_TRUE(drew(f.window.paint().texts(), "notes"));
}

// Compute (F9) computes again the cells a stop left: here the start-up
// computation is stopped at its first progress call and Compute then gives
// the value. f(21) makes two million calls, many times the 50 ms between
// progress calls on any machine the suite runs on, yet a second or so under
// the sanitizers.
TEST(LongComputation, ComputeGivesTheValuesAStopLeftOut) {
    PanelFixture f;
    f.window.onPendingEvents([&] { f.panel->key(key::kEscape, {}, 0); });
    f.startOn("long.qvl",
              "table R{ [f(n)]:=if n <= 0 then 1 else f(n-1)+f(n-1)! x:=f(21)! }\n"
              "optimized(40,40) result(R);\n");
    f.window.onPendingEvents({});
    EXPECT_EQ(cellX(*f.panel), "calculation stopped");
    EXPECT_TRUE(drewStarting(f.window.paint().texts(), "calcula"));
    std::string before = f.state();

    f.choose(MenuCommand::Compute);
    EXPECT_EQ(cellX(*f.panel), "2.097152e+6");
    EXPECT_TRUE(drewStarting(f.window.paint().texts(), "2.09"));
    EXPECT_FALSE(drewStarting(f.window.paint().texts(), "calcula"));
    EXPECT_EQ(f.state(), before);
    // Computed values are kept: a second Compute has nothing to do again.
    EXPECT_FALSE(f.panel->kernel()->dropStoppedResults());
}

// A dialog's answer that arrives while the kernel computes is kept and
// handled once the computation has ended, never in the middle of it.
TEST(LongComputation, AnAnswerArrivingMeanwhileIsHandledAfterwards) {
    PanelFixture f;
    f.startOn("runaway.qvl", kRunaway);
    f.choose(MenuCommand::TextArea);
    // New on the changed document asks first; the answer is delivered while
    // the kernel computes.
    f.window.scriptAnswer(toolkit::Answer::No);
    f.panel->menuChosen(static_cast<std::int32_t>(MenuCommand::New));
    f.window.onPendingEvents([&] {
        f.window.deliverPosted();
        EXPECT_EQ(f.panel->flow().state(), FlowState::NewAnswered);
        f.panel->key(key::kEscape, {}, 0);
    });
    EXPECT_EQ(cellX(*f.panel), "calculation stopped");
    f.window.onPendingEvents({});
    EXPECT_EQ(f.panel->flow().state(), FlowState::NewAnswered);
    f.window.deliverPosted();
    EXPECT_EQ(f.state(),
              "undo=0 redo=0 modified=no exit=none title=Untitled - Quorvatelle\n"
              "optimized(40,40) project(Table1);\n");
}

}  // namespace
}  // namespace qv
