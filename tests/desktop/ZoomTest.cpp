// The zoom of the work area: the ladder of factors, the conversion of
// painting and of mouse positions, and that a document keeps its own
// positions and sizes at every factor (what is saved at 175 % is what is
// saved at 100 %).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/MainPanelListener.h"
#include "desktop/WorkAreaZoom.h"
#include "desktop/ZoomedGraphics.h"
#include "editing/TitleDecorator.h"
#include "tests/support/ScratchFolder.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "views/ResultEditable.h"
#include "views/TableCells.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

using toolkit::MouseKind;
using toolkit::Point;
using toolkit::Rect;

TEST(WorkAreaZoom, StepsClimbAndStopAtTheEnds) {
    struct Case {
        std::int32_t from;
        bool in;
        std::int32_t to;
        bool moved;
    };
    const Case cases[] = {
        {100, true, 110, true},
        {100, false, 90, true},
        {50, false, 50, false},
        {300, true, 300, false},
        {250, true, 300, true},
        {67, false, 50, true},
        // A factor between steps (from the settings file) goes to the next.
        {120, true, 125, true},
        {120, false, 110, true},
    };
    for (const Case& row : cases) {
        WorkAreaZoom zoom;
        zoom.setPercent(row.from);
        EXPECT_EQ(row.in ? zoom.zoomIn() : zoom.zoomOut(), row.moved) << row.from;
        EXPECT_EQ(zoom.percent(), row.to) << row.from;
    }
    WorkAreaZoom zoom;
    zoom.setPercent(10);
    EXPECT_EQ(zoom.percent(), 50);
    zoom.setPercent(1000);
    EXPECT_EQ(zoom.percent(), 300);
}

TEST(WorkAreaZoom, ConversionsRoundEachCoordinate) {
    struct Case {
        std::int32_t percent;
        Rect logical;
        Rect window;
        Point physical;
        Point backInWorkArea;
    };
    const Case cases[] = {
        {100, {10, 20, 30, 40}, {10, 20, 30, 40}, {7, 9}, {7, 9}},
        {200, {10, 20, 30, 40}, {20, 40, 60, 80}, {7, 9}, {3, 4}},
        {50, {10, 21, 31, 40}, {5, 11, 16, 20}, {7, 9}, {14, 18}},
        {175, {10, 20, 30, 40}, {18, 35, 52, 70}, {35, 36}, {20, 20}},
        {150, {-10, -3, 4, 4}, {-15, -4, 6, 6}, {-1, -2}, {-1, -2}},
        {300, {1, 1, 1, 1}, {3, 3, 3, 3}, {299, 300}, {99, 100}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.percent);
        WorkAreaZoom zoom;
        zoom.setPercent(row.percent);
        EXPECT_EQ(zoom.toWindow(row.logical), row.window);
        EXPECT_EQ(zoom.toWorkArea(row.physical), row.backInWorkArea);
    }
}

TEST(WorkAreaZoom, NeighbouringRectanglesStayNeighbours) {
    for (std::int32_t percent : WorkAreaZoom::steps()) {
        WorkAreaZoom zoom;
        zoom.setPercent(percent);
        for (std::int32_t x = -50; x < 50; ++x) {
            Rect left = zoom.toWindow(Rect{x, 0, 7, 7});
            Rect right = zoom.toWindow(Rect{x + 7, 0, 7, 7});
            ASSERT_EQ(left.right(), right.x) << percent << " " << x;
        }
    }
}

TEST(WorkAreaZoom, AWindowAreaCoversEveryWorkAreaPixelItTouches) {
    for (std::int32_t percent : WorkAreaZoom::steps()) {
        WorkAreaZoom zoom;
        zoom.setPercent(percent);
        Rect physical{13, 17, 101, 59};
        Rect logical = zoom.toWorkArea(physical);
        Rect back = zoom.toWindow(logical);
        EXPECT_LE(back.x, physical.x) << percent;
        EXPECT_LE(back.y, physical.y) << percent;
        EXPECT_GE(back.right(), physical.right()) << percent;
        EXPECT_GE(back.bottom(), physical.bottom()) << percent;
    }
}

TEST(ZoomedGraphics, ScalesDrawingAndKeepsTheViewsMetrics) {
    toolkit::HeadlessGraphics device({400, 300});
    WorkAreaZoom zoom;
    zoom.setPercent(200);
    ZoomedGraphics graphics(device, zoom, [](const toolkit::Font& font) {
        return std::make_unique<toolkit::HeadlessMetrics>(font);
    });
    graphics.setFont({"arial", 16, false});
    graphics.translate(10, 5);
    graphics.fillRect({1, 2, 3, 4});
    graphics.drawText({0, 12}, "Hi");
    graphics.drawLine({0, 0}, {5, 0});
    const Point triangle[] = {{0, 0}, {4, 0}, {0, 4}};
    graphics.fillPolygon(triangle);
    {
        toolkit::GraphicsScope scope(graphics, {0, 0, 50, 20});
        graphics.translate(3, 3);
        EXPECT_EQ(graphics.clip(), (Rect{-3, -3, 50, 20}));
    }
    EXPECT_EQ(graphics.origin(), (Point{10, 5}));
    EXPECT_EQ(graphics.clip(), (Rect{-10, -5, 200, 150}));
    // Text is measured as the views lay it out: unscaled.
    EXPECT_EQ(graphics.metrics().textWidth("Hi"), 16);
    EXPECT_EQ(graphics.metrics().ascent(), 12);
    const std::vector<std::string> expected = {
        "fill 22,14 6x8 #000000",
        "text 20,34 Hi",
        "line 20,10 30,10 #000000",
        "polygon 20,10 28,10 20,18 #000000",
    };
    EXPECT_EQ(device.calls(), expected);
}

// ---- the main panel, zoomed

const char* const kDocument =
    "table Prices{\r\n    qty:=3!\r\n    price:=12.5!\r\n    total:=qty*price!\r\n}\r\n"
    "optimized(40,60) result(Prices);\r\n"
    "optimized(300,60) text(\"Notes\");\r\n//--end";

struct ZoomFixture : ::testing::Test {
    void start(const std::string& text = kDocument, toolkit::Size size = {3000, 2400}) {
        path = folder.file("prices.qvl");
        test::putFileBytes(path, text);
        window = std::make_unique<toolkit::HeadlessWindow>(size);
        listener = std::make_unique<MainPanelListener>(*window, path);
        window->deliverPosted();
    }
    MainPanel& panel() { return listener->panel(); }
    void choose(MenuCommand command) {
        listener->menuChosen(static_cast<std::int32_t>(command));
        window->deliverPosted();
    }
    void mouse(MouseKind kind, Point at) {
        listener->mouse(kind, at, 0);
        window->deliverPosted();
    }
    std::vector<std::string> paintedTexts() {
        std::vector<std::string> texts;
        for (const std::string& call : window->paint().calls())
            if (call.starts_with("text ") && !call.ends_with("(clipped)")) texts.push_back(call);
        return texts;
    }
    std::string layout() {
        panel().support().layoutIfNeeded();
        return panel().layoutRoot()->toSource()->toStdString();
    }

    test::ScratchFolder folder;
    std::string path;
    std::unique_ptr<toolkit::HeadlessWindow> window;
    std::unique_ptr<MainPanelListener> listener;
};

// "text X,Y TEXT" with X and Y scaled.
std::string scaledText(const std::string& call, const WorkAreaZoom& zoom) {
    std::size_t comma = call.find(',');
    std::size_t blank = call.find(' ', comma);
    std::int32_t x = std::stoi(call.substr(5, comma - 5));
    std::int32_t y = std::stoi(call.substr(comma + 1, blank - comma - 1));
    return "text " + std::to_string(zoom.toWindow(x)) + "," + std::to_string(zoom.toWindow(y)) +
           call.substr(blank);
}

TEST_F(ZoomFixture, EveryTextIsPaintedAtItsScaledPlace) {
    start();
    std::vector<std::string> normal = paintedTexts();
    ASSERT_GT(normal.size(), 5u);
    std::string layoutAtNormal = layout();
    for (std::int32_t percent : {50, 90, 150, 175, 200, 300}) {
        SCOPED_TRACE(percent);
        ASSERT_TRUE(listener->zoomed().setPercent(percent));
        WorkAreaZoom zoom;
        zoom.setPercent(percent);
        std::vector<std::string> expected;
        for (const std::string& call : normal)
            expected.push_back(scaledText(call, zoom));
        EXPECT_EQ(paintedTexts(), expected);
        // The views are laid out as before: only the painting scales.
        EXPECT_EQ(layout(), layoutAtNormal);
    }
}

TEST_F(ZoomFixture, TheWorkAreaIsTheWindowInWorkAreaPixels) {
    start("", {1000, 800});
    for (auto [percent, size] :
         {std::pair{100, toolkit::Size{1000, 800}}, std::pair{200, toolkit::Size{500, 400}},
          std::pair{50, toolkit::Size{2000, 1600}}, std::pair{175, toolkit::Size{572, 458}}}) {
        listener->zoomed().setPercent(percent);
        EXPECT_EQ(listener->zoomed().size(), size) << percent;
    }
}

// A frame dragged by its title bar moves by work-area pixels: the same
// hand movement moves it half as far at 200 %.
TEST_F(ZoomFixture, MouseDragsMoveFramesInWorkAreaPixels) {
    std::string moved;
    for (std::int32_t percent : {100, 200, 175, 50}) {
        SCOPED_TRACE(percent);
        start();
        listener->zoomed().setPercent(percent);
        WorkAreaZoom zoom;
        zoom.setPercent(percent);
        panel().support().layoutIfNeeded();
        auto frame = cast<TitleDecorator>(panel().layoutRoot()->frame(1));
        ASSERT_FALSE(frame.isNull());
        Rect bounds = frame->bounds();
        // Multiples of four are whole pixels at every factor: the hand's
        // movement converts without rounding.
        Point grip{bounds.x + 20, bounds.y + 4};
        ASSERT_EQ(grip, (Point{320, 64}));
        ASSERT_GT(frame->titleBarHeight(), 4);
        Point target{grip.x + 60, grip.y + 40};
        mouse(MouseKind::Move, zoom.toWindow(grip));
        mouse(MouseKind::Press, zoom.toWindow(grip));
        mouse(MouseKind::Drag, zoom.toWindow(Point{grip.x + 30, grip.y + 20}));
        mouse(MouseKind::Drag, zoom.toWindow(target));
        mouse(MouseKind::Release, zoom.toWindow(target));
        std::string text = layout();
        EXPECT_NE(text.find("optimized(360,100) text("), std::string::npos) << text;
        if (moved.empty()) moved = text;
        EXPECT_EQ(text, moved);
    }
}

TEST_F(ZoomFixture, AClickSelectsTheCellUnderThePointer) {
    std::string shownAtNormal;
    for (std::int32_t percent : {100, 67, 150, 300}) {
        SCOPED_TRACE(percent);
        start(kDocument, {1024, 768});
        listener->zoomed().setPercent(percent);
        WorkAreaZoom zoom;
        zoom.setPercent(percent);
        panel().support().layoutIfNeeded();
        auto frame = cast<TitleDecorator>(panel().layoutRoot()->frame(0));
        auto view = cast<ResultEditable>(frame->view());
        ASSERT_FALSE(view.isNull());
        auto grid = cast<TableEditable>(view->innerView());
        ASSERT_FALSE(grid.isNull());
        std::int32_t line = -1;
        for (std::int32_t row = 0; row < grid->model()->rowCount(); ++row) {
            Pointer<CellModel> cell = grid->model()->createCell(0, row);
            if (is<NameCell>(cell) && cell->text()->view() == "total") line = row;
        }
        ASSERT_GE(line, 0);
        Rect cell = grid->cellRect(1, line);
        Point inside{cell.x + cell.width / 2, cell.y + cell.height / 2};
        mouse(MouseKind::Press, zoom.toWindow(inside));
        mouse(MouseKind::Release, zoom.toWindow(inside));
        std::string shown(panel().formulaBar()->field()->text());
        EXPECT_NE(shown.find("qty*price"), std::string::npos) << shown;
        if (shownAtNormal.empty()) shownAtNormal = shown;
        EXPECT_EQ(shown, shownAtNormal);
    }
}

TEST_F(ZoomFixture, ADocumentSavedAt175IsTheOneSavedAt100) {
    start();
    std::string at100 = folder.file("at100.qvl");
    std::string at175 = folder.file("at175.qvl");
    window->scriptFile(at100);
    choose(MenuCommand::SaveAs);
    ASSERT_TRUE(listener->zoomed().setPercent(175));
    window->scriptFile(at175);
    choose(MenuCommand::SaveAs);
    EXPECT_EQ(window->unscriptedDialogs(), 0);
    ASSERT_FALSE(test::fileBytes(at100).empty());
    EXPECT_EQ(test::fileBytes(at175), test::fileBytes(at100));
    EXPECT_EQ(test::fileBytes(at100), kDocument);
}

TEST_F(ZoomFixture, KeysWheelAndMenuStepThroughTheFactors) {
    start();
    using toolkit::modifier::kControl;
    struct Step {
        const char* what;
        std::function<void()> act;
        std::int32_t percent;
    };
    auto wheel = [&](std::int32_t steps, std::uint32_t modifiers) {
        return [=, this] {
            listener->wheel(steps, {50, 50}, modifiers);
            window->deliverPosted();
        };
    };
    auto menu = [&](MenuCommand command) { return [=, this] { choose(command); }; };
    const Step steps[] = {
        {"Ctrl+wheel up", wheel(1, kControl), 110},
        {"wheel alone scrolls", wheel(1, 0), 110},
        {"three notches", wheel(3, kControl), 175},
        {"Zoom out", menu(MenuCommand::ZoomOut), 150},
        {"Zoom in", menu(MenuCommand::ZoomIn), 175},
        {"Normal size", menu(MenuCommand::ZoomReset), 100},
        {"far down", wheel(-40, kControl), 50},
        {"below the least", menu(MenuCommand::ZoomOut), 50},
        {"far up", wheel(40, kControl), 300},
        {"above the most", menu(MenuCommand::ZoomIn), 300},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(listener->zoomed().zoom().percent(), step.percent) << step.what;
        EXPECT_EQ(panel().zoomPercent(), step.percent) << step.what;
    }
    const toolkit::MenuItem& view = window->menuBar().at(2);
    ASSERT_EQ(view.caption, "&View");
    std::vector<std::string> captions;
    for (const toolkit::MenuItem& item : view.items)
        captions.push_back(item.caption + "|" + item.shortcut + "|" + item.alternateShortcut);
    const std::vector<std::string> expected = {"&Source||",
                                               "&Compute|F9|",
                                               "||",
                                               "Zoom &in|Ctrl++|Ctrl+=",
                                               "Zoom &out|Ctrl+-|",
                                               "&Normal size (now 300 %)|Ctrl+0|",
                                               "||",
                                               "&Appearance||"};
    EXPECT_EQ(captions, expected);
    // Zooming changes nothing in the document.
    EXPECT_FALSE(panel().flow().isModified());
}

}  // namespace
}  // namespace qv
