// What the program's command line asks for: the document to open at start
// (the arguments joined and trimmed, one leading and one trailing double
// quote removed), whether to paint the window into a PNG instead of
// showing it (`--screenshot OUT.png`, first on the line), or whether to
// write the chart of one table to a file and end (`--chart OUT FILE TABLE`,
// first on the line), or whether to print where the user guide was found
// and end (`--guide-path`, alone on the line).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

inline constexpr std::string_view kProgramUsage =
    "usage: quorvatelle [FILE]\n"
    "       quorvatelle --screenshot OUT.png [FILE]\n"
    "       quorvatelle --chart OUT.png|OUT.svg FILE TABLE\n"
    "       quorvatelle --guide-path\n";

struct ChartRequest {
    std::string outputPath;
    std::string documentPath;
    std::string table;
};

struct ProgramRequest {
    std::string startupPath;
    std::optional<std::string> screenshotPath;
    std::optional<ChartRequest> chart;
    bool guidePath = false;
    // Why the line cannot be followed; empty when it can.
    std::string error;
};

// The arguments after the program's name.
ProgramRequest programRequestOf(std::span<const std::string> arguments);

}  // namespace qv
