// Writing a chart to a file: the kind chosen by the extension, the picture
// written whole, and the reason when it was not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "charts/ChartFile.h"
#include "tests/charts/ChartTestSupport.h"

namespace qv {
namespace {

TEST(ChartFile, TheExtensionChoosesTheKindInAnyLetterCase) {
    const std::pair<const char*, ChartFileKind> cases[] = {
        {"a.png", ChartFileKind::Png},     {"a.PNG", ChartFileKind::Png},
        {"a.svg", ChartFileKind::Svg},     {"dir.png/a.Svg", ChartFileKind::Svg},
        {"a.txt", ChartFileKind::Unknown}, {"png", ChartFileKind::Unknown},
        {"", ChartFileKind::Unknown},      {"a.svg.bak", ChartFileKind::Unknown},
    };
    for (const auto& [path, kind] : cases)
        EXPECT_EQ(chartFileKindOf(path), kind) << path;
}

TEST(ChartFile, WritesThePictureOrSaysWhyNot) {
    std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "qv_chart_file";
    std::filesystem::create_directories(folder);
    ChartPicture picture(test::chartOf({{{0, 0}, {1, 2}}}), {200, 150});
    std::string pngAsked;
    toolkit::ImageWriter refusingPng = [&](const std::string& path, toolkit::Size size,
                                           const toolkit::ImagePainter&, std::string& error) {
        pngAsked = path + " " + std::to_string(size.width) + "x" + std::to_string(size.height);
        error = "disk full";
        return false;
    };
    struct Case {
        std::string path;
        bool written, unknownKind;
        std::string reason;
    };
    const Case cases[] = {
        {(folder / "chart.svg").string(), true, false, ""},
        {"/nonexistent-folder/chart.svg", false, false, "No such file or directory"},
        {(folder / "chart.png").string(), false, false, "disk full"},
        {(folder / "chart.txt").string(), false, true, ""},
    };
    for (const Case& c : cases) {
        std::optional<ChartFileFailure> failure = writeChartFile(picture, c.path, refusingPng);
        EXPECT_EQ(!failure, c.written) << c.path;
        if (failure) {
            EXPECT_EQ(failure->unknownKind, c.unknownKind) << c.path;
            EXPECT_EQ(failure->reason, c.reason) << c.path;
        }
        EXPECT_EQ(std::filesystem::exists(c.path), c.written) << c.path;
    }
    EXPECT_EQ(pngAsked, (folder / "chart.png").string() + " 200x150");
    std::ifstream svg(folder / "chart.svg");
    std::string text((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_TRUE(text.ends_with("</svg>\n"));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qv
