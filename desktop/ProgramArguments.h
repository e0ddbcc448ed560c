// What the program's command line asks for: the document to open at start
// (the arguments joined and trimmed, one leading and one trailing double
// quote removed), and whether to paint the window into a PNG instead of
// showing it (`--screenshot OUT.png`, first on the line).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

inline constexpr std::string_view kProgramUsage =
    "usage: quorvatelle [FILE]\n"
    "       quorvatelle --screenshot OUT.png [FILE]\n";

struct ProgramRequest {
    std::string startupPath;
    std::optional<std::string> screenshotPath;
    // Why the line cannot be followed; empty when it can.
    std::string error;
};

// The arguments after the program's name.
ProgramRequest programRequestOf(std::span<const std::string> arguments);

}  // namespace qv
