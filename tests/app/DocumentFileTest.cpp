// Document files: CR LF on disk and LF in the text, the read and write
// messages, and atomic writing that leaves the target as it was whenever
// writing fails — or when the document fails to read in the first place.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "app/DocumentFile.h"
#include "tests/app/AppTestSupport.h"

namespace qv {
namespace {

using test::fileBytes;
using test::messageOf;
using test::putFileBytes;
using test::ScratchFolder;

TEST(DocumentFileTest, LineEndsAreCrLfOnDiskAndLfInTheText) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"a\nb\n", "a\r\nb\r\n"},
        {"lone\rcr", "lone\rcr"},
        {"cr before lf\r\n", "cr before lf\r\r\n"},
        {"\n\n", "\r\n\r\n"},
        {"ends with cr\r", "ends with cr\r"},
        {"\rx\r\ny", "\rx\r\r\ny"},
    };
    for (const auto& [text, disk] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(toDiskLineEnds(text), disk);
        EXPECT_EQ(fromDiskLineEnds(disk), text);
    }
}

TEST(DocumentFileTest, ADocumentIsStoredWithCrLfAndReadsBack) {
    ScratchFolder folder;
    std::string path = folder.file("model.qvl");
    auto document = Document::read(str("table T{a:=1!} floating(3,4) text(\"one\\ntwo\");"));
    document->writeFile(path);
    EXPECT_EQ(fileBytes(path),
              "table T{\r\n    a:=1!\r\n}\r\noptimized(3,4) text(\"one\\ntwo\");\r\n//--end");
    auto again = Document::readFile(path);
    EXPECT_EQ(again->toSource()->toStdString(), document->toSource()->toStdString());
    EXPECT_EQ(readDocumentFile(path)->toStdString(), document->toSource()->toStdString());
    // Only the document is left in the folder: the temporary file is gone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(DocumentFileTest, ReadingFailuresNameThePathAndTheReason) {
    ScratchFolder folder;
    std::string missing = folder.file("missing.qvl");
    std::string directory = folder.path().string();
    std::string inFile = folder.file("plain.qvl/model.qvl");
    putFileBytes(folder.file("plain.qvl"), "x");
    const std::pair<std::string, std::string> cases[] = {
        {missing, "can not open " + missing + ": No such file or directory"},
        {directory, "can not read " + directory + ": Is a directory"},
        {inFile, "can not open " + inFile + ": Not a directory"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messageOf([&c] { readDocumentFile(c.first); }), c.second);
    if (::geteuid() == 0) return;  // permissions do not bind the superuser
    std::string locked = folder.file("locked.qvl");
    putFileBytes(locked, "table T{}");
    ASSERT_EQ(::chmod(locked.c_str(), 0200), 0);
    EXPECT_EQ(messageOf([&] { readDocumentFile(locked); }),
              "can not open " + locked + ": Permission denied");
}

TEST(DocumentFileTest, ReplacingKeepsThePermissionsOfTheTarget) {
    ScratchFolder folder;
    std::string path = folder.file("shared.qvl");
    putFileBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    writeDocumentFile(path, "new\n");
    EXPECT_EQ(fileBytes(path), "new\r\n");
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// A document saved under a new name gets what the umask allows, as any
// other new file of the user's.
TEST(DocumentFileTest, ANewDocumentFileTakesTheModeTheUmaskGives) {
    ScratchFolder folder;
    const std::pair<mode_t, mode_t> cases[] = {{022, 0644}, {077, 0600}, {007, 0660}};
    mode_t previous = ::umask(022);
    for (const auto& [mask, mode] : cases) {
        SCOPED_TRACE(mask);
        ::umask(mask);
        std::string path = folder.file("new-" + std::to_string(mask) + ".qvl");
        writeDocumentFile(path, "table T{}\n");
        EXPECT_EQ(fileBytes(path), "table T{}\r\n");
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, mode);
    }
    ::umask(previous);
}

TEST(DocumentFileTest, ReplacingKeepsTheOwnerAndGroupOfTheTarget) {
    if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give a file away";
    ScratchFolder folder;
    std::string path = folder.file("theirs.qvl");
    putFileBytes(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 4242, 4343), 0);
    ASSERT_EQ(::chmod(path.c_str(), 02751), 0);
    writeDocumentFile(path, "new");
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4242u);
    EXPECT_EQ(status.st_gid, 4343u);
    // Set after the owner: a change of owner would clear the set-group-ID bit.
    EXPECT_EQ(status.st_mode & 07777, 02751u);
}

TEST(DocumentFileTest, OnlyRegularFilesAreReplaced) {
    ScratchFolder folder;
    std::string fifo = folder.file("pipe.qvl");
    std::string directory = folder.file("folder.qvl");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(directory);
    std::filesystem::create_symlink(fifo, folder.file("to-pipe.qvl"));
    std::filesystem::create_symlink(directory, folder.file("to-folder.qvl"));
    for (const std::string& target :
         {fifo, directory, folder.file("to-pipe.qvl"), folder.file("to-folder.qvl")}) {
        SCOPED_TRACE(target);
        const std::string refusal = "can not write to " + target + ": not a regular file";
        EXPECT_EQ(messageOf([&] { requireRegularTarget(target); }), refusal);
        EXPECT_EQ(messageOf([&] { writeDocumentFile(target, "x"); }), refusal);
    }
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              4);
    // A regular file, a link to one and a new name pass.
    putFileBytes(folder.file("model.qvl"), "old");
    std::filesystem::create_symlink(folder.file("model.qvl"), folder.file("to-model.qvl"));
    for (const char* name : {"model.qvl", "to-model.qvl", "new.qvl"}) {
        EXPECT_EQ(messageOf([&] { requireRegularTarget(folder.file(name)); }), "(no error)");
    }
}

// Large texts are converted to CR LF and written a piece at a time; the
// pieces must join to the same bytes.
TEST(DocumentFileTest, ALargeTextIsWrittenWhole) {
    ScratchFolder folder;
    std::string path = folder.file("large.qvl");
    std::string text;
    for (int line = 0; text.size() < 3'500'000; ++line)
        text += "line " + std::to_string(line) + (line % 7 == 0 ? "\r" : "") + "\n";
    writeDocumentFile(path, text);
    EXPECT_EQ(fileBytes(path), toDiskLineEnds(text));
    EXPECT_EQ(readDocumentFile(path)->toStdString(), text);
}

// A file longer than the bound is refused from its size, before a byte of it
// is read (the file is sparse: it takes no room on the disk).
TEST(DocumentFileTest, AFileLongerThanTheBoundIsRefused) {
    ScratchFolder folder;
    std::string path = folder.file("huge.qvl");
    putFileBytes(path, "");
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(kMaxDocumentFileBytes) + 1);
    EXPECT_EQ(messageOf([&] { readDocumentFile(path); }),
              "can not read " + path + ": the document passes the limit of " +
                  std::to_string(kMaxDocumentFileBytes) + " bytes");
}

TEST(DocumentFileTest, WritingThroughALinkReplacesTheDocumentNotTheLink) {
    ScratchFolder folder;
    std::string real = folder.file("real.qvl");
    std::string link = folder.file("link.qvl");
    putFileBytes(real, "old");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    writeDocumentFile(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(fileBytes(real), "new");
}

TEST(DocumentFileTest, FailedWritesLeaveTheTargetUntouched) {
    ScratchFolder folder;
    // No folder to make the temporary file in.
    std::string inMissing = folder.file("missing/model.qvl");
    EXPECT_EQ(messageOf([&] { writeDocumentFile(inMissing, "x"); }),
              "can not open " + inMissing + ": No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
    // A target that is no document file: refused before anything is made.
    std::filesystem::create_directory(folder.file("taken.qvl"));
    std::string taken = folder.file("taken.qvl");
    EXPECT_EQ(messageOf([&] { writeDocumentFile(taken, "x"); }),
              "can not write to " + taken + ": not a regular file");
    EXPECT_TRUE(std::filesystem::is_directory(taken));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

// A real write that fails half way: the process may write no file past a
// few bytes (as a full disk would refuse them). The message says why, and
// the document on disk is the old one.
TEST(DocumentFileTest, AWriteTheSystemRefusesSaysWhyAndKeepsTheDocument) {
    ScratchFolder folder;
    std::string path = folder.file("model.qvl");
    putFileBytes(path, "old");
    struct rlimit before {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    // The signal would end the process; ignored, the write fails instead.
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string message = messageOf([&] { writeDocumentFile(path, std::string(4096, 'x')); });
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(message, "can not write to " + path + ": File too large");
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(DocumentFileTest, AReadOnlyFolderKeepsItsDocument) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    ScratchFolder folder;
    std::string path = folder.file("model.qvl");
    putFileBytes(path, "table T{}\r\n//--end");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0500), 0);
    EXPECT_EQ(messageOf([&] { writeDocumentFile(path, "new"); }),
              "can not open " + path + ": Permission denied");
    EXPECT_EQ(fileBytes(path), "table T{}\r\n//--end");
}

// Reading a broken document writes nothing: the caller only saves a
// document that was read.
TEST(DocumentFileTest, ADocumentThatFailsToReadChangesNoFile) {
    ScratchFolder folder;
    std::string path = folder.file("broken.qvl");
    const std::string bytes = "table T{a:=1!}\r\nmaximized text(oops);\r\n//--end";
    putFileBytes(path, bytes);
    EXPECT_EQ(messageOf([&] { Document::readFile(path); }), "expecing string");
    EXPECT_EQ(fileBytes(path), bytes);
}

}  // namespace
}  // namespace qv
