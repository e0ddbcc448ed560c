// The qvl commands as the shell sees them: exit status, standard output and
// the "qvl: FILE:LINE:COL: MESSAGE" line on standard error.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cli/Commands.h"
#include "tests/cli/CommandTestSupport.h"

namespace qv::cli {
namespace {

using test::Outcome;
using test::run;
using test::writeDocument;

const char* kModel =
    "table T{ x:=range 1 to 3! y:=x*2! h:=x+1; }\n"
    "table U{ a:=T.y! }\n"
    "table V{ x:=range 1 to 2! n:=if x=1 then \"\u00e9t\u00e9\" else \"a\"! m:=x! }\n"
    "optimized(10,20) result(T);\n//--end";

TEST(CommandTest, CheckReportsEveryDocumentMessageWithItsPlace) {
    struct Row {
        const char* text;
        const char* where;  // LINE:COL
        const char* message;
    } rows[] = {
        {"foo", "1:1", "expecting  table,maximized,optimized or floating"},
        {"maximized bogus();", "1:11", "unexpeted token"},
        {"optimized(1 2) text(\"a\");", "1:13", "expecting ,"},
        {"optimized(a,2) text(\"a\");", "1:11", "expecting number"},
        {"maximized text(1);", "1:16", "expecing string"},
        {"maximized chart(1);", "1:17", "expecing identifier"},
        {"maximized chart(Nowhere);", "1:17", "table not found"},
        {"maximized project();", "1:19", "expecting expression in project()"},
        {"maximized text(\"a\"", "1:19", "expecting )"},
        {"maximized properties() ", "1:24", "expecting ;"},
        {"maximized ltable lrow", "1:18", "expecting {"},
        {"table T{ x:=1 }", "1:15", "syntax error: expecting ; ! or ="},
        // Lines end with LF, CR LF or a lone CR; the column counts bytes
        // from the line's start.
        {"// model\ntable T{\n  x:=1;\n  y:=x 2;\n}", "4:8", "syntax error: expecting ; ! or ="},
        {"// model\r\ntable T{\r\n  y:=(x;\r\n}", "3:8", "expecting )"},
        {"// model\rtable T{\r  x:=1;\r}\rmaximized chart(U);", "5:17", "table not found"},
        {"\xEF\xBB\xBFmaximized $", "1:11", "invalid char"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string path = writeDocument("bad.qvl", row.text);
        Outcome outcome = run(runCheck, {path});
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, "qvl: " + path + ":" + row.where + ": " + row.message + "\n");
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(CommandTest, CheckSummarisesAGoodDocument) {
    std::string path = writeDocument("good.qvl", kModel);
    Outcome outcome = run(runCheck, {path});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out,
              path + ": 3 tables, 7 fields, 5 rows, 0 cells with errors, 0 tables with warnings\n");
    Outcome missing = run(runCheck, {testing::TempDir() + "missing.qvl"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "qvl: " + testing::TempDir() + "missing.qvl: can not open " +
                               testing::TempDir() + "missing.qvl: No such file or directory\n");
}

// A frame placed beyond the farthest a frame may stand is read at the
// limit; each such position is told on stderr with its place.
TEST(CommandTest, FarPositionsAreReadAtTheLimitWithAWarning) {
    struct Row {
        const char* text;
        const char* warnings;
        const char* written;
    } rows[] = {
        {"optimized(2147483647,0) text(\"x\");", "1:11",
         "optimized(1000000,0) text(\"x\");\n//--end"},
        {"table T{}\nfloating(3,\n 1e40) text(\"x\");", "3:2",
         "table T{\n}\noptimized(3,1000000) text(\"x\");\n//--end"},
        {"optimized(1000000,1000000) text(\"x\");", "",
         "optimized(1000000,1000000) text(\"x\");\n//--end"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string path = writeDocument("far.qvl", row.text);
        Outcome outcome = run(runFmt, {path});
        EXPECT_EQ(outcome.status, 0);
        std::string expected;
        if (*row.warnings != '\0') {
            expected = "qvl: " + path + ":" + row.warnings +
                       ": warning: position out of range, moved to 1000000\n";
        }
        EXPECT_EQ(outcome.err, expected);
        EXPECT_EQ(outcome.out.substr(0, outcome.out.rfind("//--end") + 7), row.written);
    }
}

// --strict fails on anything the document gets wrong, whatever kind.
TEST(CommandTest, CheckStrictFailsOnEveryKindOfFault) {
    struct Row {
        const char* what;
        const char* text;
        int strict;
    };
    const std::vector<Row> rows = {
        {"a good document", "table T{ x:=1! }", 0},
        {"an error cell", "table T{ x:=nothing! }", 1},
        {"a loop", "table T{ x:=y! y:=x! }", 1},
        {"a table warning", "table T extends Nowhere{ x:=1! }", 1},
        {"a position the reader moved", "table T{ x:=1! }\noptimized(3,1e40) text(\"x\");", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string path = writeDocument("strict.qvl", row.text);
        EXPECT_EQ(run(runCheck, {path}).status, 0);
        EXPECT_EQ(run(runCheck, {"--strict", path}).status, row.strict);
    }
}

TEST(CommandTest, EvalPrintsOneLinePerExpression) {
    std::string path = writeDocument("eval.qvl", kModel);
    Outcome plain = run(runEval, {path, "T[2].y", "1+2*3", "nothing", "\"a\" & 1", "-T[1].x"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out, "4\n7\nundefined: nothing\na1\n-1\n");
    Outcome typed = run(runEval, {"--typed", path, "T[2].y", "1 2", "U"});
    EXPECT_EQ(typed.out, "Double\t4\nWarning\tbad expression\nTableResult\tU\n");
}

TEST(CommandTest, ShowWritesEveryFormat) {
    std::string path = writeDocument("show.qvl", kModel);
    struct Row {
        ArgumentList arguments;
        const char* expected;
    } rows[] = {
        {{path, "T"}, "table T\n     x  y\n1    1  2\n2    2  4\n3    3  6\nsum  6  12\n"},
        {{"--format", "csv", path, "T"}, ",x,y\n1,1,2\n2,2,4\n3,3,6\nsum,6,12\n"},
        // Letters of several bytes take one column each.
        {{path, "V"},
         "table V\n     x  n    m\n1    1  \u00e9t\u00e9  1\n2    2  a    2\nsum  3       3\n"},
        {{"--format=tsv", "--all", path, "T"},
         "\tx\ty\th\nbase\t(range)\t(range)\t(range)"
         "\n1\t1\t2\t2\n2\t2\t4\t3\n3\t3\t6\t4\nsum\t6\t12\t9\n"},
        {{"--format", "json", path, "U"},
         "{\"tables\":[{\"name\":\"U\",\"warning\":null,\"fields\":[\"a\"],\"rows\":[{\"label\":"
         "\"sum\",\"key\":-1,\"cells\":[\"\"]}]}]}\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        Outcome outcome = run(runShow, row.arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, row.expected);
    }
}

TEST(CommandTest, UsageErrorsExitWithTwo) {
    std::string path = writeDocument("usage.qvl", kModel);
    struct Row {
        int (*command)(const ArgumentList&);
        ArgumentList arguments;
    } rows[] = {
        {runCheck, {}},
        {runCheck, {path, path}},
        {runEval, {path}},
        {runShow, {"--format", "xml", path}},
        {runShow, {"--format", "csv", path}},
        {runShow, {"--frobnicate", path}},
        {runFmt, {"--write", "-"}},
    };
    for (const Row& row : rows) {
        Outcome outcome = run(row.command, row.arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find("usage: qvl"), std::string::npos);
    }
    Outcome unknown = run(runShow, {path, "Nowhere"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "qvl: " + path + ": Nowhere: table not found\n");
}

TEST(CommandTest, FmtPrintsAndRewritesOnlyGoodDocuments) {
    std::string path = writeDocument("fmt.qvl", "table T{x:=1!}\r\nmaximized text(\"a\r\nb\");");
    Outcome printed = run(runFmt, {path});
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(printed.out, "table T{\n    x:=1!\n}\nmaximized text(\"a\\nb\");\n//--end\n");
    EXPECT_EQ(run(runFmt, {"--write", path}).status, 0);
    std::ifstream written(path, std::ios::binary);
    std::string disk((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    EXPECT_EQ(disk, "table T{\r\n    x:=1!\r\n}\r\nmaximized text(\"a\\nb\");\r\n//--end");
    // A document that does not read leaves its file untouched.
    std::string broken = writeDocument("broken.qvl", "table T{ x:=1 }");
    EXPECT_EQ(run(runFmt, {"--write", broken}).status, 1);
    std::ifstream kept(broken, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>()),
              "table T{ x:=1 }");
}

TEST(CommandTest, HelpIsPrintedForTheToolAndEachCommand) {
    for (auto command : {runCheck, runEval, runShow, runExplain, runFmt}) {
        Outcome outcome = run(command, {"--help"});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out.rfind("usage: qvl ", 0), 0u);
    }
}

}  // namespace
}  // namespace qv::cli
