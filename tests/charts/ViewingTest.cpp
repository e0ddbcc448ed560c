// The chart's bounds and its world-to-pixel mapping.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "charts/Viewing.h"
#include "tests/charts/ChartTestSupport.h"

namespace qv {
namespace {

using test::kInf;
using test::kNaN;

struct BoundsCase {
    const char* name;
    test::Points points;
    double xMin, xMax, yMin, yMax;  // after the fit
};

TEST(Viewing, FitsBoundsAndPads) {
    const BoundsCase cases[] = {
        // No points: 0 .. 0 widened by 0.01, then padded by a tenth.
        {"empty", {}, -0.012, 0.012, -0.012, 0.012},
        {"one point", {{3, 4}}, 2.988, 3.012, 3.988, 4.012},
        {"equal x", {{5, 0}, {5, 10}}, 4.988, 5.012, -1, 11},
        // Where 0.01 would not move the bound, a hundredth of the value.
        {"one point far out", {{1e20, -1e20}}, 0.988e20, 1.012e20, -1.012e20, -0.988e20},
        {"spread", {{0, 0}, {10, 100}}, -1, 11, -10, 110},
        // Values all above 1e10 set the bounds from the first point.
        {"above 1e10", {{2e10, 3e10}, {4e10, 5e10}}, 1.8e10, 4.2e10, 2.8e10, 5.2e10},
        {"below -1e10", {{-4e10, -5e10}, {-2e10, -3e10}}, -4.2e10, -1.8e10, -5.2e10, -2.8e10},
        // Points that are not finite are left out of the bounds.
        {"non-finite skipped",
         {{0, 0}, {kInf, 1}, {1, kNaN}, {-kInf, -kInf}, {10, 100}},
         -1,
         11,
         -10,
         110},
        {"only non-finite", {{kNaN, 1}, {kInf, kInf}}, -0.012, 0.012, -0.012, 0.012},
    };
    for (const BoundsCase& c : cases) {
        SCOPED_TRACE(c.name);
        Viewing viewing;
        for (const auto& [x, y] : c.points)
            viewing.includePoint(x, y);
        viewing.fit({0, 0, 400, 300});
        EXPECT_NEAR(viewing.xMin(), c.xMin, std::abs(c.xMin) * 1e-9 + 1e-12);
        EXPECT_NEAR(viewing.xMax(), c.xMax, std::abs(c.xMax) * 1e-9 + 1e-12);
        EXPECT_NEAR(viewing.yMin(), c.yMin, std::abs(c.yMin) * 1e-9 + 1e-12);
        EXPECT_NEAR(viewing.yMax(), c.yMax, std::abs(c.yMax) * 1e-9 + 1e-12);
    }
}

struct MappingCase {
    double world;
    std::int32_t x, y;
};

TEST(Viewing, MapsIntoThePlotWithYUpward) {
    // Bounds 0 .. 10 padded to -1 .. 11 over a 120 x 240 plot at (10, 20).
    Viewing viewing;
    viewing.includePoint(0, 0);
    viewing.includePoint(10, 10);
    viewing.fit({10, 20, 120, 240});
    const MappingCase cases[] = {
        {-1, 10, 260},                                                // the bottom left corner
        {11, 130, 20},                                                // the top right corner
        {0, 20, 240},  {5, 70, 140}, {10, 120, 40}, {0.05, 20, 239},  // truncated toward zero
    };
    for (const MappingCase& c : cases) {
        SCOPED_TRACE(c.world);
        EXPECT_EQ(viewing.mapX(c.world), c.x);
        EXPECT_EQ(viewing.mapY(c.world), c.y);
    }
}

TEST(Viewing, FarValuesMapToBoundedPixels) {
    Viewing viewing;
    viewing.includePoint(0, 0);
    viewing.includePoint(1, 1);
    viewing.fit({0, 0, 100, 100});
    for (double value : {1e300, -1e300, kInf, -kInf, kNaN}) {
        SCOPED_TRACE(value);
        EXPECT_LE(std::abs(static_cast<double>(viewing.mapX(value))), 1 << 24);
        EXPECT_LE(std::abs(static_cast<double>(viewing.mapY(value))), 1 << 24);
    }
    // Bounds at the ends of the doubles still give a finite scale.
    Viewing wide;
    wide.includePoint(-1.7e308, -1.7e308);
    wide.includePoint(1.7e308, 1.7e308);
    wide.fit({0, 0, 100, 100});
    EXPECT_TRUE(std::isfinite(wide.xScale()) && wide.xScale() > 0);
    EXPECT_TRUE(std::isfinite(wide.yScale()) && wide.yScale() < 0);
    EXPECT_EQ(wide.mapX(0), 50);
}

// Bounds of any size or span map inside the plot, in order, and hold the
// values; ordinary ones keep the plain mapping (no shift).
TEST(Viewing, BoundsAtAnyScaleMapInsideThePlot) {
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kTiniest = std::numeric_limits<double>::denorm_min();
    const struct {
        const char* name;
        double low, high;
        bool plain;
    } cases[] = {
        {"ordinary", 1, 2, true},
        {"below 1e300", 1e299, 5e299, true},
        {"beyond 1e300", 1e301, 1e302, true},
        {"ends of the doubles", -kMax, kMax, false},
        {"largest, equal", kMax, kMax, false},
        {"subnormal", 1e-320, 5e-320, false},
        {"smallest subnormals", kTiniest, 2 * kTiniest, false},
        {"tiny normal span", 1e-307, 2e-307, false},
    };
    const toolkit::Rect plot{10, 20, 300, 200};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Viewing viewing;
        viewing.includePoint(c.low, c.low);
        viewing.includePoint(c.high, c.high);
        viewing.fit(plot);
        EXPECT_EQ(viewing.xShift() == 0 && viewing.yShift() == 0, c.plain);
        EXPECT_TRUE(std::isfinite(viewing.xScale()) && viewing.xScale() > 0);
        EXPECT_TRUE(std::isfinite(viewing.yScale()) && viewing.yScale() < 0);
        EXPECT_LE(viewing.xMin(), c.low);
        EXPECT_GE(viewing.xMax(), c.high);
        std::int32_t left = viewing.mapX(c.low), right = viewing.mapX(c.high);
        std::int32_t bottom = viewing.mapY(c.low), top = viewing.mapY(c.high);
        EXPECT_TRUE(plot.x < left && left <= right && right < plot.right()) << left << " " << right;
        EXPECT_TRUE(plot.y < top && top <= bottom && bottom < plot.bottom())
            << top << " " << bottom;
    }
}

}  // namespace
}  // namespace qv
