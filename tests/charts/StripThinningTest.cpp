// Thinning of dense strips: the line keeps what each pixel column shows,
// markers are drawn once per pixel, and sparse strips are drawn as before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "charts/ChartPlot.h"
#include "charts/StripThinning.h"
#include "tests/charts/ChartTestSupport.h"

namespace qv {
namespace {

using test::kNaN;
using Pixels = std::vector<toolkit::Point>;

std::vector<ChartPoint> atPixels(const Pixels& pixels) {
    std::vector<ChartPoint> points;
    for (toolkit::Point pixel : pixels)
        points.push_back({0, 0, pixel});
    return points;
}

TEST(StripThinning, KeepsFirstLowestHighestAndLastOfEachColumn) {
    const struct {
        const char* name;
        Pixels run, line;
    } cases[] = {
        {"empty", {}, {}},
        {"one point", {{3, 4}}, {{3, 4}}},
        {"a column each", {{0, 0}, {1, 5}, {2, 3}}, {{0, 0}, {1, 5}, {2, 3}}},
        {"highest first",
         {{5, 10}, {5, 3}, {5, 20}, {5, 7}, {5, 8}},
         {{5, 10}, {5, 3}, {5, 20}, {5, 8}}},
        {"lowest first",
         {{1, 5}, {1, 9}, {1, 1}, {1, 4}, {1, 6}},
         {{1, 5}, {1, 9}, {1, 1}, {1, 6}}},
        {"extremes at the ends", {{2, 0}, {2, 3}, {2, 4}, {2, 9}}, {{2, 0}, {2, 9}}},
        {"one pixel", {{4, 4}, {4, 4}, {4, 4}}, {{4, 4}, {4, 4}}},
        {"columns in turn",
         {{0, 0}, {0, 5}, {0, 2}, {0, 1}, {1, 1}, {1, 1}, {0, 2}},
         {{0, 0}, {0, 5}, {0, 1}, {1, 1}, {1, 1}, {0, 2}}},
    };
    std::vector<toolkit::Point> line{{99, 99}};  // cleared by each call
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ChartPoint> run = atPixels(c.run);
        thinLine(run, line);
        EXPECT_EQ(line, c.line);
    }
}

TEST(StripThinning, SieveLetsEachPixelOfThePlotThroughOnce) {
    const struct {
        const char* name;
        toolkit::Rect plot;
        std::vector<std::pair<toolkit::Point, bool>> offers;
    } cases[] = {
        {"inside",
         {10, 10, 5, 5},
         {{{10, 10}, true},
          {{10, 10}, false},
          {{11, 10}, true},
          {{10, 11}, true},
          {{11, 10}, false}}},
        // The plot's right and bottom edges hold pixels too.
        {"edges", {10, 10, 5, 5}, {{{15, 15}, true}, {{15, 15}, false}, {{15, 10}, true}}},
        {"outside is never remembered",
         {10, 10, 5, 5},
         {{{16, 12}, true}, {{16, 12}, true}, {{9, 12}, true}, {{12, -3}, true}, {{12, -3}, true}}},
        {"too large to remember",
         {0, 0, 100000, 100000},
         {{{1, 1}, true}, {{1, 1}, false}, {{2, 2}, true}, {{1, 1}, true}}},
    };
    MarkerSieve sieve;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sieve.reset(c.plot);
        for (const auto& [pixel, first] : c.offers)
            EXPECT_EQ(sieve.firstAt(pixel), first) << pixel.x << "," << pixel.y;
    }
}

// A deterministic scatter in [0, 1).
double scatter(int i) {
    unsigned value = static_cast<unsigned>(i) * 2654435761u;
    return (value >> 8) / 16777216.0;
}

struct DenseCase {
    const char* name;
    test::Points points;
    bool twoBands = false;  // no segment may join them
};

std::vector<DenseCase> denseCases() {
    constexpr int kCount = 20000;
    std::vector<DenseCase> cases = {
        {"sine", {}}, {"scatter", {}}, {"loop", {}}, {"steps", {}}, {"gap", {}, true}};
    for (int i = 0; i < kCount; ++i) {
        cases[0].points.push_back({i, std::sin(i / 500.0)});
        cases[1].points.push_back({i, scatter(i)});
        // x goes back and forth: columns are visited again and again.
        cases[2].points.push_back({std::cos(i * 0.0002), std::sin(i * 0.00026)});
        cases[3].points.push_back({i / 100, i % 7});
        // Two bands with a gap between them that no segment may cross.
        double band = i < kCount / 2 ? 0 : 10;
        cases[4].points.push_back({i, i == kCount / 2 ? kNaN : band + std::sin(i / 300.0)});
    }
    return cases;
}

// The lowest and highest row in each column.
using Extremes = std::map<std::int32_t, std::pair<std::int32_t, std::int32_t>>;
void widen(Extremes& extremes, toolkit::Point pixel) {
    auto [it, added] = extremes.try_emplace(pixel.x, pixel.y, pixel.y);
    it->second.first = std::min(it->second.first, pixel.y);
    it->second.second = std::max(it->second.second, pixel.y);
}

// The pixels a line between two pixels covers, stepped along its longer
// direction: the same for the same ends, so two drawings compare exactly.
using PixelSet = std::set<std::pair<std::int32_t, std::int32_t>>;
void rasterize(PixelSet& pixels, toolkit::Point from, toolkit::Point to) {
    std::int32_t steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    for (std::int32_t k = 0; k <= steps; ++k) {
        double t = steps == 0 ? 0 : static_cast<double>(k) / steps;
        pixels.insert({static_cast<std::int32_t>(std::lround(from.x + t * (to.x - from.x))),
                       static_cast<std::int32_t>(std::lround(from.y + t * (to.y - from.y)))});
    }
}

TEST(StripThinning, DenseStripsKeepEachColumnsExtremesAndOneMarkerPerPixel) {
    const toolkit::Rect plot{0, 0, 400, 300};
    for (const DenseCase& c : denseCases()) {
        SCOPED_TRACE(c.name);
        ChartPlot chart;
        toolkit::HeadlessGraphics graphics({plot.width, plot.height});
        chart.paint(graphics, *test::chartOf({c.points}), plot);
        test::StripDrawing drawing = test::stripDrawing(graphics);

        // What the unthinned strip would show, from the mapped points.
        Extremes raw;
        PixelSet pixels;
        std::size_t stretches = 0;
        const ChartPoint* previous = nullptr;
        const ChartPoint* first = nullptr;
        const ChartPoint* last = nullptr;
        PixelSet rawLine;
        for (const ChartPoint& point : chart.points()) {
            if (!point.drawn()) {
                previous = nullptr;
                continue;
            }
            if (previous != nullptr) rasterize(rawLine, previous->screen, point.screen);
            widen(raw, point.screen);
            pixels.insert({point.screen.x, point.screen.y});
            if (previous == nullptr || previous->screen.x != point.screen.x) ++stretches;
            if (first == nullptr) first = &point;
            last = previous = &point;
        }

        Extremes thinned;
        PixelSet thinnedLine;
        for (const auto& [from, to] : drawing.segments) {
            rasterize(thinnedLine, from, to);
            widen(thinned, from);
            widen(thinned, to);
            if (c.twoBands) {
                EXPECT_LT(std::abs(from.y - to.y), plot.height / 2) << "gap crossed";
            }
        }
        EXPECT_EQ(thinned, raw);
        // The thinned line covers the very pixels the whole line covers.
        EXPECT_EQ(thinnedLine, rawLine);
        ASSERT_FALSE(drawing.segments.empty());
        EXPECT_EQ(drawing.segments.front().first, first->screen);
        EXPECT_EQ(drawing.segments.back().second, last->screen);
        // At most four points for each stretch of a column.
        EXPECT_LE(drawing.segments.size(), 4 * stretches);
        EXPECT_LT(drawing.segments.size(), c.points.size() / 4);

        PixelSet marked;
        for (const toolkit::Rect& box : drawing.markers)
            EXPECT_TRUE(marked.insert({box.x + 2, box.y + 2}).second) << "marker drawn twice";
        EXPECT_EQ(marked, pixels);
    }
}

TEST(StripThinning, StripsNoDenserThanThePlotsColumnsAreDrawnPointByPoint) {
    // Three points to a pixel.
    const struct {
        std::int32_t width;
        std::size_t markers, segments;
    } cases[] = {
        {400, 300, 299},
        // One more point than the plot has columns: thinned, the three points
        // of a pixel become the first and last of its column.
        {298, 100, 199},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        test::Points points;
        for (int i = 0; i < 300; ++i)
            points.push_back({i / 3, 0});
        ChartPlot chart;
        toolkit::HeadlessGraphics graphics({c.width, 300});
        chart.paint(graphics, *test::chartOf({points}), {0, 0, c.width, 300});
        test::StripDrawing drawing = test::stripDrawing(graphics);
        EXPECT_EQ(drawing.markers.size(), c.markers);
        EXPECT_EQ(drawing.segments.size(), c.segments);
    }
}

}  // namespace
}  // namespace qv
