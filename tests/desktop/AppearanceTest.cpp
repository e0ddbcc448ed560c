// The colours of the running window: the grid, the work area and error
// cells in the palette of the appearance chosen (or the desktop's), and
// printed pages on white paper whatever the screen shows.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/desktop/PanelTestSupport.h"

namespace qv {
namespace {

const char* const kDocument =
    "table Loan{\n    n:=range 1 to 3!\n    closing:=n+nothing!\n}\n//--end";

std::string hex(toolkit::Color color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color.red, color.green, color.blue);
    return text;
}

// The colours of the rectangles filled in recorded calls.
std::set<std::string> fillColours(const std::vector<std::string>& calls) {
    std::set<std::string> colours;
    for (const std::string& call : calls)
        if (call.starts_with("fill ")) colours.insert(call.substr(call.rfind(' ') + 1));
    return colours;
}

struct AppearancePanel : test::PanelFixture {
    AppearancePanel() {
        startOn("model.qvl", kDocument);
        panel->openTableView(panel->kernel()->getTableByName("Loan"), TableViewKind::Details);
        window.deliverPosted();
    }
    std::set<std::string> paintedFills() {
        layout();
        toolkit::Size size = window.size();
        toolkit::HeadlessGraphics graphics(size);
        panel->paint(graphics, {0, 0, size.width, size.height});
        return fillColours(graphics.calls());
    }
};

TEST(Appearance, TheGridAndTheWorkAreaTakeThePaletteChosen) {
    const toolkit::SystemColors darkDesktop{{49, 54, 59},    {239, 240, 241}, {35, 38, 41},
                                            {239, 240, 241}, {61, 174, 233},  {239, 240, 241},
                                            {49, 54, 59},    {239, 240, 241}};
    struct Case {
        const char* what;
        MenuCommand command;
        toolkit::Palette expected;
    };
    const Case cases[] = {
        {"dark", MenuCommand::AppearanceDark, toolkit::Palette::dark()},
        {"high contrast", MenuCommand::AppearanceHighContrast, toolkit::Palette::highContrast()},
        {"light", MenuCommand::AppearanceLight, toolkit::Palette::light()},
        {"a dark desktop", MenuCommand::AppearanceSystem,
         toolkit::Palette::fromSystem(darkDesktop)},
    };
    const toolkit::Color otherViews[] = {toolkit::Palette::light().view,
                                         toolkit::Palette::dark().view,
                                         toolkit::Palette::highContrast().view};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppearancePanel f;
        f.window.setSystemColors(darkDesktop);
        f.choose(MenuCommand::AppearanceLight);
        f.choose(c.command);
        ASSERT_EQ(f.window.palette(), c.expected);
        std::set<std::string> fills = f.paintedFills();
        for (toolkit::Color used : {c.expected.view, c.expected.workArea, c.expected.header,
                                    c.expected.errorBackground, c.expected.accent})
            EXPECT_TRUE(fills.contains(hex(used))) << hex(used);
        for (toolkit::Color other : otherViews) {
            if (!(other == c.expected.view) && !(other == c.expected.workArea)) {
                EXPECT_FALSE(fills.contains(hex(other))) << hex(other);
            }
        }
    }
}

TEST(Appearance, PrintedPagesStayOnWhitePaper) {
    AppearancePanel f;
    f.choose(MenuCommand::AppearanceDark);
    std::string target = f.folder.file("loan.pdf");
    f.window.scriptFile(target);
    f.choose(MenuCommand::ExportPdf);
    ASSERT_EQ(f.window.documents().size(), 1u);
    const toolkit::Palette paper = toolkit::Palette::light();
    const toolkit::Palette dark = toolkit::Palette::dark();
    for (const toolkit::HeadlessGraphics& page : f.window.documents().back().pages) {
        std::set<std::string> fills = fillColours(page.calls());
        EXPECT_TRUE(fills.contains(hex(paper.header)));
        EXPECT_TRUE(fills.contains(hex(paper.errorBackground)));
        for (toolkit::Color screen : {dark.view, dark.header, dark.errorBackground})
            EXPECT_FALSE(fills.contains(hex(screen))) << hex(screen);
    }
    // The screen kept its colours.
    EXPECT_EQ(f.window.palette(), dark);
}

}  // namespace
}  // namespace qv
