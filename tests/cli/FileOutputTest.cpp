// What qvl writes to files, run as a child process the way a script runs
// it: a write the system refuses half way (the file size limit) or a target
// that is no regular file leaves the old file as it was and no temporary
// file beside it, and ends with 1 and a message that names the file and
// the reason.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/ToolProcess.h"
#include "tests/support/ScratchFolder.h"

namespace qv::cli {
namespace {

using test::fileText;
using test::putBytes;
using test::runToolInChild;
using test::ToolOutcome;
using test::ToolRun;

using qv::test::makeNonRegularTargets;
using qv::test::typeOf;
using Scratch = qv::test::ScratchFolder;

// A chart of many points and a long text: its SVG and the document as
// written are both far past the limit set below.
const std::string kDocument =
    "table Sales{\r\n    month:=range 1 to 300!\r\n    amount:=10*month!\r\n"
    "    trend:=plot(month, amount);\r\n}\r\noptimized(1,1) text(\"" +
    std::string(3000, 'x') + "\");\r\n//--end";

ToolRun limitedTo(rlim_t bytes) {
    ToolRun run;
    run.fileSize = bytes;
    run.seconds = 30;
    return run;
}

TEST(FileOutput, AWritePastTheFileSizeLimitKeepsTheOldFileAndFails) {
    Scratch scratch("qvl-output-");
    std::string document = scratch.file("sales.qvl");
    putBytes(document, kDocument);
    std::string chart = scratch.file("old.svg");
    putBytes(chart, "<svg>old</svg>");
    std::string link = scratch.file("link.svg");
    ASSERT_EQ(::symlink(chart.c_str(), link.c_str()), 0);
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        std::string target;  // the file that must stay as it was
        std::string named;   // the path the message names
    } cases[] = {
        {"chart", {"chart", document, "Sales", "-o", chart}, chart, chart},
        {"chart through a link", {"chart", document, "Sales", "-o", link}, chart, link},
        {"fmt --write", {"fmt", "--write", document}, document, document},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string before = fileText(c.target);
        // Room for the message, not for the new content.
        ToolOutcome outcome = runToolInChild(c.arguments, limitedTo(1024));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err,
                  "qvl: " + c.named + ": can not write to " + c.named + ": File too large\n");
        EXPECT_EQ(fileText(c.target), before);
        EXPECT_TRUE(qv::test::temporaryLeftovers(scratch.path()).empty());
    }
    // Without the limit the same commands replace the files.
    EXPECT_EQ(runToolInChild({"chart", document, "Sales", "-o", link}).status, 0);
    EXPECT_TRUE(fileText(chart).ends_with("</svg>\n"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

TEST(FileOutput, AReadOnlyFolderKeepsItsFilesAndSaysWhy) {
    if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
    Scratch scratch("qvl-output-");
    std::string document = scratch.file("sales.qvl");
    putBytes(document, kDocument);
    std::string chart = scratch.file("old.svg");
    putBytes(chart, "<svg>old</svg>");
    ASSERT_EQ(::chmod(scratch.path().c_str(), 0500), 0);
    const struct {
        std::vector<std::string> arguments;
        std::string target;
    } cases[] = {
        {{"chart", document, "Sales", "-o", chart}, chart},
        {{"fmt", "--write", document}, document},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        std::string before = fileText(c.target);
        ToolOutcome outcome = runToolInChild(c.arguments);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err,
                  "qvl: " + c.target + ": can not open " + c.target + ": Permission denied\n");
        EXPECT_EQ(fileText(c.target), before);
    }
    ::chmod(scratch.path().c_str(), 0700);
}

// A device or a pipe at -o is neither opened (a pipe would block) nor
// removed (the old chart command deleted what was there when writing failed).
TEST(FileOutput, AChartIsNeverWrittenOverWhatIsNotARegularFile) {
    Scratch scratch("qvl-output-");
    std::string document = scratch.file("sales.qvl");
    putBytes(document, kDocument);
    std::vector<std::string> targets = makeNonRegularTargets(scratch, ".svg");
    ASSERT_FALSE(targets.empty());
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        mode_t before = typeOf(target);
        ToolRun run;
        run.seconds = 20;
        ToolOutcome outcome = runToolInChild({"chart", document, "Sales", "-o", target}, run);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err,
                  "qvl: " + target + ": can not write to " + target + ": not a regular file\n");
        EXPECT_EQ(typeOf(target), before);
    }
    EXPECT_TRUE(qv::test::temporaryLeftovers(scratch.path()).empty());
}

}  // namespace
}  // namespace qv::cli
