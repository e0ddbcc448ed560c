// The files the program writes without a window (--screenshot and --chart),
// run as a process on the offscreen platform the way a script runs it: a
// write the system refuses half way (the file size limit) or a target that
// is no regular file ends with 1 and a message naming the file and the
// reason, and leaves the old file as it was with nothing beside it; a
// document that does not read is named with its place and no file is made.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/FailingWrites.h"
#include "tests/support/ScratchFolder.h"

namespace qv {
namespace {

using test::ChildOutcome;
using test::fileBytes;
using test::putFileBytes;
using test::runProgram;
using test::temporaryLeftovers;
using test::typeOf;

// Many points, so that every picture is far past the limit set below.
const char* const kDocument =
    "table P{\r\n    x:=range 1 to 300!\r\n    y:=x*x!\r\n    curve:=plot(x, y);\r\n}\r\n//--end";

// The program's own line in what it said (Qt may add warnings of its own).
std::string programLine(const std::string& said) {
    std::size_t at = said.find("quorvatelle: ");
    if (at == std::string::npos) return "(nothing said)";
    return said.substr(at, said.find('\n', at) - at);
}

ChildOutcome runQuorvatelle(const std::vector<std::string>& arguments, rlim_t fileSizeLimit = 0) {
    std::vector<std::string> command = {QV_PROGRAM_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runProgram(command, fileSizeLimit,
                      {"QT_QPA_PLATFORM=offscreen", "DISPLAY", "WAYLAND_DISPLAY"}, 60);
}

class ProgramFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        putFileBytes(document, kDocument);
    }
    std::string file(const char* name) const { return m_folder.filePath(name).toStdString(); }
    std::string folder() const { return m_folder.path().toStdString(); }

    QTemporaryDir m_folder;
    const std::string document = file("curve.qvl");
};

TEST_F(ProgramFiles, AWritePastTheFileSizeLimitKeepsTheOldFileAndFails) {
    const std::string screenshot = file("shot.png");
    const std::string png = file("chart.png");
    const std::string svg = file("chart.svg");
    const std::string examples = std::string(QV_SOURCE_DIR) + "/examples/prices.qvl";
    const struct {
        std::vector<std::string> arguments;
        std::string target;
    } cases[] = {
        {{"--screenshot", screenshot, examples}, screenshot},
        {{"--chart", png, document, "P"}, png},
        {{"--chart", svg, document, "P"}, svg},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        putFileBytes(c.target, "old picture");
        // Room for the message, not for any picture.
        ChildOutcome outcome = runQuorvatelle(c.arguments, 2048);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(programLine(outcome.said),
                  "quorvatelle: can not write to " + c.target + ": File too large");
        EXPECT_EQ(fileBytes(c.target), "old picture");
        EXPECT_TRUE(temporaryLeftovers(folder()).empty());
        // Without the limit the picture replaces the old file whole.
        ChildOutcome written = runQuorvatelle(c.arguments);
        EXPECT_EQ(written.status, 0) << written.said;
        std::string bytes = fileBytes(c.target);
        if (c.target.ends_with(".svg")) {
            EXPECT_TRUE(bytes.ends_with("</svg>\n"));
        } else {
            EXPECT_TRUE(bytes.ends_with(std::string("IEND\xae\x42\x60\x82", 8)));
            EXPECT_FALSE(QImage(QString::fromStdString(c.target)).isNull());
        }
    }
}

// Neither opened (a pipe would block) nor replaced nor removed.
TEST_F(ProgramFiles, WhatIsNotARegularFileIsNeverWrittenOver) {
    std::vector<std::string> targets;
    for (const char* name : {"pipe.png", "pipe.svg"}) {
        ASSERT_EQ(::mkfifo(file(name).c_str(), 0600), 0);
        targets.push_back(file(name));
    }
    ASSERT_EQ(::mkdir(file("folder.png").c_str(), 0700), 0);
    targets.push_back(file("folder.png"));
    // A device node of its own with the numbers of /dev/null.
    if (::mknod(file("null.png").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) {
        targets.push_back(file("null.png"));
        ASSERT_EQ(::symlink(file("null.png").c_str(), file("to-null.svg").c_str()), 0);
        targets.push_back(file("to-null.svg"));
    }
    ASSERT_EQ(::symlink(file("pipe.png").c_str(), file("to-pipe.png").c_str()), 0);
    targets.push_back(file("to-pipe.png"));
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        mode_t before = typeOf(target);
        std::vector<std::vector<std::string>> runs = {{"--chart", target, document, "P"}};
        if (target.ends_with(".png")) runs.push_back({"--screenshot", target, document});
        for (const auto& arguments : runs) {
            ChildOutcome outcome = runQuorvatelle(arguments);
            EXPECT_EQ(outcome.status, 1) << arguments[0];
            EXPECT_EQ(programLine(outcome.said),
                      "quorvatelle: can not write to " + target + ": not a regular file")
                << arguments[0];
            EXPECT_EQ(typeOf(target), before) << arguments[0];
        }
    }
    EXPECT_TRUE(temporaryLeftovers(folder()).empty());
}

// The reader's message, with the file and the place, and no file written.
TEST_F(ProgramFiles, ADocumentThatDoesNotReadIsNamedAndNothingIsWritten) {
    const std::string broken = file("broken.qvl");
    putFileBytes(broken, "table P{\r\n    x:=(1!\r\n}\r\n//--end");
    const std::string missing = file("missing.qvl");
    const struct {
        std::vector<std::string> arguments;
        std::string said;  // the start of the program's line
    } cases[] = {
        {{"--chart", file("out.png"), broken, "P"}, "quorvatelle: " + broken + ":2:"},
        {{"--chart", file("out.svg"), broken, "P"}, "quorvatelle: " + broken + ":2:"},
        {{"--chart", file("out.svg"), missing, "P"},
         "quorvatelle: " + missing + ": can not open " + missing + ": No such file or directory"},
        {{"--screenshot", file("out.png"), broken}, "quorvatelle: " + broken + ":2:"},
        {{"--screenshot", file("out.png"), missing},
         "quorvatelle: " + missing + ": can not open " + missing + ": No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        ChildOutcome outcome = runQuorvatelle(c.arguments);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(programLine(outcome.said).starts_with(c.said)) << outcome.said;
        EXPECT_FALSE(std::filesystem::exists(file("out.png")));
        EXPECT_FALSE(std::filesystem::exists(file("out.svg")));
    }
}

}  // namespace
}  // namespace qv
