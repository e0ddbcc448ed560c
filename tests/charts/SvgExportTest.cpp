// The SVG surface and a chart exported through it, checked by structure.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "charts/ChartSvg.h"
#include "charts/SvgGraphics.h"
#include "charts/TableChartModel.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

TEST(SvgGraphics, WritesEachCallAsAnElement) {
    SvgGraphics graphics({50, 40});
    graphics.setColor({255, 0, 0});
    graphics.translate(5, 5);
    graphics.drawLine({0, 0}, {10, 20});
    graphics.fillEllipse({0, 0, 5, 5});
    graphics.clipTo({0, 0, 10, 10});
    EXPECT_EQ(graphics.clip(), (toolkit::Rect{0, 0, 10, 10}));
    graphics.drawText({1, 9}, "a<b & \"c\"\x01");
    graphics.restoreClip();
    std::string svg = graphics.document();
    const char* const parts[] = {
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"50\" height=\"40\"",
        "<line x1=\"5\" y1=\"5\" x2=\"15\" y2=\"25\" stroke=\"#ff0000\"/>",
        "<ellipse cx=\"7.5\" cy=\"7.5\" rx=\"2.5\" ry=\"2.5\" fill=\"#ff0000\"/>",
        "<clipPath id=\"clip1\"><rect x=\"5\" y=\"5\" width=\"10\" height=\"10\"/></clipPath>",
        ">a&lt;b &amp; &quot;c&quot;</text>",
        "</svg>\n",
    };
    for (const char* part : parts)
        EXPECT_NE(svg.find(part), std::string::npos) << part;
    EXPECT_EQ(count(svg, "<g "), count(svg, "</g>"));
}

TEST(SvgGraphics, EscapesTextForXml) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"plain", "plain"},
        {"<&>\"", "&lt;&amp;&gt;&quot;"},
        {"tab\tkept", "tab\tkept"},
        {std::string("nul\0bell\a", 9), "nulbell"},
        {"\xff", "\xef\xbf\xbd"},  // not UTF-8: U+FFFD
        {"\xc3\xa9t\xc3\xa9", "\xc3\xa9t\xc3\xa9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(svgEscape(c.in), c.out) << c.in;
}

const char* const kModel = R"(table P{
    x:=range 1 to 5!
    y:=x*x!
    square:=plot(x, y);
}
)";

// The attribute values of every element of a kind that has the colour.
std::vector<std::smatch> elements(const std::string& svg, const std::string& pattern) {
    std::vector<std::smatch> found;
    std::regex expression(pattern);
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), expression);
         it != std::sregex_iterator(); ++it)
        found.push_back(*it);
    return found;
}

TEST(ChartSvg, DrawsPointsSegmentsAndLabelsOfAKnownTable) {
    Pointer<Kernel> kernel = test::loadModel(kModel);
    std::string svg =
        chartToSvg(make<TableChartModel>(kernel->getTableByName("P")), toolkit::Size{400, 300});

    // Five markers, in the plot, left to right and rising.
    auto markers = elements(
        svg, "<ellipse cx=\"([0-9.]+)\" cy=\"([0-9.]+)\" rx=\"2.5\" ry=\"2.5\" fill=\"#1e50aa\"");
    ASSERT_EQ(markers.size(), 5u);
    for (std::size_t i = 0; i < markers.size(); ++i) {
        double cx = std::stod(markers[i][1]), cy = std::stod(markers[i][2]);
        EXPECT_TRUE(cx > 0 && cx < 400 && cy > 0 && cy < 300) << i;
        if (i > 0) {
            EXPECT_GT(cx, std::stod(markers[i - 1][1]));
            EXPECT_LT(cy, std::stod(markers[i - 1][2]));
        }
    }
    // Four segments, each from one marker's centre to the next one's (a
    // marker's disc is five pixels wide from two left of its point).
    auto segments = elements(svg,
                             "<line x1=\"([0-9]+)\" y1=\"([0-9]+)\" x2=\"([0-9]+)\" "
                             "y2=\"([0-9]+)\" stroke=\"#1e50aa\"/>");
    ASSERT_EQ(segments.size(), 4u);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::stod(segments[i][1]) + 0.5, std::stod(markers[i][1]));
        EXPECT_EQ(std::stod(segments[i][2]) + 0.5, std::stod(markers[i][2]));
        EXPECT_EQ(std::stod(segments[i][3]) + 0.5, std::stod(markers[i + 1][1]));
        EXPECT_EQ(std::stod(segments[i][4]) + 0.5, std::stod(markers[i + 1][2]));
    }

    // Tick labels are numbers within the padded bounds (x 0.6 .. 5.4,
    // y -1.4 .. 27.4); the legend names the field.
    auto labels = elements(svg, "<text [^>]*fill=\"#464646\">([^<]*)</text>");
    ASSERT_GE(labels.size(), 6u);
    for (const std::smatch& label : labels) {
        double value = std::stod(label[1]);
        EXPECT_TRUE(value >= -1.4 && value <= 27.4) << label[1];
    }
    EXPECT_EQ(elements(svg, ">square</text>").size(), 1u);
}

TEST(ChartSvg, AnEmptyChartDrawsOnlyTheGrid) {
    std::string svg = chartToSvg(test::chartOf({}), toolkit::Size{300, 200});
    EXPECT_EQ(count(svg, "<ellipse"), 0u);
    EXPECT_GT(count(svg, "<line"), 0u);
    EXPECT_EQ(count(svg, "<g "), count(svg, "</g>"));
}

}  // namespace
}  // namespace qv
