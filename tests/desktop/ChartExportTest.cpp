// Exporting a chart: the work area's context menu on a chart, the save
// dialog answered by the script, the file written or the failure shown; and
// `quorvatelle --chart` as the program runs it, with a recording image writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "charts/TableChartModel.h"
#include "desktop/ChartCommand.h"
#include "desktop/ChartExport.h"
#include "tests/charts/ChartTestSupport.h"
#include "tests/desktop/PanelTestSupport.h"
#include "views/ChartEditable.h"

namespace qv {
namespace {

const char* const kDocument = R"(table P{
    x:=range 1 to 5!
    y:=6-x!
    falling:=plot(x, y);
}
//--end)";

bool isSvgPicture(const std::string& text) {
    return text.rfind("<?xml", 0) == 0 && text.find("<svg ") != std::string::npos &&
           text.ends_with("</svg>\n");
}

// The panel on the document with one chart view of P, placed as the Add
// menu places views.
struct ChartPanel : test::PanelFixture {
    ChartPanel() {
        startOn("model.qvl", kDocument);
        chart = make<ChartEditable>(make<TableChartModel>(panel->kernel()->getTableByName("P")));
        panel->addView(chart);
        layout();
        panel->flow().updateTitle();
    }
    void rightPress(toolkit::Point at) { mouse(toolkit::MouseKind::RightPress, at); }
    // The context menu on the chart, its item chosen and the dialog answered.
    void exportTo(std::optional<std::string> path) {
        window.scriptFile(std::move(path));
        rightPress(inside(0));
        panel->menuChosen(ChartExport::kMenuId);
        window.deliverPosted();
    }

    Pointer<ChartEditable> chart;
};

TEST(ChartExportMenu, IsOfferedOnAChartAndOnlyThere) {
    struct Case {
        const char* where;
        std::function<toolkit::Point(ChartPanel&)> at;
        std::string firstCaption;  // empty: no menu
    };
    const Case cases[] = {
        {"inside the chart", [](ChartPanel& f) { return f.inside(0); }, "&Export chart..."},
        {"its title bar",
         [](ChartPanel& f) {
             toolkit::Rect frame = f.frame(0)->bounds();
             return toolkit::Point{frame.x + 30, frame.y + 3};
         },
         "&Export chart..."},
        {"the empty work area",
         [](ChartPanel&) {
             return toolkit::Point{1000, 740};
         },
         "&File"},
        {"the formula bar",
         [](ChartPanel&) {
             return toolkit::Point{300, 5};
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        ChartPanel f;
        f.rightPress(c.at(f));
        const toolkit::MenuBar& popup = f.window.lastPopup();
        ASSERT_EQ(popup.empty(), c.firstCaption.empty());
        if (popup.empty()) continue;
        EXPECT_EQ(popup[0].caption, c.firstCaption);
        if (c.firstCaption == "&Export chart...") {
            EXPECT_EQ(popup.size(), 1u);
            EXPECT_EQ(popup[0].id, ChartExport::kMenuId);
        }
    }
}

TEST(ChartExportMenu, WritesTheChosenFileOrSaysWhyNot) {
    const std::string failure(ChartExport::kFailureNotice);
    struct Case {
        const char* what;
        std::string file;  // in the scratch folder unless absolute; empty: cancelled
        std::string refusal;
        std::string notice;  // the whole notice; empty: none shown
    };
    const Case cases[] = {
        {"svg", "chart.svg", "", ""},
        {"png, any letter case", "chart.PNG", "", ""},
        {"cancelled", "", "", ""},
        {"another extension", "chart.gif", "",
         failure + "can not write $/chart.gif: a chart is written as a .png or an .svg file"},
        {"a folder in the way", "taken.svg", "",
         failure + "can not write to $/taken.svg: not a regular file"},
        {"no such folder", "/nonexistent-folder/chart.svg", "",
         failure + "can not open /nonexistent-folder/chart.svg: No such file or directory"},
        {"no such folder for a png", "/nonexistent-folder/chart.png", "",
         failure + "can not open /nonexistent-folder/chart.png: No such file or directory"},
        {"the image refused", "chart.png", "no encoder",
         failure + "can not write to $/chart.png: no encoder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChartPanel f;
        std::filesystem::create_directory(f.folder.file("taken.svg"));
        std::string folder = f.folder.path().string();
        std::string path = c.file.empty() || c.file[0] == '/' ? c.file : f.folder.file(c.file);
        if (!c.refusal.empty()) f.window.refuseImages(c.refusal);
        std::string before = f.state();
        std::size_t dialogs = f.window.dialogs().size();

        f.exportTo(c.file.empty() ? std::nullopt : std::optional<std::string>(path));

        // Exporting never changes the document.
        EXPECT_EQ(f.state(), before);
        ASSERT_EQ(f.window.dialogs().size(), dialogs + (c.notice.empty() ? 1 : 2));
        EXPECT_EQ(f.window.dialogs()[dialogs], "save: " + std::string(ChartExport::kFilter));
        std::string notice = c.notice;
        if (auto at = notice.find('$'); at != std::string::npos) notice.replace(at, 1, folder);
        if (!notice.empty()) {
            EXPECT_EQ(f.lastDialog(), "notice: " + notice);
        }

        ChartFileKind kind = c.file.empty() ? ChartFileKind::Unknown : chartFileKindOf(c.file);
        bool written = kind != ChartFileKind::Unknown && c.notice.empty();
        EXPECT_EQ(std::filesystem::is_regular_file(path), written);
        if (written && kind == ChartFileKind::Svg) {
            std::string svg = test::fileBytes(path);
            EXPECT_TRUE(isSvgPicture(svg));
            EXPECT_NE(svg.find(">falling</text>"), std::string::npos);
            EXPECT_NE(svg.find("width=\"" + std::to_string(f.chart->bounds().width) + "\""),
                      std::string::npos);
        }
        // A PNG is encoded by the window, painted by the chart at its size
        // on screen: five markers in the curve's colour. The headless
        // window's encoding is its recording, which the file holds.
        const auto& images = f.window.images();
        ASSERT_EQ(images.size(), kind == ChartFileKind::Png ? 1u : 0u);
        if (images.empty()) continue;
        if (written) {
            std::string recording;
            for (const std::string& call : images[0].painted.calls())
                recording += call + "\n";
            EXPECT_EQ(test::fileBytes(path), recording);
        }
        EXPECT_EQ(images[0].size.width, f.chart->bounds().width);
        EXPECT_EQ(images[0].size.height, f.chart->bounds().height);
        EXPECT_EQ(test::countCalls(images[0].painted, "ellipse", test::kStripColor), 5u);
    }
}

// The export's dialog and the document's dialogs answer by different
// messages: a cancelled one of either kind never takes the other's file.
TEST(ChartExportMenu, ItsDialogAndTheDocumentsDialogsKeepTheirAnswers) {
    {
        ChartPanel f;
        f.window.scriptFile(std::nullopt);
        f.choose(MenuCommand::SaveAs);
        std::string svg = f.folder.file("after-cancelled-save.svg");
        f.exportTo(svg);
        EXPECT_TRUE(isSvgPicture(test::fileBytes(svg)));
        EXPECT_EQ(f.panel->flow().currentPath(), f.folder.file("model.qvl"));
    }
    {
        ChartPanel f;
        f.exportTo(std::nullopt);
        std::string saved = f.folder.file("saved.qvl");
        f.window.scriptFile(saved);
        f.choose(MenuCommand::SaveAs);
        EXPECT_NE(test::fileBytes(saved).find("falling:=plot(x, y)"), std::string::npos);
        EXPECT_EQ(f.panel->flow().currentPath(), saved);
        EXPECT_TRUE(f.window.images().empty());
    }
}

// `quorvatelle --chart`: the exit status and the message for each outcome.
TEST(ChartCommand, WritesTheChartOfATableOrSaysWhyNot) {
    test::ScratchFolder folder;
    std::string document = folder.file("model.qvl");
    test::putFileBytes(document, kDocument);
    std::string broken = folder.file("broken.qvl");
    test::putFileBytes(broken, "table P{ x:=(1; }\n//--end");
    struct Case {
        const char* what;
        ChartRequest request;
        int status;
        std::string message;  // "$" stands for the scratch folder
    };
    const std::string out = folder.file("out");
    // No failing case may leave it behind.
    const std::string never = folder.file("never");
    std::filesystem::create_directory(folder.file("taken.png"));
    const Case cases[] = {
        {"svg", {out + ".svg", document, "P"}, 0, ""},
        {"png", {out + ".png", document, "P"}, 0, ""},
        {"no such table",
         {never + ".svg", document, "Q"},
         1,
         "quorvatelle: $/model.qvl: Q: table not found\n"},
        {"no such document",
         {never + ".png", folder.file("none.qvl"), "P"},
         1,
         "quorvatelle: $/none.qvl: can not open $/none.qvl: No such file or directory\n"},
        {"unwritable output",
         {"/nonexistent-folder/out.svg", document, "P"},
         1,
         "quorvatelle: can not open /nonexistent-folder/out.svg: No such file or "
         "directory\n"},
        {"png refused",
         {never + ".png", document, "P"},
         1,
         "quorvatelle: can not write to $/never.png: no encoder\n"},
        {"a folder in the way",
         {folder.file("taken.png"), document, "P"},
         1,
         "quorvatelle: can not write to $/taken.png: not a regular file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> encoded;
        bool refuse = std::string_view(c.what) == "png refused";
        auto encodePng = [&encoded, refuse](toolkit::Size size, const toolkit::ImagePainter& paint,
                                            std::string& bytes, std::string& error) {
            toolkit::HeadlessGraphics graphics(size);
            paint(graphics);
            encoded.push_back(std::to_string(size.width) + "x" + std::to_string(size.height) +
                              " markers " + std::to_string(test::countCalls(graphics, "ellipse")));
            if (refuse) {
                error = "no encoder";
                return false;
            }
            bytes = "png " + encoded.back();
            return true;
        };
        std::FILE* errors = std::tmpfile();
        ASSERT_NE(errors, nullptr);
        EXPECT_EQ(runChartCommand(c.request, encodePng, errors), c.status);
        std::rewind(errors);
        std::string message;
        for (int ch = std::fgetc(errors); ch != EOF; ch = std::fgetc(errors))
            message += static_cast<char>(ch);
        std::fclose(errors);
        std::string expected = c.message;
        for (auto at = expected.find('$'); at != std::string::npos; at = expected.find('$'))
            expected.replace(at, 1, folder.path().string());
        EXPECT_EQ(message, expected);

        bool png = chartFileKindOf(c.request.outputPath) == ChartFileKind::Png;
        if (c.status == 0 && png) {
            EXPECT_EQ(encoded, std::vector<std::string>{"640x480 markers 5"});
            EXPECT_EQ(test::fileBytes(c.request.outputPath), "png 640x480 markers 5");
        }
        EXPECT_FALSE(std::filesystem::exists(never + ".svg"));
        EXPECT_FALSE(std::filesystem::exists(never + ".png"));
        if (c.status == 0 && !png) {
            EXPECT_TRUE(isSvgPicture(test::fileBytes(c.request.outputPath)));
        }
    }
    // A document that does not parse says where.
    std::FILE* errors = std::tmpfile();
    ASSERT_NE(errors, nullptr);
    EXPECT_EQ(runChartCommand({never + ".svg", broken, "P"}, {}, errors), 1);
    std::rewind(errors);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, errors), nullptr);
    std::fclose(errors);
    EXPECT_EQ(std::string(line).rfind("quorvatelle: " + broken + ":1:", 0), 0u) << line;
    EXPECT_FALSE(std::filesystem::exists(never + ".svg"));
}

}  // namespace
}  // namespace qv
