// Tick steps, tick labels and the walk of the grid over each axis.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "charts/ChartAxes.h"
#include "tests/charts/ChartTestSupport.h"

namespace qv {
namespace {

TEST(ChartAxes, StepIsOneTwoOrFiveTimesAPowerOfTen) {
    const struct {
        double span, step;
    } cases[] = {
        {1, 0.2}, {2, 0.2}, {3, 0.5},      {4.9, 0.5},     {5, 1},      {9.9, 1},
        {10, 2},  {12, 2},  {120, 20},     {0.024, 0.005}, {0.3, 0.05}, {7e10, 1e10},
        {0, 0},   {-1, 0},  {INFINITY, 0}, {NAN, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.span);
        EXPECT_NEAR(tickStep(c.span), c.step, c.step * 1e-12);
    }
}

TEST(ChartAxes, LabelsUseTheShortestFormAndZeroNearZero) {
    const struct {
        double value;
        std::int32_t digits;
        const char* text;
    } cases[] = {
        {0, 10, "0"},
        {1e-11, 10, "0"},
        {-9.99e-11, 13, "0"},
        {1e-10, 10, "1e-10"},
        // A tick reached by adding steps carries rounding noise.
        {0.1 + 0.2, 10, "0.3"},
        {-0.4, 10, "-0.4"},
        {1234567.0, 13, "1234567"},
        {2e10, 10, "2e+10"},
        {2e10, 13, "20000000000"},
        {1.5e20, 13, "1.5e+20"},
        {1.0 / 3, 13, "0.3333333333333"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(tickLabel(c.value, c.digits), c.text);
    }
}

// The axes a chart of the points paints over a plot of the size.
toolkit::HeadlessGraphics axesOf(const test::Points& points, toolkit::Rect plot) {
    Viewing viewing;
    for (const auto& [x, y] : points)
        viewing.includePoint(x, y);
    viewing.fit(plot);
    toolkit::HeadlessGraphics graphics({plot.right() + 10, plot.bottom() + 10});
    paintAxes(graphics, viewing);
    return graphics;
}

// The labels a chart of the points draws over a plot of the size, in order.
std::vector<std::string> labelsOf(const test::Points& points, toolkit::Rect plot) {
    return axesOf(points, plot).texts();
}

TEST(ChartAxes, LabelsEachAxisInsideItsMargins) {
    // Y from -1 to 11 (step 2), bottom to top, then x likewise.
    std::vector<std::string> expected = {"0", "2", "4", "6", "8", "10",
                                         "0", "2", "4", "6", "8", "10"};
    EXPECT_EQ(labelsOf({{0, 0}, {10, 10}}, {0, 0, 400, 400}), expected);
    // Narrow charts around zero read "0", not a tiny exponent.
    std::vector<std::string> nearZero = labelsOf({{-0.3, -0.3}, {0.3, 0.3}}, {0, 0, 400, 400});
    EXPECT_NE(std::find(nearZero.begin(), nearZero.end(), "0"), nearZero.end());
    for (const std::string& label : nearZero)
        EXPECT_EQ(label.find("e-"), std::string::npos);
}

TEST(ChartAxes, GridLinesKeepTheMargins) {
    Viewing viewing;
    viewing.includePoint(0, 0);
    viewing.includePoint(10, 10);
    toolkit::Rect plot{0, 0, 300, 200};
    viewing.fit(plot);
    toolkit::HeadlessGraphics graphics({310, 210});
    paintAxes(graphics, viewing);
    std::size_t lines = 0;
    for (const std::string& call : graphics.calls()) {
        if (call.rfind("line ", 0) != 0) continue;
        ++lines;
        int x1, y1, x2, y2;
        ASSERT_EQ(std::sscanf(call.c_str(), "line %d,%d %d,%d", &x1, &y1, &x2, &y2), 4) << call;
        for (int x : {x1, x2})
            EXPECT_TRUE(x >= kGridMargin && x <= 300 - kGridMargin) << call;
        for (int y : {y1, y2})
            EXPECT_TRUE(y >= kGridMargin && y <= 200 - kGridMargin) << call;
    }
    // y 2 ... 8 (0 lies within the bottom margin), x 0 ... 10.
    EXPECT_EQ(lines, 10u);
}

// However tall the plot or odd the values, an axis draws at most kMaxTicks
// ticks and the walk ends.
TEST(ChartAxes, TickWalkIsBounded) {
    const struct {
        const char* name;
        test::Points points;
        toolkit::Rect plot;
    } cases[] = {
        {"huge plot", {{0, 0}, {10, 10}}, {0, 0, 1 << 22, 1 << 22}},
        // A span far below the spacing of doubles at the values: adding a
        // step does not move the tick.
        {"span below spacing", {{1e17, 1e17}, {1e17 + 16, 1e17 + 16}}, {0, 0, 1 << 20, 1 << 20}},
        {"ends of the doubles", {{-1.7e308, -1.7e308}, {1.7e308, 1.7e308}}, {0, 0, 800, 600}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> labels = labelsOf(c.points, c.plot);
        EXPECT_LE(labels.size(), static_cast<std::size_t>(2 * kMaxTicks));
    }
}

// The x labels of a chart, each with the room to the next one's start.
struct XLabel {
    std::int32_t x;
    std::string text;
};
std::vector<XLabel> xLabelsOf(const test::Points& points, toolkit::Rect plot) {
    toolkit::HeadlessGraphics graphics = axesOf(points, plot);
    std::vector<XLabel> labels;
    for (const std::string& call : graphics.calls()) {
        int x = 0, y = 0, end = 0;
        if (std::sscanf(call.c_str(), "text %d,%d %n", &x, &y, &end) != 2) continue;
        if (y == plot.bottom() - 4)
            labels.push_back({x, call.substr(static_cast<std::size_t>(end))});
    }
    return labels;
}

// Labels too long for the room between ticks are rounded to the digits that
// fit, never cut and never running into the next one.
TEST(ChartAxes, XLabelsAreRoundedToTheirRoom) {
    const struct {
        const char* what;
        test::Points points;
        std::int32_t width;
        std::vector<std::string> labels;
    } cases[] = {
        {"room enough",
         {{1e6 + 0.1, 0}, {1e6 + 0.9, 1}},
         800,
         {"1000000.1", "1000000.2", "1000000.3", "1000000.4", "1000000.5", "1000000.6", "1000000.7",
          "1000000.8",
          // The last one has only the room up to the plot's edge.
          "1000001"}},
        {"rounded",
         {{12345.1, 0}, {12345.9, 1}},
         450,
         {"12345", "12345", "12345", "12345", "12346", "12346", "12346", "12346", "12346"}},
        {"no room for the whole part",
         {{1e6 + 0.1, 0}, {1e6 + 0.9, 1}},
         300,
         {"###", "###", "###", "###", "###", "###", "###", "###", "###"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<XLabel> labels = xLabelsOf(c.points, {0, 0, c.width, 200});
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            texts.push_back(labels[i].text);
            std::int32_t width = static_cast<std::int32_t>(labels[i].text.size()) * 8;
            if (i + 1 < labels.size()) {
                EXPECT_LE(labels[i].x + width, labels[i + 1].x) << labels[i].text;
            }
        }
        EXPECT_EQ(texts, c.labels);
    }
}

}  // namespace
}  // namespace qv
