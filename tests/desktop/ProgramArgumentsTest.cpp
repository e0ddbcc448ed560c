// The program's command line: the document path as the start-up takes it
// (arguments joined, trimmed, one leading and one trailing quote removed)
// and the options before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/ProgramArguments.h"

namespace qv {
namespace {

TEST(ProgramArguments, ThePathAndTheScreenshotOption) {
    struct Case {
        std::vector<std::string> arguments;
        std::string path;
        std::string screenshot;  // empty: none
        std::string error;
    };
    const std::string missing = "--screenshot needs the name of the PNG file to write";
    const Case cases[] = {
        {{}, "", "", ""},
        {{"loan.qvl"}, "loan.qvl", "", ""},
        {{"\"my", "loan.qvl\""}, "my loan.qvl", "", ""},
        {{"  model.qvl\""}, "model.qvl", "", ""},
        {{"--screenshot", "out.png"}, "", "out.png", ""},
        {{"--screenshot", "out.png", "\"a b.qvl\""}, "a b.qvl", "out.png", ""},
        {{"--screenshot"}, "", "", missing},
        {{"--screenshot", ""}, "", "", missing},
        // Only first on the line is it the option.
        {{"a.qvl", "--screenshot", "b.png"}, "a.qvl --screenshot b.png", "", ""},
    };
    for (const Case& c : cases) {
        ProgramRequest request = programRequestOf(c.arguments);
        std::string line;
        for (const std::string& argument : c.arguments)
            line += "[" + argument + "]";
        SCOPED_TRACE(line);
        EXPECT_EQ(request.error, c.error);
        if (!c.error.empty()) continue;
        EXPECT_EQ(request.startupPath, c.path);
        EXPECT_EQ(request.screenshotPath.value_or(""), c.screenshot);
    }
}

TEST(ProgramArguments, TheChartOption) {
    struct Case {
        std::vector<std::string> arguments;
        std::string chart;  // "OUT|FILE|TABLE"; empty: none
        std::string error;
    };
    const std::string count = "--chart takes the file to write, the document and the table";
    const std::string kind = "--chart writes PNG or SVG: name the output OUT.png or OUT.svg";
    const Case cases[] = {
        {{"--chart", "c.png", "a b.qvl", "Loan"}, "c.png|a b.qvl|Loan", ""},
        {{"--chart", "c.SVG", "a.qvl", "T"}, "c.SVG|a.qvl|T", ""},
        {{"--chart", "c.png", "a.qvl"}, "", count},
        {{"--chart", "c.png", "a.qvl", "T", "extra"}, "", count},
        {{"--chart"}, "", count},
        {{"--chart", "c.jpg", "a.qvl", "T"}, "", kind},
        {{"--chart", "png", "a.qvl", "T"}, "", kind},
        // Only first on the line is it the option.
        {{"a.qvl", "--chart", "c.png", "b.qvl", "T"}, "", ""},
    };
    for (const Case& c : cases) {
        ProgramRequest request = programRequestOf(c.arguments);
        SCOPED_TRACE(c.arguments.size());
        EXPECT_EQ(request.error, c.error);
        std::string chart;
        if (request.chart)
            chart = request.chart->outputPath + "|" + request.chart->documentPath + "|" +
                    request.chart->table;
        EXPECT_EQ(chart, c.chart);
        EXPECT_FALSE(request.screenshotPath);
    }
}

TEST(ProgramArguments, TheGuidePathOption) {
    struct Case {
        std::vector<std::string> arguments;
        bool guidePath;
        std::string error;
    };
    const Case cases[] = {
        {{"--guide-path"}, true, ""},
        {{"--guide-path", "a.qvl"}, false, "--guide-path takes nothing after it"},
        // Only first on the line is it the option: here it is a file's name.
        {{"a.qvl", "--guide-path"}, false, ""},
        {{"--screenshot", "out.png", "--guide-path"}, false, ""},
        {{}, false, ""},
    };
    for (const Case& c : cases) {
        ProgramRequest request = programRequestOf(c.arguments);
        SCOPED_TRACE(c.arguments.empty() ? "" : c.arguments.back());
        EXPECT_EQ(request.guidePath, c.guidePath);
        EXPECT_EQ(request.error, c.error);
        if (request.guidePath) {
            EXPECT_FALSE(request.screenshotPath);
            EXPECT_FALSE(request.chart);
        }
    }
}

}  // namespace
}  // namespace qv
