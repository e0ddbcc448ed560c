// The unified diff of qvl rename --diff: one row per shape of change.
#include <gtest/gtest.h>

#include "cli/LineDiff.h"

namespace qv::cli {
namespace {

struct DiffRow {
    const char* what;
    const char* before;
    const char* after;
    const char* diff;
};

class LineDiffs : public ::testing::TestWithParam<DiffRow> {};

TEST_P(LineDiffs, AreWrittenAsDiffDoes) {
    const DiffRow& row = GetParam();
    EXPECT_EQ(unifiedDiff(row.before, row.after, "f"), row.diff);
}

const DiffRow kDiffRows[] = {
    {"equal texts", "a\nb\n", "a\nb\n", ""},
    {"both empty", "", "", ""},
    {"one line changed", "a\nb\nc\n", "a\nB\nc\n",
     "--- f\n+++ f\n@@ -1,3 +1,3 @@\n a\n-b\n+B\n c\n"},
    {"a line added at the end", "a\n", "a\nb\n", "--- f\n+++ f\n@@ -1 +1,2 @@\n a\n+b\n"},
    {"a line removed at the start", "a\nb\n", "b\n", "--- f\n+++ f\n@@ -1,2 +1 @@\n-a\n b\n"},
    {"into an empty text", "", "a\n", "--- f\n+++ f\n@@ -0,0 +1 @@\n+a\n"},
    {"the last line loses its line feed", "a\n", "a",
     "--- f\n+++ f\n@@ -1 +1 @@\n-a\n+a\n\\ No newline at end of file\n"},
    {"far apart changes make two hunks", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n",
     "0\n2\n3\n4\n5\n6\n7\n8\n9\n11\n",
     "--- f\n+++ f\n@@ -1,4 +1,4 @@\n-1\n+0\n 2\n 3\n 4\n@@ -7,4 +7,4 @@\n 7\n 8\n 9\n-10\n+11\n"},
    {"changes six lines apart share one hunk", "1\n2\n3\n4\n5\n6\n7\n8\n",
     "0\n2\n3\n4\n5\n6\n7\n9\n",
     "--- f\n+++ f\n@@ -1,8 +1,8 @@\n-1\n+0\n 2\n 3\n 4\n 5\n 6\n 7\n-8\n+9\n"},
};

INSTANTIATE_TEST_SUITE_P(Cli, LineDiffs, ::testing::ValuesIn(kDiffRows),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

TEST(LineDiff, PastTheBoundTheMiddleIsReplacedWhole) {
    std::string before;
    std::string after;
    for (int i = 0; i < 3 * kMaxDiffEdits; ++i) {
        before += "a" + std::to_string(i) + "\n";
        after += "b" + std::to_string(i) + "\n";
    }
    before = "same\n" + before + "end\n";
    after = "same\n" + after + "end\n";
    std::string diff = unifiedDiff(before, after, "f");
    std::string header = "@@ -1," + std::to_string(3 * kMaxDiffEdits + 2) + " +1," +
                         std::to_string(3 * kMaxDiffEdits + 2) + " @@\n same\n-a0\n";
    EXPECT_EQ(diff.rfind("--- f\n+++ f\n" + header, 0), 0u) << diff.substr(0, 200);
}

}  // namespace
}  // namespace qv::cli
