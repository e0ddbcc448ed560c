// What the grid draws in its cells: numbers rounded (never cut) to the width
// of a narrow column, texts ending in a mark, special values quiet and
// errors red, named records by their names.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "editing/EditableSupport.h"
#include "tests/views/GridTestSupport.h"
#include "toolkit/headless/HeadlessGraphics.h"
#include "views/EvalMultiModel.h"

namespace qv {
namespace {

using test::loadModel;
using test::renderGrid;

// A headless surface that also keeps, for every text, its colour and the
// colour of the last fill before it (the cell's background).
class ColourGraphics final : public toolkit::Graphics {
  public:
    struct Text {
        toolkit::Point at;
        std::string text;
        std::string colour;
        std::string background;
    };
    std::vector<Text> texts;

    void setColor(toolkit::Color color) override {
        m_colour = color;
        m_inner.setColor(color);
    }
    void drawLine(toolkit::Point from, toolkit::Point to) override { m_inner.drawLine(from, to); }
    void drawRect(const toolkit::Rect& rect) override { m_inner.drawRect(rect); }
    void fillRect(const toolkit::Rect& rect) override {
        m_background = m_colour;
        m_inner.fillRect(rect);
    }
    void fillEllipse(const toolkit::Rect& bounds) override { m_inner.fillEllipse(bounds); }
    void drawPolyline(std::span<const toolkit::Point> points) override {
        m_inner.drawPolyline(points);
    }
    void fillPolygon(std::span<const toolkit::Point> points) override {
        m_inner.fillPolygon(points);
    }
    void setFont(const toolkit::Font& font) override { m_inner.setFont(font); }
    const toolkit::FontMetrics& metrics() const override { return m_inner.metrics(); }
    void drawText(toolkit::Point baseline, std::string_view utf8) override {
        toolkit::Point origin = m_inner.origin();
        texts.push_back({{baseline.x + origin.x, baseline.y + origin.y},
                         std::string(utf8),
                         hex(m_colour),
                         hex(m_background)});
        m_inner.drawText(baseline, utf8);
    }
    void clipTo(const toolkit::Rect& rect) override { m_inner.clipTo(rect); }
    void restoreClip() override { m_inner.restoreClip(); }
    toolkit::Rect clip() const override { return m_inner.clip(); }
    void translate(std::int32_t dx, std::int32_t dy) override { m_inner.translate(dx, dy); }
    toolkit::Point origin() const override { return m_inner.origin(); }

  private:
    static std::string hex(toolkit::Color color) {
        char text[8];
        std::snprintf(text, sizeof text, "#%02x%02x%02x", color.red, color.green, color.blue);
        return text;
    }

    toolkit::HeadlessGraphics m_inner{{2000, 1000}};
    toolkit::Color m_colour{0, 0, 0};
    toolkit::Color m_background{0, 0, 0};
};

class GridDisplayTest : public test::GridTest {
  protected:
    Pointer<Kernel> kernel;
    Pointer<GlobalSettings> settings = make<GlobalSettings>();

    // `hideRepeats`: "..." where a value repeats the one above.
    void showTable(std::string_view program, bool baseRecord, bool hideRepeats = true) {
        kernel = loadModel(program);
        kernel->setOptionFlag(hideRepeats);
        show(make<EvalMultiModel>(kernel->getTableByName("T"), settings, baseRecord));
        layout();
    }
    // What a paint of the grid draws in the cell; "(none)" for nothing.
    ColourGraphics::Text drawn(std::int32_t column, std::int32_t row) {
        ColourGraphics graphics;
        grid->paint(graphics, {0, 0});
        toolkit::Rect cell = grid->cellRect(column, row);
        for (const ColourGraphics::Text& text : graphics.texts) {
            if (text.at.x == cell.x + TableEditable::kPadding && text.at.y > cell.y &&
                text.at.y <= cell.bottom())
                return text;
        }
        return {{}, "(none)", "", ""};
    }
};

// Columns: 0 names, 1 the base record (the settings show it), 2 record 1;
// rows: 0 record numbers, 1 a, 2 b, 3 c, 4 d. Characters are 8 pixels wide and a
// cell keeps 3 pixels before its text and 3 after it.
TEST_F(GridDisplayTest, NarrowColumnsRoundNumbersAndMarkTexts) {
    showTable(
        "table T{ a:=725.0113836! b:=1999.96! c:=123456789012! d:=\"depends on it\"! "
        "<1>:={} }",
        false);
    const struct {
        std::int32_t width;
        std::vector<std::string> column;  // a, b, c, d
    } cases[] = {
        {200, {"725.0113836", "1999.96", "123.456789e+9", "depends on it"}},
        {70, {"725.0114", "1999.96", "123.5e+9", "depends\xE2\x80\xA6"}},
        {46, {"725", "2000", "###", "depe\xE2\x80\xA6"}},
        {45, {"725", "2000", "###", "dep\xE2\x80\xA6"}},
        {30, {"725", "###", "###", "de\xE2\x80\xA6"}},
        {14, {"#", "#", "#", "\xE2\x80\xA6"}},
        {13, {"(none)", "(none)", "(none)", "(none)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        grid->setColumnWidth(1, c.width);
        layout();
        std::vector<std::string> shown;
        for (std::int32_t row = 1; row <= 4; ++row)
            shown.push_back(drawn(1, row).text);
        EXPECT_EQ(shown, c.column);
    }
    // The formula line shows the whole value of a cut cell.
    click(1, 1);
    EXPECT_EQ(barText(), "725.0113836");
}

// The formula line shows a selected cell's formula and, beside it, the
// whole value the grid may show rounded; a value typed as it is shows once.
TEST_F(GridDisplayTest, TheFormulaLineShowsTheWholeValueBesideTheFormula) {
    showTable("table T{ a:=725.0113836! w:=a*2! <1>:={} }", false);
    grid->setColumnWidth(1, 40);
    const struct {
        std::int32_t row;
        std::string formula, value;
    } cases[] = {
        {1, "725.0113836", ""},
        {2, "=a*2", "1450.022767"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        click(1, c.row);
        EXPECT_EQ(barText(), c.formula);
        EXPECT_EQ(bar().shownValue(), c.value);
        std::vector<std::string> texts = window.paint().texts();
        bool painted = std::find(texts.begin(), texts.end(), "= " + c.value) != texts.end();
        EXPECT_EQ(painted, !c.value.empty());
    }
    // Not while the formula is edited.
    key(toolkit::key::kF2);
    EXPECT_EQ(bar().shownValue(), "");
}

// The last column in sight, cut by the grid's edge, fits its number to
// what is in sight of it, whatever the edge cuts.
TEST_F(GridDisplayTest, TheColumnAtTheGridsEdgeFitsWhatIsInSight) {
    showTable("table T{ v:=1999.96! <40>:={} }", false, false);
    const std::vector<std::string> roundings = {"1999.96", "2000", "###", "##", "#", "(none)"};
    std::int32_t cut = 0;
    for (std::int32_t shift : {0, 3, 5, 6, 8, 9, 12}) {
        SCOPED_TRACE(shift);
        grid->setColumnWidth(0, 40 + shift);
        layout();
        std::int32_t edge = grid->bounds().right();
        std::int32_t column = 1;
        while (grid->cellRect(column + 1, 1).width > 0)
            ++column;
        toolkit::Rect cell = grid->cellRect(column, 1);
        if (cell.right() <= edge) continue;
        ++cut;
        std::string shown = drawn(column, 1).text;
        EXPECT_TRUE(std::find(roundings.begin(), roundings.end(), shown) != roundings.end())
            << shown << " in column " << column;
        std::int32_t width = shown == "(none)" ? 0 : static_cast<std::int32_t>(shown.size()) * 8;
        EXPECT_LE(cell.x + TableEditable::kPadding + width, edge) << shown;
    }
    EXPECT_GE(cut, 5);
}

// Rows: 1 x, 2 p, 3 e, 4 c; columns: 1 the base record, 2 ... 4 records 1 ... 3.
TEST_F(GridDisplayTest, SpecialValuesAreQuietAndErrorsRed) {
    showTable("table T{ x:=range 1 to 3! p:=5! e:=zz! c:=c+1! }", true);
    for (std::int32_t column = 1; column <= 4; ++column)
        grid->setColumnWidth(column, 120);
    grid->selectCell(0, 4);
    layout();
    const std::string white = "#ffffff";
    const std::string text = "#202020";
    const std::string grey = "#545454";
    const std::string red = "#aa0000";
    const std::string pink = "#ffe0e0";
    const struct {
        const char* what;
        std::int32_t column, row;
        std::string text, colour, background;
    } cases[] = {
        {"number", 2, 1, "1", text, white},          {"range", 1, 1, "(range)", grey, white},
        {"hidden repeat", 3, 2, "...", grey, white}, {"unknown name", 2, 3, "(none)", red, pink},
        {"cycle", 2, 4, "(circular)", red, pink},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ColourGraphics::Text shown = drawn(c.column, c.row);
        if (c.text != "(none)") {
            EXPECT_EQ(shown.text, c.text);
        }
        EXPECT_EQ(shown.colour, c.colour);
        EXPECT_EQ(shown.background, c.background);
    }
}

TEST_F(GridDisplayTest, NamedRecordsShowTheirNamesInTheHeader) {
    showTable("table T{ n~name:=! v:=! <1>:={first, 1} <3>:={\"third row\", 3} }", false);
    // The base record (shown, as the settings want) has no label.
    EXPECT_EQ(renderGrid(*grid->model())[0], "T||first|2|third row|*|");
    EXPECT_EQ(drawn(4, 0).text, "third r\xE2\x80\xA6");
    showTable("table T{ v:=1! <2>:={} }", false);
    EXPECT_EQ(renderGrid(*grid->model())[0], "T||1|2|*|");
}

}  // namespace
}  // namespace qv
