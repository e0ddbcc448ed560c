// qvl explain and --why: the derivation of a value and the causes of
// errors as the shell sees them, in text and JSON, within their bounds;
// and every input they refuse, with its message.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

std::string examplePath(const std::string& name) {
    return std::string(QV_SOURCE_DIR) + "/examples/" + name;
}

// The loan example with a typo: the formula of rate names "yearly_rat".
std::string brokenLoan() {
    std::ifstream in(examplePath("loan.qvl"), std::ios::binary);
    std::string loan{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::size_t at = loan.find("yearly_rate/12");
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) loan.replace(at, 11, "yearly_rat");
    return writeDocument("broken-loan.qvl", loan);
}

// a is read twice; A.x and B.y read each other, B.z reads the loop.
const char* kSharedAndLoop =
    "table T{ a:=1! b:=a*2! c:=a+b! }\n"
    "table A{ x:=B.y+1! }\n"
    "table B{ y:=A.x*2! z:=y! }\n";

// A what-if that fails in its last row: the local table's cell where the
// error began is named by the call as written.
const char* kBrokenWhatIf =
    "table Savings{ rate:=0.03! year:=range 1 to 3! balance:=if row=1 then 100 else "
    "prev*(1+rate)! check:=if rate>0.05 then find(false) else balance! }\n"
    "table Compare{ r:=range 0.02 to 0.06 step 0.02! total:=Savings(rate := r)[3].check! "
    "doubled:=total*2! }\n";
const char* kWhatIfCause = "caused by Savings(rate := r)[3].check: not found";
const char* kWhatIfOrigin =
    "Savings(rate := r)[3].check := if rate>0.05 then find(false) else balance => not found  "
    "<- origin\n";

const char* kLoanPayment =
    "Loan[3].payment := principal*rate/(1-power(1+rate, -months)) => depends on cell that "
    "contain error\n"
    "caused by Loan.rate: undefined: yearly_rat\n";
const char* kLoanClosing =
    "Loan[3].closing := if row=1 then principal-repayment else prev-repayment => depends on "
    "cell that contain error\n"
    "caused by Loan.rate: undefined: yearly_rat\n";
const char* kClosingChain =
    "  Loan[2].closing := if row=1 then principal-repayment else prev-repayment => depends on "
    "cell that contain error\n"
    "    Loan[1].closing := if row=1 then principal-repayment else prev-repayment => depends "
    "on cell that contain error\n"
    "      Loan[1].principal := 200000 => 200000\n"
    "      Loan[1].repayment := payment-interest => depends on cell that contain error\n"
    "        Loan[1].payment := principal*rate/(1-power(1+rate, -months)) => depends on cell "
    "that contain error\n"
    "          Loan.principal := 200000 => 200000\n"
    "          Loan.rate := yearly_rat/12 => undefined: yearly_rat  <- origin\n";

TEST(ExplainCommandTest, ExplainsValuesAndErrorsOfDocuments) {
    std::string loan = examplePath("loan.qvl");
    std::string broken = brokenLoan();
    std::string shared = writeDocument("explain-shared.qvl", kSharedAndLoop);
    std::string whatIf = writeDocument("explain-whatif.qvl", kBrokenWhatIf);
    // Two what-ifs failing in different cells: s tries the first, fails by the second.
    std::string twoWhatIfs =
        writeDocument("explain-two-whatifs.qvl",
                      "table L{ a:=1! b:=find(false)! c:=b + a! e:=nosuch(a)! f:=e + 1! }\n"
                      "table w{ n:=range 1 to 1! u:=L(a:=2).f! v:=L(a:=3).c! s:=v + 1 alt u! }\n");
    struct Row {
        const char* what;
        ArgumentList arguments;
        std::string out;
    } rows[] = {
        {"an error that began in a what-if: the origin under the cell that asked it",
         {whatIf, "Compare[3].doubled"},
         "Compare[3].doubled := total*2 => depends on cell that contain error\n" +
             std::string(kWhatIfCause) +
             "\n"
             "  Compare[3].total := Savings(rate := r)[3].check => depends on cell that contain "
             "error\n"
             "    Compare[3].r := range 0.02 to 0.06 step 0.02 => 0.06\n"
             "    " +
             kWhatIfOrigin},
        {"of two what-ifs, the origin under the one it began in",
         {twoWhatIfs, "w[1].s"},
         "w[1].s := v + 1 alt u => depends on cell that contain error\n"
         "caused by L(a := 2).e: func unknown\n"
         "  w.v := L(a:=3).c => depends on cell that contain error\n"
         "  w.u := L(a:=2).f => depends on cell that contain error\n"
         "    L(a := 2).e := nosuch(a) => func unknown  <- origin\n"},
        {"the cell that asked the what-if, no deeper",
         {"--depth", "0", whatIf, "Compare[3].total"},
         "Compare[3].total := Savings(rate := r)[3].check => depends on cell that contain "
         "error\n" +
             std::string(kWhatIfCause) +
             "\n  Compare[3].r := range 0.02 to 0.06 step 0.02 => 0.06\n  " + kWhatIfOrigin},
        {"a value of an example, one level",
         {"--depth", "1", loan, "Loan[2].interest"},
         "Loan[2].interest := opening*rate => 745.0396193\n"
         "  Loan[2].opening := if row=1 then principal else closing[row-1] => 198677.2318\n"
         "  Loan[2].rate := yearly_rate/12 => 0.00375\n"},
        {"the example broken on purpose: the origin one level down",
         {broken, "Loan[3].payment"},
         std::string(kLoanPayment) +
             "  Loan.principal := 200000 => 200000\n"
             "  Loan.rate := yearly_rat/12 => undefined: yearly_rat  <- origin\n"},
        {"an origin deeper than the depth is reached all the same",
         {"--depth=0", broken, "Loan[3].closing"},
         std::string(kLoanClosing) + kClosingChain},
        {"the origin itself",
         {broken, "Loan.rate"},
         "Loan.rate := yearly_rat/12 => undefined: yearly_rat  <- origin\n"
         "caused by Loan.rate: undefined: yearly_rat\n"},
        {"an expression that is no cell",
         {"--depth", "1", broken, "Loan[3].payment * 2"},
         "Loan[3].payment * 2 => depends on cell that contain error\n"
         "caused by Loan.rate: undefined: yearly_rat\n"
         "  Loan[3].payment := principal*rate/(1-power(1+rate, -months)) => depends on cell "
         "that contain error\n"
         "    Loan.principal := 200000 => 200000\n"
         "    Loan.rate := yearly_rat/12 => undefined: yearly_rat  <- origin\n"},
        {"a cell read twice is unfolded once",
         {"--depth", "2", shared, "T.c"},
         "T.c := a+b => 3\n"
         "  T.a := 1 => 1\n"
         "  T.b := a*2 => 2\n"
         "    T.a (see above)\n"},
        {"a loop across tables ends where it comes round",
         {shared, "A.x"},
         "A.x := B.y+1 => (circular)\n"
         "cycle: A.x -> B.y -> A.x\n"
         "  B.y := A.x*2 => (circular)\n"
         "    A.x (see above)\n"},
        {"a cell outside the loop has the loop as its cause",
         {"--depth", "0", shared, "B.z"},
         "B.z := y => (circular)\n"
         "cycle: A.x -> B.y -> A.x\n"
         "  B.y := A.x*2 => (circular)\n"
         "    A.x := B.y+1 => (circular)\n"
         "      B.y (see above)\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Outcome outcome = run(runExplain, row.arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(outcome.out, row.out);
    }
}

// The lines of the text, the cause line and the "..." lines aside: one
// node each of the JSON tree.
std::size_t treeLines(const std::string& text, bool hasCause) {
    std::size_t lines = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        if (line.find_first_not_of(' ') == line.find("...") && line.ends_with("...")) {
            // left out
        } else {
            ++lines;
        }
        start = end + 1;
    }
    return hasCause ? lines - 1 : lines;
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(ExplainCommandTest, JsonTellsWhatTheTextTells) {
    std::string broken = brokenLoan();
    std::string shared = writeDocument("explain-json.qvl", kSharedAndLoop);
    std::string whatIf = writeDocument("explain-json-whatif.qvl", kBrokenWhatIf);
    struct Row {
        std::string file;
        std::string expression;
    } rows[] = {
        {examplePath("loan.qvl"), "Loan[sum].interest"},
        {examplePath("loan.qvl"), "Loan[119].closing"},
        {examplePath("prices.qvl"), "Books[1].gross"},
        {examplePath("scenarios.qvl"), "Growth[25].value"},
        {examplePath("statistics.qvl"), "Sales[3].moving"},
        {examplePath("statistics.qvl"), "Sales[sum].sorted"},
        {examplePath("whatif.qvl"), "Compare[2].after_fee"},
        {examplePath("lookup.qvl"), "Cities[2].capital_share"},
        {examplePath("lookup.qvl"), "Census[3].population * 2"},
        {broken, "Loan[120].closing"},
        {broken, "Loan[sum].payment"},
        {shared, "B.z"},
        {whatIf, "Compare[3].doubled"},
        {whatIf, "Compare[3].doubled + 1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expression);
        Outcome text = run(runExplain, {row.file, row.expression});
        Outcome json = run(runExplain, {"--format", "json", row.file, row.expression});
        ASSERT_EQ(text.status, 0) << text.err;
        ASSERT_EQ(json.status, 0) << json.err;
        EXPECT_TRUE(JsonValidator::isValid(json.out));
        bool hasCause = json.out.find("\"cause\":null") == std::string::npos;
        EXPECT_EQ(countOf(json.out, "{\"level\":"), treeLines(text.out, hasCause));
        bool leftOut = text.out.find("...\n") != std::string::npos;
        EXPECT_EQ(json.out.ends_with(leftOut ? "\"complete\":false}\n" : "\"complete\":true}\n"),
                  true);
        EXPECT_EQ(countOf(json.out, "\"mark\":\"origin\""), countOf(text.out, "  <- origin\n"));
        EXPECT_EQ(countOf(json.out, "\"mark\":\"see above\""), countOf(text.out, " (see above)\n"));
    }
    Outcome shown = run(runExplain, {"--format", "json", "--depth", "2", shared, "T.c"});
    EXPECT_EQ(shown.out,
              "{\"expression\":\"T.c\",\"cause\":null,\"tree\":["
              "{\"level\":0,\"name\":\"T.c\",\"formula\":\"a+b\",\"value\":\"3\",\"error\":false,"
              "\"mark\":null,\"unfolded\":true,\"more\":false},"
              "{\"level\":1,\"name\":\"T.a\",\"formula\":\"1\",\"value\":\"1\",\"error\":false,"
              "\"mark\":null,\"unfolded\":true,\"more\":false},"
              "{\"level\":1,\"name\":\"T.b\",\"formula\":\"a*2\",\"value\":\"2\",\"error\":false,"
              "\"mark\":null,\"unfolded\":true,\"more\":false},"
              "{\"level\":2,\"name\":\"T.a\",\"formula\":\"1\",\"value\":\"1\",\"error\":false,"
              "\"mark\":\"see above\",\"unfolded\":false,\"more\":false}],\"complete\":true}\n");
    Outcome loop = run(runExplain, {"--format=json", "--depth=0", shared, "A.x"});
    EXPECT_EQ(loop.out,
              "{\"expression\":\"A.x\",\"cause\":{\"kind\":\"cycle\",\"text\":\"cycle: A.x -> B.y "
              "-> A.x\",\"cells\":[{\"name\":\"A.x\",\"formula\":\"B.y+1\",\"value\":\"(circular)"
              "\",\"error\":true},{\"name\":\"B.y\",\"formula\":\"A.x*2\",\"value\":\"(circular)\","
              "\"error\":true}]},\"tree\":["
              "{\"level\":0,\"name\":\"A.x\",\"formula\":\"B.y+1\",\"value\":\"(circular)\","
              "\"error\":true,\"mark\":null,\"unfolded\":true,\"more\":false},"
              "{\"level\":1,\"name\":\"B.y\",\"formula\":\"A.x*2\",\"value\":\"(circular)\","
              "\"error\":true,\"mark\":null,\"unfolded\":true,\"more\":false},"
              "{\"level\":2,\"name\":\"A.x\",\"formula\":\"B.y+1\",\"value\":\"(circular)\","
              "\"error\":true,\"mark\":\"see above\",\"unfolded\":false,\"more\":false}],"
              "\"complete\":true}\n");
    // The origin in a what-if is no cell; it has a name, a formula and a value.
    Outcome local =
        run(runExplain, {"--format", "json", "--depth", "0", whatIf, "Compare[3].total"});
    const std::string origin =
        "{\"name\":\"Savings(rate := r)[3].check\",\"formula\":\"if rate>0.05 then find(false) "
        "else balance\",\"value\":\"not found\",\"error\":true";
    EXPECT_EQ(local.out,
              "{\"expression\":\"Compare[3].total\",\"cause\":{\"kind\":\"origin\",\"text\":\"" +
                  std::string(kWhatIfCause) + "\",\"cells\":[" + origin +
                  "}]},\"tree\":["
                  "{\"level\":0,\"name\":\"Compare[3].total\",\"formula\":\"Savings(rate := "
                  "r)[3].check\",\"value\":\"depends on cell that contain error\",\"error\":true,"
                  "\"mark\":null,\"unfolded\":true,\"more\":false},"
                  "{\"level\":1,\"name\":\"Compare[3].r\",\"formula\":\"range 0.02 to 0.06 step "
                  "0.02\",\"value\":\"0.06\",\"error\":false,\"mark\":null,\"unfolded\":false,"
                  "\"more\":false},"
                  "{\"level\":1," +
                  origin.substr(1) +
                  ",\"mark\":\"origin\",\"unfolded\":false,\"more\":false}],\"complete\":true}\n");
}

TEST(ExplainCommandTest, WhyAddsTheCauseAfterEachErrorValue) {
    std::string broken = brokenLoan();
    std::string shared = writeDocument("why-shared.qvl", kSharedAndLoop);
    std::string whatIf = writeDocument("why-whatif.qvl", kBrokenWhatIf);
    struct Row {
        const char* what;
        int (*command)(const ArgumentList&);
        ArgumentList arguments;
        std::string out;
    } rows[] = {
        {"eval: a value that depends on an error, a plain value, an error made by the expression",
         runEval,
         {"--why", broken, "Loan[3].payment", "Loan[1].opening", "nosuch"},
         "depends on cell that contain error\tcaused by Loan.rate: undefined: yearly_rat\n"
         "200000\n"
         "undefined: nosuch\tcaused by the expression: undefined: nosuch\n"},
        {"eval: with --typed",
         runEval,
         {"--typed", broken, "--why", "Loan[1].rate"},
         "Warning\tdepends on cell that contain error\tcaused by Loan.rate: undefined: "
         "yearly_rat\n"},
        {"eval: an error that began in a what-if, and a row where it did not fail",
         runEval,
         {"--why", whatIf, "Compare[3].doubled", "Compare[1].doubled"},
         "depends on cell that contain error\t" + std::string(kWhatIfCause) + "\n208.08\n"},
        {"check: the what-if's cell explains its readers",
         runCheck,
         {"--why", whatIf},
         "Compare: " + std::string(kWhatIfCause) + " (explains 2 of 2 cells with error values)\n" +
             whatIf +
             ": 2 tables, 7 fields, 6 rows, 2 cells with errors, 0 tables with warnings\n"},
        {"eval: a loop",
         runEval,
         {"--why", shared, "B.z", "T.c"},
         "(circular)\tcycle: A.x -> B.y -> A.x\n3\n"},
        {"check: one typo explains every error value of its table",
         runCheck,
         {"--why", broken},
         "Loan: caused by Loan.rate: undefined: yearly_rat (explains 722 of 722 cells with error "
         "values)\n" +
             broken +
             ": 1 tables, 10 fields, 120 rows, 722 cells with errors, 0 tables with warnings\n"},
        {"check: a loop across tables, in each of them",
         runCheck,
         {shared, "--why"},
         "A: cycle: A.x -> B.y -> A.x (explains 1 of 1 cells with error values)\n"
         "B: cycle: A.x -> B.y -> A.x (explains 2 of 2 cells with error values)\n" +
             shared +
             ": 3 tables, 6 fields, 0 rows, 3 cells with errors, 0 tables with warnings\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Outcome outcome = run(row.command, row.arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, row.out);
    }
    // A table's warning comes first, its cause after it.
    std::string warned = writeDocument(
        "why-warned.qvl", "table T extends Nowhere{ a:=1/nothing! }\ntable U{ b:=1! }\n");
    Outcome outcome = run(runCheck, {"--why", warned});
    EXPECT_EQ(outcome.out,
              "T: base table not found\n"
              "T: caused by T.a: undefined: nothing (explains 1 of 1 cells with error values)\n" +
                  warned +
                  ": 2 tables, 2 fields, 0 rows, 1 cells with errors, 1 tables with warnings\n");
    // --strict fails on error values with --why as without, a loop's
    // "(circular)" cells included.
    EXPECT_EQ(run(runCheck, {"--why", "--strict", broken}).status, 1);
    EXPECT_EQ(run(runCheck, {"--strict", shared}).status, 1);
}

// Columns of many rows: a summary lists at most 1000 of the cells it read,
// the tree at most 10000 cells; texts are cut at 1000 bytes.
TEST(ExplainCommandTest, BigValuesAreExplainedWithinBounds) {
    std::string columns;
    std::string sums;
    for (int i = 1; i <= 12; ++i) {
        columns += " a" + std::to_string(i) + ":=x!";
        sums += (i > 1 ? "+" : "") + std::string("Big[sum].a") + std::to_string(i);
    }
    std::string big = writeDocument(
        "explain-big.qvl", "table Big{ x:=range 1 to 2000!" + columns + " t:=concat(x)! }\n");
    Outcome summary = run(runExplain, {"--depth", "1", big, "Big[sum].a1"});
    ASSERT_EQ(summary.status, 0) << summary.err;
    EXPECT_EQ(countOf(summary.out, "\n  Big["), 1000u);
    EXPECT_TRUE(summary.out.ends_with("\n  ...\n")) << summary.out.substr(0, 200);
    Outcome json = run(runExplain, {"--format", "json", "--depth", "1", big, "Big[sum].a1"});
    EXPECT_TRUE(JsonValidator::isValid(json.out));
    EXPECT_NE(json.out.find("{\"level\":0,\"name\":\"Big[sum].a1\",\"formula\":null,"),
              std::string::npos);
    EXPECT_NE(json.out.find("\"unfolded\":true,\"more\":true}"), std::string::npos);
    EXPECT_TRUE(json.out.ends_with(",\"complete\":false}\n"));
    // Twelve sums of 2000 cells each, two levels deep.
    Outcome many = run(runExplain, {"--depth", "2", big, sums});
    ASSERT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(countOf(many.out, "\n  Big[") + countOf(many.out, "\n    Big["), 10000u);
    EXPECT_TRUE(many.out.ends_with("\n  ...\n"));
    EXPECT_LT(countOf(many.out, "\n"), 10000u + 30u);
    Outcome texts = run(runExplain, {"--depth", "0", big, "Big[3].t"});
    ASSERT_EQ(texts.status, 0) << texts.err;
    std::string start = "Big[3].t := concat(x) => 12345678910";
    EXPECT_EQ(texts.out.substr(0, start.size()), start);
    EXPECT_EQ(texts.out.size(), std::string("Big[3].t := concat(x) => ").size() + 1000 + 4);
    EXPECT_TRUE(texts.out.ends_with("...\n"));
}

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
        {runExplain, {path, "T[4].y"}, 1, "qvl: " + path + ": T[4].y: no such cell"},
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
