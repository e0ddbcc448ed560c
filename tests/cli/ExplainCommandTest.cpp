// qvl explain and --why: the derivation of a value and the causes of
// errors as the shell sees them, in text and JSON, within their bounds;
// and every input they refuse, with its message.
#include <gtest/gtest.h>

#include <string>

#include "cli/Commands.h"
#include "tests/cli/CommandTestSupport.h"
#include "tests/cli/JsonValidator.h"

namespace qv::cli {
namespace {

using test::JsonValidator;
using test::Outcome;
using test::run;
using test::writeDocument;

const char* kSmallModel = "table T{ x:=range 1 to 3! y:=x*2! }\n";

TEST(ExplainCommandTest, BadInputsAreRefusedWithAMessage) {
    std::string path = writeDocument("explain-bad.qvl", kSmallModel);
    std::string missing = ::testing::TempDir() + "explain-missing.qvl";
    struct Row {
        int (*command)(const ArgumentList&);
        ArgumentList arguments;
        int status;
        std::string firstErrorLine;
    } rows[] = {
        {runExplain, {}, 2, "qvl: explain takes FILE and EXPR"},
        {runExplain, {path}, 2, "qvl: explain takes FILE and EXPR"},
        {runExplain, {path, "T.y", "T.x"}, 2, "qvl: explain takes FILE and EXPR"},
        {runExplain,
         {"--depth", "x", path, "T.y"},
         2,
         "qvl: --depth needs a whole number from 0 to 64, not x"},
        {runExplain,
         {"--depth=65", path, "T.y"},
         2,
         "qvl: --depth needs a whole number from 0 to 64, not 65"},
        {runExplain,
         {"--depth=-1", path, "T.y"},
         2,
         "qvl: --depth needs a whole number from 0 to 64, not -1"},
        {runExplain,
         {"--depth=99999999999", path, "T.y"},
         2,
         "qvl: --depth needs a whole number from 0 to 64, not 99999999999"},
        {runExplain,
         {"--depth=", path, "T.y"},
         2,
         "qvl: --depth needs a whole number from 0 to 64, not "},
        {runExplain, {path, "T.y", "--depth"}, 2, "qvl: --depth needs a number of levels"},
        {runExplain, {"--format", "csv", path, "T.y"}, 2, "qvl: unknown format csv"},
        {runExplain, {"--format"}, 2, "qvl: --format needs a value"},
        {runExplain,
         {"--time-limit", "0", path, "T.y"},
         2,
         "qvl: --time-limit needs a number of seconds above 0, not 0"},
        {runExplain, {"--why", path, "T.y"}, 2, "qvl: unknown option --why"},
        {runExplain, {"--all", path, "T.y"}, 2, "qvl: unknown option --all"},
        {runShow, {"--why", path}, 2, "qvl: unknown option --why"},
        {runShow, {"--depth", "2", path}, 2, "qvl: unknown option --depth"},
        {runExplain,
         {path, "1+("},
         2,
         "qvl: bad expression '1+(': Invalid formula: expecting expression in parentasis"},
        {runExplain,
         {path, "(\x1b[2J"},
         2,
         "qvl: bad expression '(\\x1b[2J': Invalid formula: invalid char"},
        {runExplain, {path, " "}, 2, "qvl: explain needs an expression, not a blank"},
        {runExplain,
         {missing, "1"},
         1,
         "qvl: " + missing + ": can not open " + missing + ": No such file or directory"},
    };
    for (const Row& row : rows) {
        std::string arguments;
        for (const std::string& argument : row.arguments)
            arguments += " [" + argument + "]";
        SCOPED_TRACE(arguments);
        Outcome outcome = run(row.command, row.arguments);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')), row.firstErrorLine);
        EXPECT_EQ(outcome.out, "");
        // A usage error says how the command is used; other failures do not.
        bool usage = outcome.err.find("\nusage: qvl") != std::string::npos;
        EXPECT_EQ(usage,
                  row.status == 2 && row.firstErrorLine.find("expression") == std::string::npos);
    }
}

}  // namespace
}  // namespace qv::cli
