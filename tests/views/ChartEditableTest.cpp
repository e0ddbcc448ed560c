// The chart view of the work area: its title, its directive, its box and
// what it paints where it stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "charts/TableChartModel.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/kernel/ModelTestSupport.h"
#include "views/ChartEditable.h"

namespace qv {
namespace {

TEST(ChartEditable, TitlesWritesAndPaintsItsTable) {
    Pointer<Kernel> kernel = test::loadModel(R"(table P{
    x:=range 1 to 4!
    y:=x*x!
    square:=plot(x, y);
    line:=plot(x, x);
}
)");
    auto chart = make<ChartEditable>(make<TableChartModel>(kernel->getTableByName("P")));
    EXPECT_EQ(chart->getTitle()->toStdString(), "P chart view");
    EXPECT_EQ(chart->toSource()->toStdString(), "chart(P);\n");
    chart->layoutWidth(400);
    toolkit::HeadlessGraphics graphics({420, 320});
    chart->paint(graphics, {10, 10});
    EXPECT_EQ(test::countCalls(graphics, "ellipse"), 8u);
    // The legend names each trajectory's field.
    std::vector<std::string> texts = graphics.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "square"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "line"), texts.end());
}

// The directive names the table as a table header does, so it reads back.
TEST(ChartEditable, WritesNamesThatNeedThemInBrackets) {
    Pointer<Kernel> kernel =
        test::loadModel("table P{ a:=1! } table [My table]{ a:=1! } table [table]{ a:=1! }");
    const std::pair<const char*, const char*> cases[] = {
        {"P", "chart(P);\n"}, {"My table", "chart([My table]);\n"}, {"table", "chart([table]);\n"}};
    for (const auto& [name, directive] : cases) {
        auto chart = make<ChartEditable>(make<TableChartModel>(kernel->getTableByName(name)));
        EXPECT_EQ(chart->toSource()->toStdString(), directive);
    }
}

TEST(ChartEditable, LaysOutWithinItsWidths) {
    auto chart = make<ChartEditable>(test::chartOf({{{0, 0}}}));
    const struct {
        std::int32_t hint, width, height;
    } cases[] = {{400, 400, 300}, {10, 120, 90}, {5000, 640, 480}};
    for (const auto& c : cases) {
        chart->layoutWidth(c.hint);
        EXPECT_EQ(chart->bounds(), (toolkit::Rect{0, 0, c.width, c.height})) << c.hint;
    }
    chart->layoutSize({10, 10});
    EXPECT_EQ(chart->bounds(), (toolkit::Rect{0, 0, 120, 90}));
}

}  // namespace
}  // namespace qv
