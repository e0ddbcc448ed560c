// Charts of values at the edges of the doubles: everything drawn stays in
// the plot, and the labels beside the axes name the values the points sit at.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "charts/ChartAxes.h"
#include "charts/ChartPlot.h"
#include "tests/charts/ChartTestSupport.h"

namespace qv {
namespace {

using test::kInf;
using test::kNaN;
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTiniest = std::numeric_limits<double>::denorm_min();

// A label and where it sits along its axis (a row for y, a column for x).
struct Label {
    std::int32_t at;
    double value;
    std::string text;
};

struct Axes {
    std::vector<Label> ys;  // bottom to top
    std::vector<Label> xs;  // left to right
};

Axes labelsOf(const toolkit::HeadlessGraphics& graphics, const toolkit::Rect& plot) {
    Axes axes;
    for (const std::string& call : graphics.calls()) {
        int x = 0, y = 0, end = 0;
        if (std::sscanf(call.c_str(), "text %d,%d %n", &x, &y, &end) != 2) continue;
        std::string text = call.substr(static_cast<std::size_t>(end));
        if (text.ends_with(" (clipped)")) continue;
        double value = std::strtod(text.c_str(), nullptr);
        if (x == plot.x)
            axes.ys.push_back({y - 5, value, text});
        else if (y == plot.bottom() - 4)
            axes.xs.push_back({x + 3, value, text});
    }
    return axes;
}

// Labels in order along the axis, each readable as a finite number.
void expectOrdered(const std::vector<Label>& labels) {
    ASSERT_GE(labels.size(), 2u);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(labels[i].text);
        EXPECT_TRUE(std::isfinite(labels[i].value));
        EXPECT_NE(labels[i].text.find_first_of("0123456789"), std::string::npos);
        if (i > 0) {
            EXPECT_LE(labels[i - 1].value, labels[i].value);
        }
    }
}

// Where a value falls between the outermost labels, in pixels. The long
// double's wider exponent holds differences of values at the ends of the
// doubles and quotients of subnormals exactly enough.
double pixelBetweenLabels(const std::vector<Label>& labels, double value) {
    const Label& a = labels.front();
    const Label& b = labels.back();
    long double fraction =
        (static_cast<long double>(value) - a.value) / (static_cast<long double>(b.value) - a.value);
    return static_cast<double>(a.at + fraction * (b.at - a.at));
}

struct RangeCase {
    const char* name;
    test::Points points;
};

std::vector<RangeCase> rangeCases() {
    test::Points large, subnormal, tinySpan;
    for (int i = 1; i <= 10; ++i) {
        large.push_back({i, 1e301 * i});
        subnormal.push_back({i, i * 1e-320});
        tinySpan.push_back({i * 1e-13, i * 1e-12});
    }
    return {
        {"beyond 1e300", large},
        {"subnormal values", subnormal},
        {"tiny span near zero", tinySpan},
        {"-1e308 .. 1e308", {{-1e308, -1e308}, {0, 0}, {1e308, 1e308}}},
        {"ends of the doubles", {{-kMax, kMax}, {kMax, -kMax}, {0, 1}}},
        {"largest alone", {{kMax, kMax}, {kMax, kMax}}},
        {"smallest subnormal", {{0, 0}, {kTiniest, kTiniest}, {2 * kTiniest, 3 * kTiniest}}},
        {"all equal", {{5, 5}, {5, 5}, {5, 5}}},
        {"single point", {{7, -3}}},
        {"single subnormal point", {{1e-320, -1e-320}}},
        {"not finite mixed in",
         {{0, 0}, {1, kNaN}, {kInf, 2}, {2, -kInf}, {3, 3e305}, {-kInf, kNaN}, {4, -2e305}}},
    };
}

TEST(ChartRange, EverythingDrawnStaysInThePlotAndMatchesItsLabels) {
    // Wide enough that labels as long as "-1.5e+308" fit between ticks.
    const toolkit::Rect plot{0, 0, 800, 600};
    for (const RangeCase& c : rangeCases()) {
        SCOPED_TRACE(c.name);
        ChartPlot chart;
        toolkit::HeadlessGraphics graphics({plot.width, plot.height});
        chart.paint(graphics, *test::chartOf({c.points}), plot);

        test::StripDrawing drawing = test::stripDrawing(graphics);
        std::size_t finite = 0;
        for (const auto& [x, y] : c.points)
            finite += std::isfinite(x) && std::isfinite(y);
        EXPECT_EQ(drawing.markers.size(), finite);
        for (const toolkit::Rect& box : drawing.markers) {
            EXPECT_TRUE(plot.contains({box.x, box.y})) << box.x << "," << box.y;
            EXPECT_TRUE(plot.contains({box.right() - 1, box.bottom() - 1}));
        }
        for (const auto& [from, to] : drawing.segments) {
            EXPECT_TRUE(plot.contains(from)) << from.x << "," << from.y;
            EXPECT_TRUE(plot.contains(to)) << to.x << "," << to.y;
        }

        Axes axes = labelsOf(graphics, plot);
        {
            SCOPED_TRACE("y labels");
            expectOrdered(axes.ys);
        }
        {
            SCOPED_TRACE("x labels");
            expectOrdered(axes.xs);
        }
        if (axes.ys.size() < 2 || axes.xs.size() < 2) continue;
        // Each marker sits where its values fall between the labels.
        std::size_t marker = 0;
        for (const auto& [x, y] : c.points) {
            if (!std::isfinite(x) || !std::isfinite(y)) continue;
            const toolkit::Rect& box = drawing.markers[marker++];
            SCOPED_TRACE(y);
            EXPECT_NEAR(box.x + 2, pixelBetweenLabels(axes.xs, x), 2.0);
            EXPECT_NEAR(box.y + 2, pixelBetweenLabels(axes.ys, y), 2.0);
        }
    }
}

TEST(ChartRange, LabelsOfTinyStepsAreNotZero) {
    const struct {
        double value, step;
        std::int32_t digits;
        const char* text;
    } cases[] = {
        // Noise on a tick at zero still reads "0", whatever the step.
        {1e-11, 1, 10, "0"},
        {3e-28, 1e-12, 10, "0"},
        {3 * kTiniest, 1e-316, 10, "0"},
        {0, kTiniest, 10, "0"},
        // Ticks of tiny steps keep their values.
        {1e-11, 1e-11, 10, "1e-11"},
        {-4e-13, 2e-13, 13, "-4e-13"},
        // Subnormal ticks show the digits they hold, not the error of the
        // power of ten they approximate.
        {2e-320, 2e-320, 10, "2e-320"},
        {3 * 1e-321, 1e-321, 13, "3e-321"},
        {kTiniest, kTiniest, 10, "4.9e-324"},
        {3 * kTiniest, kTiniest, 10, "1.5e-323"},
        {2.0000000001e-320, 1e-320, 1, "2e-320"},
        {2.5e-310, 5e-311, 10, "2.5e-310"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(tickLabel(c.value, c.digits, c.step), c.text);
    }
}

TEST(ChartRange, StepsCoverSpansBeyondTheLargestDouble) {
    const struct {
        double low, high, step;
    } cases[] = {
        {0, 10, 2},
        {-1e308, 1e308, 2e307},
        {-kMax, kMax, 5e307},
        {-1.2e308, 1.2e308, 5e307},
        {1e-320, 1e-319, 1e-320},
        {0, 3 * kTiniest, kTiniest},
        {0, kTiniest, kTiniest},
        {1, 1, 0},
        {2, 1, 0},
        {-kInf, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.high);
        EXPECT_NEAR(tickStepBetween(c.low, c.high), c.step, c.step * 1e-3);
    }
}

}  // namespace
}  // namespace qv
