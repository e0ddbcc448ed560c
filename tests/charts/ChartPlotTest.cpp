// The rebuild of the point list and strips, and what a chart and its
// picture paint.
#include <gtest/gtest.h>

#include <limits>

#include "charts/ChartPicture.h"
#include "charts/ChartPlot.h"
#include "charts/TableChartModel.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::kInf;
using test::kNaN;

struct PaintCase {
    const char* name;
    std::vector<test::Points> curves;
    std::size_t strips, markers, segments;
};

TEST(ChartPlot, DrawsAMarkerPerPointAndASegmentPerNeighbours) {
    const PaintCase cases[] = {
        {"no trajectory", {}, 0, 0, 0},
        {"one point", {{{1, 1}}}, 1, 1, 0},
        {"three points", {{{0, 0}, {1, 1}, {2, 4}}}, 1, 3, 2},
        {"empty curve gets no strip", {{}, {{0, 0}, {1, 1}}}, 1, 2, 1},
        {"two curves", {{{0, 0}, {1, 1}}, {{0, 1}, {1, 0}, {2, 2}}}, 2, 5, 3},
        // A point that is not finite leaves a gap: no marker, and no
        // segment to or from it.
        {"gap", {{{0, 0}, {1, kNaN}, {2, 2}, {3, 3}}}, 1, 3, 1},
        {"infinite", {{{0, 0}, {kInf, 1}, {2, -kInf}, {3, 3}}}, 1, 2, 0},
    };
    for (const PaintCase& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<OneChartModel> model = test::chartOf(c.curves);
        ChartPlot plot;
        toolkit::HeadlessGraphics graphics({400, 300});
        plot.paint(graphics, *model, {0, 0, 400, 300});
        EXPECT_EQ(plot.strips().size(), c.strips);
        EXPECT_EQ(test::countCalls(graphics, "ellipse"), c.markers);
        // Strip segments are the lines that are not grid lines.
        EXPECT_EQ(graphics.calls().size() - test::countCalls(graphics, "line", "#d7d7d7") -
                      test::countCalls(graphics, "ellipse") - test::countCalls(graphics, "text") -
                      test::countCalls(graphics, "fill"),
                  c.segments);
    }
}

TEST(ChartPlot, StripsCoverTheirPointsInOrder) {
    Pointer<OneChartModel> model = test::chartOf({{{0, 0}, {1, 1}}, {}, {{5, 5}, {6, 6}, {7, 7}}});
    ChartPlot plot;
    plot.rebuild(*model);
    ASSERT_EQ(plot.strips().size(), 2u);
    EXPECT_EQ(plot.strips()[0]->first(), 0);
    EXPECT_EQ(plot.strips()[0]->last(), 1);
    EXPECT_EQ(plot.strips()[1]->first(), 2);
    EXPECT_EQ(plot.strips()[1]->last(), 4);
    EXPECT_EQ(plot.points().size(), 5u);
    EXPECT_EQ(plot.names()[1]->toStdString(), "c 3");
    auto painter = cast<SimpleStripPainter>(plot.strips()[0]->painter());
    ASSERT_FALSE(painter.isNull());
    EXPECT_EQ(painter->radius(), 2);
    EXPECT_EQ(painter->color(), SimpleStripPainter::kDefaultColor);
}

TEST(ChartPlot, MarkerBoxSpansTheRadiusOnEachSide) {
    // One point maps to the middle of a 100 x 100 plot.
    Pointer<OneChartModel> model = test::chartOf({{{7, 7}}});
    ChartPlot plot;
    toolkit::HeadlessGraphics graphics({100, 100});
    plot.paint(graphics, *model, {0, 0, 100, 100});
    EXPECT_EQ(test::countCalls(graphics, "ellipse", "48,48 5x5"), 1u);
    // Also far from zero, where 0.01 does not widen the bounds.
    toolkit::HeadlessGraphics far({100, 100});
    plot.paint(far, *test::chartOf({{{3e18, -7e17}}}), {0, 0, 100, 100});
    EXPECT_EQ(test::countCalls(far, "ellipse", "48,48 5x5"), 1u);
}

const char* const kModel = R"(table P{
    x:=range 1 to 4!
    y:=x*x!
    label:=1;
    square:=plot(x, y);
    line:=plot(x, x);
}
)";

TEST(TableChartModel, KeepsTheTrajectoriesOfTheFieldsInOrder) {
    Pointer<Kernel> kernel = test::loadModel(kModel);
    auto model = make<TableChartModel>(kernel->getTableByName("P"));
    std::vector<ChartSeries> series = model->trajectories();
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].name->toStdString(), "square");
    EXPECT_EQ(series[1].name->toStdString(), "line");
    EXPECT_EQ(series[0].trajectory->pointCount(), 4);
    EXPECT_EQ(series[0].trajectory->ys()[3], 16);
    EXPECT_EQ(model->title()->toStdString(), "P");
    EXPECT_EQ(model->textForm()->toStdString(), "P");

    // The picture paints what the chart view paints: a marker per point and
    // the legend naming each trajectory's field.
    ChartPicture picture(model, {400, 300});
    toolkit::HeadlessGraphics graphics(picture.size());
    picture.paint(graphics);
    EXPECT_EQ(test::countCalls(graphics, "ellipse"), 8u);
    std::vector<std::string> texts = graphics.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "square"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "line"), texts.end());
}

TEST(ChartPicture, TakesAtLeastTheSmallestBoxOfAChart) {
    const struct {
        toolkit::Size asked, given;
    } cases[] = {{{400, 300}, {400, 300}}, {{10, 10}, {120, 90}}, {{5000, 20}, {5000, 90}}};
    for (const auto& c : cases) {
        ChartPicture picture(test::chartOf({{{0, 0}}}), c.asked);
        EXPECT_EQ(picture.size().width, c.given.width) << c.asked.width;
        EXPECT_EQ(picture.size().height, c.given.height) << c.asked.height;
    }
}

}  // namespace
}  // namespace qv
