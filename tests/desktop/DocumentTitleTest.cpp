// The texts that name the document (window title, save question) and the
// start-up path taken from the command line.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "desktop/DocumentTitle.h"
#include "desktop/StartupPath.h"

namespace qv {
namespace {

TEST(DocumentTitle, NameModificationAndMaximizedViews) {
    struct Case {
        std::optional<std::string> path;
        bool modified;
        std::vector<std::string> maximized;
        const char* title;
    };
    const Case cases[] = {
        {std::nullopt, false, {}, "Untitled - Quorvatelle"},
        {std::nullopt, true, {}, "Untitled *  - Quorvatelle"},
        {"/home/ann/loan.qvl", false, {}, "loan.qvl - Quorvatelle"},
        {"/home/ann/loan.qvl", true, {"Loan"}, "loan.qvl *  - Quorvatelle[Loan]"},
        {"C:\\models\\prices.qvl", false, {}, "prices.qvl - Quorvatelle"},
        {"share/win\\mixed.qvl", false, {}, "mixed.qvl - Quorvatelle"},
        {"plain.qvl", false, {"A", "B"}, "plain.qvl - Quorvatelle[A][B]"},
        {"/folder/", false, {}, " - Quorvatelle"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(windowTitleOf(c.path, c.modified, c.maximized), c.title)
            << c.path.value_or("(untitled)");
    }
}

TEST(DocumentTitle, TheSaveQuestionNamesTheWholePath) {
    EXPECT_EQ(savePromptOf(std::nullopt),
              "The untitled file has changed,\n\nDo you want to save it?");
    EXPECT_EQ(savePromptOf("/home/ann/loan.qvl"),
              "/home/ann/loan.qvl has changed,\n\nDo you want to save it?");
}

TEST(StartupPath, OnePathTrimmedWithOneQuoteRemovedAtEachEnd) {
    struct Case {
        const char* commandLine;
        const char* path;
    };
    const Case cases[] = {
        {"", ""},
        {"   ", ""},
        {"loan.qvl", "loan.qvl"},
        {"  loan.qvl \t", "loan.qvl"},
        {"\"my models/loan.qvl\"", "my models/loan.qvl"},
        {" \"quoted.qvl\" ", "quoted.qvl"},
        {"trailing.qvl\"", "trailing.qvl"},
        {"\"leading.qvl", "leading.qvl"},
        {"\"\"twice.qvl\"\"", "\"twice.qvl\""},
        {"\"", ""},
        {"\" inner blanks stay \"", " inner blanks stay "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(startupPathOf(c.commandLine), c.path) << c.commandLine;
}

TEST(StartupPath, ArgumentsSplitByTheShellAreOneLineAgain) {
    const std::vector<std::string> none;
    const std::vector<std::string> pieces = {"my", "loan.qvl"};
    EXPECT_EQ(startupPathOf(commandLineOf(none)), "");
    EXPECT_EQ(startupPathOf(commandLineOf(pieces)), "my loan.qvl");
}

}  // namespace
}  // namespace qv
