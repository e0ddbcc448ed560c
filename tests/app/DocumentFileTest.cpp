// Document files: CR LF on disk and LF in the text, the read and write
// messages, and atomic writing that leaves the target as it was whenever
// writing fails — or when the document fails to read in the first place.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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

TEST(DocumentFileTest, ReadingFailuresNameThePath) {
    ScratchFolder folder;
    std::string missing = folder.file("missing.qvl");
    EXPECT_EQ(messageOf([&] { readDocumentFile(missing); }), "can not open " + missing);
    std::string directory = folder.path().string();
    EXPECT_EQ(messageOf([&] { readDocumentFile(directory); }), "can not read " + directory);
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
    EXPECT_EQ(messageOf([&] { writeDocumentFile(inMissing, "x"); }), "can not open " + inMissing);
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
    // A target the rename cannot replace.
    std::filesystem::create_directory(folder.file("taken.qvl"));
    std::string taken = folder.file("taken.qvl");
    EXPECT_EQ(messageOf([&] { writeDocumentFile(taken, "x"); }), "can not write to " + taken);
    EXPECT_TRUE(std::filesystem::is_directory(taken));
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
    EXPECT_EQ(messageOf([&] { writeDocumentFile(path, "new"); }), "can not open " + path);
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
