// The time limit of the commands that compute: a computation that runs past
// it stops, the cells not computed say so, what there is is printed, and
// the command fails with a message naming the limit. Nothing here measures
// time: the limits are either far below or far above what the documents
// take.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/TimeLimit.h"
#include "tests/cli/CommandTestSupport.h"

namespace qv::cli {
namespace {

using test::Outcome;
using test::run;
using test::writeDocument;

// R takes 2^30 calls of f (a minute and more); C is quick, but computed
// after R, so a stop leaves it uncomputed as well.
const char* kSlowModel =
    "table R{ [f(n)]:=if n <= 0 then 1 else f(n-1)+f(n-1)! x:=f(30)! y:=x+1! }\n"
    "table C{ i:=range 1 to 3! s:=i*2! }\n";

const char* kQuickModel = "table C{ i:=range 1 to 3! s:=i*2! }\n";

std::string stoppedLine(const std::string& path, const std::string& seconds) {
    return "qvl: " + path + ": calculation stopped: the time limit of " + seconds + " s passed\n";
}

TEST(TimeLimitTest, AComputationPastItsLimitStopsAndTheCommandFails) {
    std::string path = writeDocument("slow.qvl", kSlowModel);
    std::string svg = ::testing::TempDir() + "stopped.svg";
    std::filesystem::remove(svg);
    struct Row {
        const char* what;
        int (*command)(const ArgumentList&);
        ArgumentList arguments;
        std::string out;
    } rows[] = {
        {"show marks the cells it did not compute",
         runShow,
         {"--time-limit", "0.05", path},
         "table R\n     f(n)  x                    y\nsum        calculation stopped  calculation "
         "stopped\n\ntable C\n     i                    s\n1    1                    calculation "
         "stopped\n2    2                    calculation stopped\n3    3                    "
         "calculation stopped\nsum  calculation stopped  calculation stopped\n"},
        {"eval prints each value, stopped ones so marked",
         runEval,
         {"--time-limit=0.05", path, "R.y", "1+1"},
         "calculation stopped\n2\n"},
        {"check counts what it has",
         runCheck,
         {path, "--time-limit", "0.05"},
         path + ": 2 tables, 5 fields, 3 rows, 10 cells with errors, 0 tables with warnings\n"},
        {"explain says where the computation stopped",
         runExplain,
         {"--time-limit", "0.05", path, "R.y"},
         "R.y := x+1 => calculation stopped\ncaused by R.x: calculation stopped\n  R.x := f(30) "
         "=> calculation stopped  <- origin\n"},
        {"eval --why says it after each stopped value",
         runEval,
         {"--why", "--time-limit=0.05", path, "R.y", "C[1].s"},
         "calculation stopped\tcaused by R.x: calculation stopped\ncalculation stopped\tcaused "
         "by R.x: calculation stopped\n"},
        {"check --why counts the cells the stop explains",
         runCheck,
         {"--why", path, "--time-limit", "0.05"},
         "R: caused by R.x: calculation stopped (explains 4 of 4 cells with error values)\nC: "
         "caused by R.x: calculation stopped (explains 6 of 6 cells with error values)\n" +
             path + ": 2 tables, 5 fields, 3 rows, 10 cells with errors, 0 tables with warnings\n"},
        {"chart writes no picture of a part",
         runChart,
         {"--time-limit", "0.05", path, "C", "-o", svg},
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Outcome outcome = run(row.command, row.arguments);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_EQ(outcome.err, stoppedLine(path, "0.05"));
    }
    EXPECT_FALSE(std::filesystem::exists(svg));
}

TEST(TimeLimitTest, AComputationWithinItsLimitIsAsWithoutOne) {
    std::string path = writeDocument("quick.qvl", kQuickModel);
    struct Row {
        int (*command)(const ArgumentList&);
        ArgumentList withLimit;
        ArgumentList without;
    } rows[] = {
        {runShow, {"--time-limit", "600", path}, {path}},
        {runShow, {"--time-limit=1e3", "--format", "csv", path}, {"--format", "csv", path}},
        {runEval, {"--time-limit", "600", path, "C[2].s"}, {path, "C[2].s"}},
        {runCheck, {"--time-limit", "600", path}, {path}},
        {runExplain, {"--time-limit", "600", path, "C[2].s"}, {path, "C[2].s"}},
        {runEval, {"--why", "--time-limit", "600", path, "C[2].s"}, {path, "C[2].s"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.withLimit[0] + " " + row.withLimit[1]);
        Outcome limited = run(row.command, row.withLimit);
        Outcome plain = run(row.command, row.without);
        EXPECT_EQ(limited.status, 0) << limited.err;
        EXPECT_EQ(limited.out, plain.out);
        EXPECT_EQ(limited.err, "");
    }
}

TEST(TimeLimitTest, TheLimitIsAPositiveNumberOfSeconds) {
    struct Row {
        const char* text;
        double seconds;  // 0: refused
    } rows[] = {
        {"1", 1},  {"0.25", 0.25}, {"1e2", 100},  {"31536000", 31536000},
        {"0", 0},  {"-1", 0},      {"", 0},       {"abc", 0},
        {"1s", 0}, {"nan", 0},     {"inf", 0},    {"31536001", 0},
        {" 1", 1}, {"1 ", 0},      {"1e-400", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::optional<double> seconds = TimeLimit::parseSeconds(row.text);
        EXPECT_EQ(seconds.value_or(0), row.seconds);
    }
}

TEST(TimeLimitTest, OnlyTheCommandsThatComputeTakeALimit) {
    std::string path = writeDocument("quick.qvl", kQuickModel);
    struct Row {
        int (*command)(const ArgumentList&);
        ArgumentList arguments;
        std::string firstLine;  // of standard error
    } rows[] = {
        {runShow,
         {"--time-limit", "0", path},
         "qvl: --time-limit needs a number of seconds above 0, not 0"},
        {runShow, {path, "--time-limit"}, "qvl: --time-limit needs a number of seconds"},
        {runEval,
         {"--time-limit=x", path, "1"},
         "qvl: --time-limit needs a number of seconds above 0, not x"},
        {runFmt, {"--time-limit", "1", path}, "qvl: unknown option --time-limit"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.firstLine);
        Outcome outcome = run(row.command, row.arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')), row.firstLine);
    }
}

}  // namespace
}  // namespace qv::cli
