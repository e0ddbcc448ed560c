// LineDiff: a unified diff of two texts, line by line, as `diff -u` writes
// it, for `qvl rename --diff`. The edit script is the shortest one (Myers'
// algorithm); past a bound of differences the rest is shown as one
// replacement, so a diff of two unrelated large texts stays cheap.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::cli {

// The most differing lines the shortest edit script is searched for.
inline constexpr std::int32_t kMaxDiffEdits = 2000;

// "--- LABEL\n+++ LABEL\n" and hunks with three lines of context; empty
// when the texts are equal. A text not ending in a line feed gets the line
// "\ No newline at end of file" after its last line.
std::string unifiedDiff(std::string_view before, std::string_view after, std::string_view label);

}  // namespace qv::cli
