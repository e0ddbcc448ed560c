// Writing a chart to a file: the kind chosen by the extension, the picture
// written whole, and the reason when it was not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "charts/ChartFile.h"
#include "tests/charts/ChartTestSupport.h"

namespace qv {
namespace {

std::string fileBytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "taken.svg");
    ChartPicture picture(test::chartOf({{{0, 0}, {1, 2}}}), {200, 150});
    std::vector<std::string> encoded;
    // Encodes the PNG as a text naming its size, or refuses for "refused".
    toolkit::ImageEncoder encodePng = [&](toolkit::Size size, const toolkit::ImagePainter&,
                                          std::string& bytes, std::string& error) {
        encoded.push_back(std::to_string(size.width) + "x" + std::to_string(size.height));
        if (encoded.size() == 2) {
            error = "no encoder for it";
            return false;
        }
        bytes = "png " + encoded.back();
        return true;
    };
    auto in = [&folder](const char* name) { return (folder / name).string(); };
    struct Case {
        std::string path;
        bool unknownKind;
        std::string message;  // empty: written
    };
    const Case cases[] = {
        {in("chart.svg"), false, ""},
        {in("chart.png"), false, ""},
        {in("refused.png"), false, "can not write to " + in("refused.png") + ": no encoder for it"},
        {"/nonexistent-folder/chart.svg", false,
         "can not open /nonexistent-folder/chart.svg: No such file or directory"},
        {in("taken.svg"), false, "can not write to " + in("taken.svg") + ": not a regular file"},
        {in("chart.txt"), true,
         "can not write " + in("chart.txt") + ": a chart is written as a .png or an .svg file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::optional<ChartFileFailure> failure = writeChartFile(picture, c.path, encodePng);
        EXPECT_EQ(!failure, c.message.empty());
        if (failure) {
            EXPECT_EQ(failure->unknownKind, c.unknownKind);
            EXPECT_EQ(failure->message, c.message);
        }
        EXPECT_EQ(std::filesystem::is_regular_file(c.path), c.message.empty());
    }
    // The folder in the way is refused before a picture is encoded.
    EXPECT_EQ(encoded, (std::vector<std::string>{"200x150", "200x150"}));
    EXPECT_EQ(fileBytesOf(in("chart.png")), "png 200x150");
    std::string text = fileBytesOf(in("chart.svg"));
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_TRUE(text.ends_with("</svg>\n"));
    EXPECT_TRUE(std::filesystem::is_directory(in("taken.svg")));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qv
