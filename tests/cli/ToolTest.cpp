// qvl in a child process, as a shell runs it: output that cannot be
// written, standard input without end, memory that runs out, and fmt
// --write on files that are not documents or belong to someone else.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/DocumentFile.h"
#include "tests/cli/CommandTestSupport.h"
#include "tests/cli/ToolProcess.h"
#include "tests/support/ScratchFolder.h"

namespace qv::cli {
namespace {

using test::runToolInChild;
using test::ToolOutcome;
using test::ToolRun;
using test::writeDocument;

std::string joined(const ArgumentList& arguments) {
    std::string text;
    for (const std::string& argument : arguments)
        text += argument + " ";
    return text;
}

ToolRun inputFrom(const std::string& path) {
    ToolRun run;
    run.input = path;
    return run;
}

ToolRun outputTo(const std::string& path) {
    ToolRun run;
    run.output = path;
    return run;
}

ToolRun within(unsigned seconds) {
    ToolRun run;
    run.seconds = seconds;
    return run;
}

// Output to /dev/null and this many bytes of address space more.
ToolRun limitedTo(rlim_t bytes) {
    ToolRun run = outputTo("/dev/null");
    run.addressSpace = bytes;
    return run;
}

const char* kModel =
    "table T{ x:=range 1 to 3! y:=x*2! }\ntable C extends Nowhere{ z:=1! }\n"
    "optimized(10,20) result(T);\n//--end";

TEST(ToolTest, OutputThatCannotBeWrittenFailsEveryCommand) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    std::string path = writeDocument("full.qvl", kModel);
    const ArgumentList rows[] = {
        {"check", path},
        {"check", "--strict", path},
        {"eval", path, "T[2].y"},
        {"show", path},
        {"show", "--format", "json", path},
        {"show", "--format", "csv", path, "T"},
        {"fmt", path},
        {"show", "--help"},
        {"--help"},
    };
    for (const ArgumentList& arguments : rows) {
        SCOPED_TRACE(joined(arguments));
        ToolOutcome full = runToolInChild(arguments, outputTo("/dev/full"));
        EXPECT_EQ(full.status, 1);
        EXPECT_EQ(full.err, "qvl: can not write to standard output\n");
        // The same command writes its output when it can: the check is not
        // what made it fail.
        ToolOutcome written = runToolInChild(arguments);
        EXPECT_NE(written.out, "");
        EXPECT_EQ(written.err, "");
        EXPECT_EQ(written.status, arguments.size() > 2 && arguments[1] == "--strict" ? 1 : 0);
    }
}

TEST(ToolTest, StandardInputIsReadAndBounded) {
    std::string path = writeDocument("input.qvl", "table T{ x:=range 1 to 3! }\r\n//--end");
    ToolOutcome read = runToolInChild({"check", "-"}, inputFrom(path));
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out,
              "-: 1 tables, 1 fields, 3 rows, 0 cells with errors, 0 tables with "
              "warnings\n");
    // Without an end: reading stops once the bound is passed.
    ToolOutcome endless = runToolInChild({"check", "-"}, inputFrom("/dev/zero"));
    EXPECT_EQ(endless.status, 1);
    EXPECT_EQ(endless.err,
              "qvl: -: can not read standard input: the document passes the limit "
              "of " +
                  std::to_string(kMaxDocumentFileBytes) + " bytes\n");
    EXPECT_EQ(endless.out, "");
}

TEST(ToolTest, RunningOutOfMemoryEndsWithAMessage) {
#if defined(QV_TEST_SANITIZED)
    // AddressSanitizer reserves terabytes of shadow memory up front and
    // ignores the address-space limit this test relies on.
    GTEST_SKIP() << "the address-space limit does not bind under AddressSanitizer";
#endif
    // Hundreds of megabytes to compute and show; the child may take 48 more.
    std::string path =
        writeDocument("huge.qvl", "table T{ x:=range 1 to 3000000! y:=x*2! z:=\"abc\"&x! }\n");
    const ArgumentList rows[] = {
        {"check", path},
        {"show", path},
        {"show", "--format", "json", path},
        {"eval", path, "sum(T.z)"},
    };
    for (const ArgumentList& arguments : rows) {
        SCOPED_TRACE(joined(arguments));
        ToolOutcome outcome = runToolInChild(arguments, limitedTo(48 << 20));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, "qvl: out of memory\n");
    }
}

using qv::test::makeNonRegularTargets;
using qv::test::typeOf;
using Scratch = qv::test::ScratchFolder;

TEST(ToolTest, FmtWriteRefusesWhatIsNotARegularFile) {
    Scratch scratch("qvl-write-");
    std::vector<std::string> targets = makeNonRegularTargets(scratch, ".qvl");
    ASSERT_FALSE(targets.empty());
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        mode_t before = typeOf(target);
        // A pipe that were read would wait for a writer: the alarm ends that.
        ToolOutcome outcome = runToolInChild({"fmt", "--write", target}, within(20));
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err,
                  "qvl: " + target + ": can not write to " + target + ": not a regular file\n");
        EXPECT_EQ(typeOf(target), before);
    }
    EXPECT_EQ(scratch.entries(), static_cast<std::ptrdiff_t>(targets.size()));
}

TEST(ToolTest, FmtWriteKeepsOwnerGroupAndPermissions) {
    Scratch scratch("qvl-write-");
    std::string path = scratch.file("owned.qvl");
    test::putBytes(path, "table T{x:=1!}\r\n//--end");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    bool root = ::geteuid() == 0;
    // Only the superuser can hand a file to another user.
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 12345, 23456), 0);
    }
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ToolOutcome outcome = runToolInChild({"fmt", "--write", path});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(test::fileText(path), "table T{\r\n    x:=1!\r\n}\r\n//--end");
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not rewritten in place
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    if (!root) GTEST_SKIP() << "owner kept only checked for a file of this user";
}

}  // namespace
}  // namespace qv::cli
