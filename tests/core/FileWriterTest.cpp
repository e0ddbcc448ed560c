// The one file writer: the mode of a new file and of a replaced one, targets
// that are not regular files refused untouched, and real writes that fail
// (a file size limit, a full disk, a missing or read-only folder) leaving
// the target as it was with no temporary file beside it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/FileWriter.h"
#include "tests/core/CoreTestSupport.h"
#include "tests/support/FailingWrites.h"
#include "tests/support/ScratchFolder.h"

namespace qv {
namespace {

using test::fileBytes;
using test::makeNonRegularTargets;
using test::modeOf;
using test::putFileBytes;
using test::runInChild;
using test::ScratchFolder;
using test::temporaryLeftovers;
using test::thrownMessage;
using test::typeOf;

// A content larger than any limit the failing cases set.
std::string largeContent() {
    std::string content;
    for (int line = 0; content.size() < 200'000; ++line)
        content += "line " + std::to_string(line) + "\n";
    return content;
}

TEST(FileWriter, WritesTheBytesWholeAndLeavesNothingElse) {
    ScratchFolder scratch("qv-writer-");
    const std::string content = largeContent();
    const struct {
        const char* name;
        std::string before;  // empty: no file yet
        std::string bytes;
    } cases[] = {
        {"new.txt", "", "fresh"},
        {"empty.txt", "old", ""},
        {"large.txt", "old", content},
        {"shrunk.txt", content, "short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = scratch.file(c.name);
        if (!c.before.empty()) putFileBytes(path, c.before);
        writeFileWhole(path, c.bytes);
        EXPECT_EQ(fileBytes(path), c.bytes);
    }
    EXPECT_EQ(scratch.entries(), 4);
    EXPECT_TRUE(temporaryLeftovers(scratch.path()).empty());
}

TEST(FileWriter, PiecesJoinInOrder) {
    ScratchFolder scratch("qv-writer-");
    std::string path = scratch.file("pieces.txt");
    writeFileInPieces(path, [](const FilePieceSink& put) {
        for (const char* piece : {"one ", "", "two ", "three"})
            EXPECT_TRUE(put(piece));
    });
    EXPECT_EQ(fileBytes(path), "one two three");
}

TEST(FileWriter, ANewFileGetsTheModeTheUmaskGives) {
    ScratchFolder scratch("qv-writer-");
    const struct {
        mode_t umask;
        mode_t mode;
    } cases[] = {{022, 0644}, {077, 0600}, {002, 0664}, {0, 0666}, {0277, 0400}};
    mode_t previous = ::umask(022);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.umask);
        ::umask(c.umask);
        std::string path = scratch.file("new-" + std::to_string(c.umask));
        writeFileWhole(path, "x");
        EXPECT_EQ(modeOf(path), c.mode);
    }
    ::umask(previous);
}

TEST(FileWriter, AReplacedFileKeepsItsModeWhateverTheUmask) {
    ScratchFolder scratch("qv-writer-");
    mode_t previous = ::umask(077);
    for (mode_t mode : {0640, 0755, 0444, 0666, 0604}) {
        SCOPED_TRACE(mode);
        std::string path = scratch.file("kept-" + std::to_string(mode));
        putFileBytes(path, "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        writeFileWhole(path, "new");
        EXPECT_EQ(fileBytes(path), "new");
        EXPECT_EQ(modeOf(path), mode);
    }
    ::umask(previous);
}

// Each write runs in a child with an alarm: opening a pipe would wait for a
// reader for ever.
TEST(FileWriter, TargetsThatAreNotRegularFilesAreRefusedUntouched) {
    ScratchFolder scratch("qv-writer-");
    std::vector<std::string> targets = makeNonRegularTargets(scratch, "");
    ASSERT_FALSE(targets.empty());
    std::string fifo = targets.front();
    std::ptrdiff_t entries = scratch.entries();
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        mode_t before = typeOf(target);
        test::ChildOutcome outcome = runInChild(
            [&target](int say) {
                std::string message = thrownMessage([&] { writeFileWhole(target, "x"); });
                return ::write(say, message.data(), message.size()) < 0 ? 2 : 0;
            },
            10);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.said, "can not write to " + target + ": not a regular file");
        EXPECT_EQ(thrownMessage([&] { requireRegularTarget(target); }),
                  "can not write to " + target + ": not a regular file");
        EXPECT_EQ(typeOf(target), before);
    }
    EXPECT_EQ(scratch.entries(), entries);
    EXPECT_EQ(typeOf(fifo), static_cast<mode_t>(S_IFIFO));
    // A regular file, a link to one and a new name pass.
    putFileBytes(scratch.file("plain"), "old");
    ASSERT_EQ(::symlink(scratch.file("plain").c_str(), scratch.file("to-plain").c_str()), 0);
    for (const char* name : {"plain", "to-plain", "new"})
        EXPECT_EQ(thrownMessage([&] { requireRegularTarget(scratch.file(name)); }),
                  "<nothing thrown>");
}

// What a child that wrote `content` over a file holding "old" reports: the
// message, whether the old bytes are still there, and what lies beside.
std::string failedWriteReport(const std::string& path, const std::string& content) {
    std::string message = thrownMessage([&] { writeFileWhole(path, content); });
    std::string kept =
        fileBytes(path) == "old" ? "kept" : "changed to " + fileBytes(path).substr(0, 20);
    std::string leftovers;
    for (const std::string& name : temporaryLeftovers(std::filesystem::path(path).parent_path()))
        leftovers += " " + name;
    return message + "|" + kept + "|" + leftovers;
}

int say(int descriptor, const std::string& text) {
    return ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0
                                                                                              : 2;
}

TEST(FileWriter, AWritePastTheFileSizeLimitKeepsTheOldFile) {
    ScratchFolder scratch("qv-writer-");
    const std::string content = largeContent();
    const struct {
        const char* what;
        rlim_t limit;
        std::string path;
    } cases[] = {
        {"a few bytes", 16, scratch.file("small-limit.txt")},
        {"most of the content", 150'000, scratch.file("large-limit.txt")},
        {"through a link", 16, scratch.file("link.txt")},
    };
    putFileBytes(scratch.file("target.txt"), "old");
    ASSERT_EQ(::symlink(scratch.file("target.txt").c_str(), scratch.file("link.txt").c_str()), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!std::filesystem::is_symlink(c.path)) putFileBytes(c.path, "old");
        test::ChildOutcome outcome = runInChild([&](int descriptor) {
            if (!test::limitFileSize(c.limit)) return 3;
            return say(descriptor, failedWriteReport(c.path, content));
        });
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.said, "can not write to " + c.path + ": File too large|kept|");
        EXPECT_EQ(fileBytes(c.path), "old");
    }
    EXPECT_TRUE(temporaryLeftovers(scratch.path()).empty());
}

// A file system of 64 KiB filled to the last byte: the temporary file is
// made, its writing fails.
TEST(FileWriter, AWriteToAFullDiskKeepsTheOldFile) {
    ScratchFolder scratch("qv-writer-");
    std::string disk = scratch.file("disk");
    ASSERT_EQ(::mkdir(disk.c_str(), 0700), 0);
    std::string path = disk + "/model.txt";
    test::ChildOutcome outcome = runInChild([&](int descriptor) {
        if (!test::mountSmallDisk(disk, 64 * 1024)) return 77;
        putFileBytes(path, "old");
        test::fillDisk(disk + "/filler");
        return say(descriptor, failedWriteReport(path, largeContent()));
    });
    if (outcome.status == 77) GTEST_SKIP() << "this system lets no test mount a small disk";
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.said, "can not write to " + path + ": No space left on device|kept|");
}

TEST(FileWriter, AFolderThatCanNotTakeTheFileSaysWhy) {
    ScratchFolder scratch("qv-writer-");
    std::string missing = scratch.file("missing/model.txt");
    EXPECT_EQ(thrownMessage([&] { writeFileWhole(missing, "x"); }),
              "can not open " + missing + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(scratch.file("missing")));
    if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
    std::string locked = scratch.file("locked");
    ASSERT_EQ(::mkdir(locked.c_str(), 0700), 0);
    std::string path = locked + "/model.txt";
    putFileBytes(path, "old");
    ASSERT_EQ(::chmod(locked.c_str(), 0500), 0);
    EXPECT_EQ(thrownMessage([&] { writeFileWhole(path, "new"); }),
              "can not open " + path + ": Permission denied");
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_TRUE(temporaryLeftovers(locked).empty());
}

// After a failed piece the producer is told to stop, and the file is kept.
TEST(FileWriter, AFailedPieceStopsTheProducer) {
    ScratchFolder scratch("qv-writer-");
    std::string path = scratch.file("pieces.txt");
    putFileBytes(path, "old");
    test::ChildOutcome outcome = runInChild([&](int descriptor) {
        if (!test::limitFileSize(1000)) return 3;
        int offered = 0;
        std::string message = thrownMessage([&] {
            writeFileInPieces(path, [&offered](const FilePieceSink& put) {
                std::string piece(400, 'p');
                while (offered < 100 && put(piece))
                    ++offered;
            });
        });
        return say(descriptor, std::to_string(offered) + " " + message);
    });
    EXPECT_EQ(outcome.status, 0);
    // 400 + 400 bytes fit, the third piece passes the limit.
    EXPECT_EQ(outcome.said, "2 can not write to " + path + ": File too large");
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_TRUE(temporaryLeftovers(scratch.path()).empty());
}

}  // namespace
}  // namespace qv
