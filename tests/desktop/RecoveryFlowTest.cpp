// Recovery copies and the file on disk, through the document flow on the
// headless window: a clock the test steps, the window's timer fired by the
// test, the fake watcher, and scripted answers. After each step the copy
// writer is waited for, so the folder shows what the program left.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "desktop/FileFingerprint.h"
#include "desktop/RecoveryStore.h"
#include "desktop/RecoveryWriter.h"
#include "tests/desktop/FlowTestSupport.h"

namespace qv {
namespace {

using test::fileBytes;
using test::putFileBytes;
using toolkit::Answer;

constexpr const char* kSavedText = "table Saved{\n    a:=1!\n}\n//--end";
constexpr const char* kCopyText = "table Recovered{\n    b:=2!\n}\n//--end";
constexpr const char* kOtherText = "table Other{\n    c:=3!\n}\n//--end";

struct RecoveryFixture : test::FlowFixture {
    void startWithRecovery(const std::string& startupPath) {
        flowSlot.emplace(window, host, startupPath);
        flow().enableRecovery(copies, [this] { return now; });
        flow().start();
        window.deliverPosted();
    }
    // A change as the user makes one: a command, then the panel's after-event.
    void change() {
        host.executeCommand("edit");
        flow().afterEvent();
        window.deliverPosted();
        settle();
    }
    void tick() {
        flow().recoveryTimer();
        settle();
    }
    void settle() { flow().recovery()->writer().waitIdle(); }
    // The copies (.qvl) in the recovery folder.
    std::vector<std::string> copyFiles() const {
        std::vector<std::string> found;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(copies, error))
            if (entry.path().extension() == ".qvl") found.push_back(entry.path().string());
        return found;
    }
    // Leaves a copy as a crashed session would: the document and its record.
    void leaveCopy(const std::string& name, std::string_view bytes,
                   std::optional<std::string> original) {
        std::filesystem::create_directories(copies);
        putFileBytes(copies + "/" + name + ".qvl", bytes);
        putFileBytes(copies + "/" + name + ".info", recoveryRecordText({original, 1}));
        // Newer than the saved file, whatever the file system's clock
        // granularity (the copy may be replaced by something else later).
        if (original && std::filesystem::exists(*original)) {
            std::filesystem::last_write_time(
                copies + "/" + name + ".qvl",
                std::filesystem::last_write_time(*original) + std::chrono::hours(1));
        }
    }

    std::string copies = folder.file("state/quorvatelle");
    std::string saved = folder.file("saved.qvl");
    std::int64_t now = 0;
};

// ---- when copies are written

TEST(RecoverySchedule, CopiesFollowChangesTheTimerAndQuietMinutes) {
    // c: a change; t: the half-minute timer; q: a quiet minute passes.
    struct Case {
        const char* steps;
        int written;
    };
    const Case cases[] = {
        {"", 0},   {"t", 0},   {"tt", 0},   {"c", 0},     {"ct", 1},  {"ctt", 1},  {"ctct", 2},
        {"qc", 1}, {"qct", 1}, {"qcqc", 2}, {"ctqct", 2}, {"cqc", 1}, {"cqct", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.startWithRecovery(f.saved);
        for (const char* step = c.steps; *step != '\0'; ++step) {
            if (*step == 'c') f.change();
            if (*step == 't') f.tick();
            if (*step == 'q') f.now += DocumentRecovery::kQuietMs;
        }
        EXPECT_EQ(f.flow().recovery()->copiesWritten(), c.written);
        EXPECT_EQ(f.copyFiles().size(), c.written > 0 ? 1u : 0u);
        EXPECT_EQ(f.window.timerRunning(DocumentRecovery::kTimerId),
                  std::string_view(c.steps).find('c') != std::string_view::npos);
    }
}

// The copy is the document as a save would write it, with a record naming
// the file (or none), never beside the user's file; the folder is private.
TEST(RecoverySchedule, TheCopyIsTheDocumentWithItsRecordInAPrivateFolder) {
    for (bool titled : {true, false}) {
        SCOPED_TRACE(titled);
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.startWithRecovery(titled ? f.saved : "");
        f.change();
        f.tick();
        const RecoveryCopy& copy = f.flow().recovery()->sessionCopy();
        EXPECT_EQ(fileBytes(copy.copyPath), toDiskLineEnds(f.host.text()));
        std::optional<RecoveryRecord> record = parseRecoveryRecord(fileBytes(copy.recordPath));
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->original, titled ? std::optional(f.saved) : std::nullopt);
        EXPECT_EQ(test::modeOf(f.copies) & 0777, 0700u);
        EXPECT_EQ(fileBytes(f.saved), toDiskLineEnds(kSavedText));
        // Nothing beside the user's file: only it and the state folder.
        EXPECT_EQ(f.folder.entries(), 2);
    }
}

// However the user named the file, the record names it absolutely, so that
// the next start finds the copy from any folder.
TEST(RecoverySchedule, TheRecordNamesTheFileAbsolutely) {
    RecoveryFixture f;
    putFileBytes(f.saved, toDiskLineEnds(kSavedText));
    struct WorkingFolder {
        std::filesystem::path before = std::filesystem::current_path();
        ~WorkingFolder() { std::filesystem::current_path(before); }
    } restored;
    std::filesystem::create_directory(f.folder.path() / "sub");
    std::filesystem::current_path(f.folder.path());
    f.startWithRecovery("./sub/../saved.qvl");
    ASSERT_EQ(f.path(), "./sub/../saved.qvl");
    f.change();
    f.tick();
    std::optional<RecoveryRecord> record =
        parseRecoveryRecord(fileBytes(f.flow().recovery()->sessionCopy().recordPath));
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->original, std::optional(f.saved));
}

// Saving, or leaving the document on purpose, removes the copy; cancelling
// keeps it.
TEST(RecoverySchedule, TheCopyGoesWithASaveOrADeliberateEnd) {
    struct Case {
        const char* name;
        void (DocumentFlow::*command)();
        std::vector<Answer> answers;
        bool kept;
    };
    const Case cases[] = {
        {"save", &DocumentFlow::save, {}, false},
        {"exit, saved", &DocumentFlow::exit, {Answer::Yes}, false},
        {"exit, not saved", &DocumentFlow::exit, {Answer::No}, false},
        {"exit, cancelled", &DocumentFlow::exit, {Answer::Cancel}, true},
        {"new, not saved", &DocumentFlow::newDocument, {Answer::No}, false},
        {"new, cancelled", &DocumentFlow::newDocument, {Answer::Cancel}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.startWithRecovery(f.saved);
        f.change();
        f.tick();
        ASSERT_EQ(f.copyFiles().size(), 1u);
        for (Answer answer : c.answers)
            f.window.scriptAnswer(answer);
        f.run(c.command);
        f.settle();
        EXPECT_EQ(f.copyFiles().size(), c.kept ? 1u : 0u);
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    }
}

// A large document's text is made in slices of the slice timer: the copy
// is the document as it was when the text was begun, and a save or a
// deliberate end while the slices run leaves no copy behind.
TEST(RecoverySchedule, ALargeCopysTextIsMadeInSlices) {
    struct Case {
        const char* name;
        bool savedMeanwhile;
    };
    for (const Case& c : {Case{"slices run out", false}, Case{"saved meanwhile", true}}) {
        SCOPED_TRACE(c.name);
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.startWithRecovery(f.saved);
        f.host.recoverySlices = 3;
        f.change();
        f.tick();
        const std::string begun = f.host.text();
        EXPECT_TRUE(f.flow().recovery()->isMakingText());
        EXPECT_TRUE(f.window.timerRunning(DocumentRecovery::kSliceTimerId));
        EXPECT_TRUE(f.copyFiles().empty());
        // A tick while the text is made does not begin another.
        f.tick();
        f.host.executeCommand("later edit");
        if (c.savedMeanwhile) f.run(&DocumentFlow::save);
        for (int slice = 0; slice < 2; ++slice)
            f.flow().recoverySlice();
        f.settle();
        EXPECT_FALSE(f.flow().recovery()->isMakingText());
        EXPECT_FALSE(f.window.timerRunning(DocumentRecovery::kSliceTimerId));
        if (c.savedMeanwhile) {
            EXPECT_TRUE(f.copyFiles().empty());
            continue;
        }
        ASSERT_EQ(f.copyFiles().size(), 1u);
        const std::string copyPath = f.flow().recovery()->sessionCopy().copyPath;
        EXPECT_EQ(fileBytes(copyPath), toDiskLineEnds(begun));
        // The edit made meanwhile is in the next copy.
        f.host.recoverySlices = 1;
        f.tick();
        EXPECT_EQ(fileBytes(copyPath), toDiskLineEnds(f.host.text()));
    }
}

// ---- the offer at start

TEST(RecoveryOffer, RecoverOpenTheSavedFileOrDecideLater) {
    struct Case {
        Answer answer;
        const char* document;  // the first table's name
        bool modified;
        int copiesLeft;  // the crashed session's copy, or this session's
    };
    const Case cases[] = {
        {Answer::Yes, "Recovered", true, 1},
        {Answer::No, "Saved", false, 0},
        {Answer::Cancel, "Saved", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.leaveCopy("crashed", toDiskLineEnds(kCopyText), f.saved);
        f.window.scriptAnswer(c.answer);
        f.startWithRecovery(f.saved);
        f.settle();
        ASSERT_EQ(f.window.dialogs().size(), 1u) << f.window.dialogs().back();
        EXPECT_TRUE(f.window.dialogs()[0].starts_with("recover: " + f.saved + " has a recovery"));
        EXPECT_EQ(f.host.text().substr(6, std::string_view(c.document).size()), c.document);
        EXPECT_EQ(f.path(), f.saved);
        EXPECT_EQ(f.flow().isModified(), c.modified);
        EXPECT_EQ(f.window.title().find('*') != std::string::npos, c.modified);
        std::vector<std::string> left = f.copyFiles();
        EXPECT_EQ(static_cast<int>(left.size()), c.copiesLeft);
        bool crashedKept = std::filesystem::exists(f.copies + "/crashed.qvl");
        EXPECT_EQ(crashedKept, c.answer == Answer::Cancel);
        // A window that recovered holds the lock of its own copy.
        EXPECT_EQ(heldByOpenWindow(f.flow().recovery()->sessionCopy()), c.answer == Answer::Yes);
        // The saved file is never touched by the offer.
        EXPECT_EQ(fileBytes(f.saved), toDiskLineEnds(kSavedText));
    }
}

// Only a copy of this document, and newer than its file, is offered; an
// unsaved new document takes the copies that name no file.
TEST(RecoveryOffer, OnlyANewerCopyOfThisDocumentIsOffered) {
    struct Case {
        const char* name;
        bool titledStart;
        bool copyNamesTheFile;
        bool copyOlder;
        bool offered;
    };
    const Case cases[] = {
        {"newer copy of the file", true, true, false, true},
        {"older copy of the file", true, true, true, false},
        {"copy of an unsaved document, file opened", true, false, false, false},
        {"copy of an unsaved document, no file", false, false, false, true},
        {"copy of a file, no file opened", false, true, false, false},
        {"copy of a window still open", true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.leaveCopy("crashed", toDiskLineEnds(kCopyText),
                    c.copyNamesTheFile ? std::optional(f.saved) : std::nullopt);
        if (c.copyOlder) {
            std::filesystem::last_write_time(
                f.copies + "/crashed.qvl",
                std::filesystem::last_write_time(f.saved) - std::chrono::hours(1));
        }
        // The other window holds its lock while it runs.
        std::optional<SessionLock> open;
        if (std::string_view(c.name) == "copy of a window still open") {
            open.emplace(f.copies + "/crashed.lock");
            ASSERT_TRUE(open->held());
        }
        if (c.offered) f.window.scriptAnswer(Answer::Cancel);
        f.startWithRecovery(c.titledStart ? f.saved : "");
        bool asked = !f.window.dialogs().empty() && f.window.dialogs()[0].starts_with("recover: ");
        EXPECT_EQ(asked, c.offered);
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    }
}

// A copy that does not read is left alone with a notice, and the saved
// file opens; records that are not ours are not offered at all.
TEST(RecoveryOffer, HostileCopiesAreRefusedWithANotice) {
    struct Case {
        const char* name;
        std::string copyBytes;
        const char* kind;  // "file", "folder", "fifo", "link"
        const char* notice;
    };
    const Case cases[] = {
        {"not a document", "table {\r\n", "file", "recovery copy"},
        {"NUL bytes", std::string("table A{\0\0}", 11), "file", "recovery copy"},
        {"a folder", "", "folder", "not a regular file"},
        {"a pipe", "", "fifo", "not a regular file"},
        {"a link", "", "link", "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.leaveCopy("crashed", "", f.saved);
        std::string copy = f.copies + "/crashed.qvl";
        std::filesystem::remove(copy);
        std::string kind = c.kind;
        if (kind == "file") putFileBytes(copy, c.copyBytes);
        if (kind == "folder") std::filesystem::create_directory(copy);
        if (kind == "fifo") {
            ASSERT_EQ(::mkfifo(copy.c_str(), 0600), 0);
        }
        if (kind == "link") std::filesystem::create_symlink(f.saved, copy);
        // Only a copy newer than the document is offered; made in the same
        // clock tick as the document it would not be (the link's own time).
        struct stat saved {};
        ASSERT_EQ(::stat(f.saved.c_str(), &saved), 0);
        struct timespec times[2] = {saved.st_mtim, saved.st_mtim};
        times[1].tv_sec += 3600;
        ASSERT_EQ(::utimensat(AT_FDCWD, copy.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
        f.window.scriptAnswer(Answer::Yes);
        f.startWithRecovery(f.saved);
        ASSERT_EQ(f.window.dialogs().size(), 2u);
        EXPECT_TRUE(f.window.dialogs()[1].starts_with("notice: The recovery copy " + copy))
            << f.window.dialogs()[1];
        EXPECT_NE(f.window.dialogs()[1].find(c.notice), std::string::npos);
        EXPECT_EQ(f.host.text().substr(0, 11), "table Saved");
        EXPECT_FALSE(f.flow().isModified());
        EXPECT_TRUE(std::filesystem::symlink_status(copy).type() !=
                    std::filesystem::file_type::not_found);
    }
}

TEST(RecoveryRecords, OnlyWellFormedRecordsAreRead) {
    struct Case {
        std::string text;
        bool read;
    };
    const Case cases[] = {
        {"quorvatelle recovery\noriginal=/a/b.qvl\nwritten=12\n", true},
        {"quorvatelle recovery\noriginal=\nwritten=0\n", true},
        {"", false},
        {"quorvatelle recovery\n", false},
        {"quorvatelle recovery\noriginal=relative.qvl\nwritten=1\n", false},
        {"quorvatelle recovery\noriginal=/a\nwritten=\n", false},
        {"quorvatelle recovery\noriginal=/a\nwritten=1x\n", false},
        {"quorvatelle recovery\noriginal=/a\nwritten=1\nmore\n", false},
        {"quorvatelle recovery\noriginal=/a\nwritten=99999999999999999999\n", false},
        {"quorvatelle recovery\noriginal=/a\0b\nwritten=1\n", false},
        {"quorvatelle recovery\nwritten=1\noriginal=/a\n", false},
        {"quorvatelle recovery\noriginal=/" + std::string(9000, 'x') + "\nwritten=1\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        std::optional<RecoveryRecord> record = parseRecoveryRecord(c.text);
        EXPECT_EQ(record.has_value(), c.read);
        if (record) {
            EXPECT_EQ(parseRecoveryRecord(recoveryRecordText(*record)).has_value(), true);
            EXPECT_EQ(recoveryRecordText(*record), c.text);
        }
    }
}

// Copies waiting for the writer's thread are overtaken by newer ones for
// the same file, and a removal drops them: what is left is the last word.
TEST(RecoveryWriting, TheLastJobForACopyIsWhatStays) {
    struct Case {
        const char* jobs;  // w: write the next text; r: remove
        const char* left;  // the copy's text afterwards, or "" for none
    };
    const Case cases[] = {
        {"w", "1"}, {"ww", "2"}, {"wwww", "4"}, {"wr", ""}, {"wrw", "3"}, {"r", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jobs);
        test::ScratchFolder folder;
        std::string copy = folder.file("c.qvl");
        std::string record = folder.file("c.info");
        {
            RecoveryWriter writer;
            int n = 0;
            for (const char* job = c.jobs; *job != '\0'; ++job) {
                ++n;
                if (*job == 'w') writer.write(copy, record, "record", std::to_string(n));
                if (*job == 'r') writer.remove(copy, record);
            }
            // The destructor finishes what was given.
        }
        std::string left = c.left;
        EXPECT_EQ(std::filesystem::exists(copy), !left.empty());
        EXPECT_EQ(std::filesystem::exists(record), !left.empty());
        if (!left.empty()) {
            EXPECT_EQ(fileBytes(copy), left);
        }
        // No temporary file is left beside the copies.
        EXPECT_EQ(folder.entries(), left.empty() ? 0 : 2);
    }
}

TEST(RecoveryWriting, AFolderThatCanNotBeWrittenIsToldOnce) {
    test::ScratchFolder folder;
    RecoveryWriter writer;
    std::string copy = folder.file("missing/c.qvl");
    writer.write(copy, folder.file("missing/c.info"), "r", "text");
    writer.waitIdle();
    std::optional<std::string> failure = writer.takeFailure();
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, "can not write the recovery copy " + copy + ": No such file or directory");
    EXPECT_FALSE(writer.takeFailure().has_value());
}

TEST(FileFingerprints, OnlyADifferentContentOrNoFileCountsAsAChange) {
    struct Case {
        const char* name;
        const char* after;  // "same", "touched", "rewritten", "renamed over", "other", "removed"
        DiskChange change;
    };
    const Case cases[] = {
        {"untouched", "same", DiskChange::Same},
        {"touched", "touched", DiskChange::Same},
        {"rewritten with the same bytes", "rewritten", DiskChange::Same},
        {"replaced by a rename, same bytes", "renamed over", DiskChange::Same},
        {"other bytes of the same size", "other", DiskChange::Changed},
        {"longer", "longer", DiskChange::Changed},
        {"removed", "removed", DiskChange::Removed},
        {"a folder in its place", "folder", DiskChange::Removed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScratchFolder folder;
        std::string path = folder.file("f.qvl");
        putFileBytes(path, "abcdef");
        std::optional<FileFingerprint> known = fingerprintOf(path);
        ASSERT_TRUE(known.has_value());
        std::string after = c.after;
        auto later = std::filesystem::last_write_time(path) + std::chrono::seconds(5);
        if (after == "touched") std::filesystem::last_write_time(path, later);
        if (after == "rewritten" || after == "other" || after == "longer") {
            putFileBytes(path, after == "other"    ? "abcdeX"
                               : after == "longer" ? "abcdefg"
                                                   : "abcdef");
            std::filesystem::last_write_time(path, later);
        }
        if (after == "renamed over") {
            putFileBytes(folder.file("new"), "abcdef");
            std::filesystem::rename(folder.file("new"), path);
        }
        if (after == "removed" || after == "folder") std::filesystem::remove(path);
        if (after == "folder") std::filesystem::create_directory(path);
        EXPECT_EQ(compareWithDisk(path, *known), c.change);
        // Looked at again, a file with the same bytes is now known cheaply.
        if (c.change == DiskChange::Same) {
            EXPECT_EQ(compareWithDisk(path, *known), DiskChange::Same);
        }
    }
}

// ---- the file changed on disk

TEST(DiskChanges, AChangedFileIsReadAgainOrTheUserChooses) {
    struct Case {
        const char* name;
        bool modified;
        std::string newBytes;
        std::vector<Answer> answers;
        std::string dialogStart;  // empty: no dialog
        bool toldInLine;          // the message line says it was read again
        const char* document;     // the first table's name afterwards
        bool modifiedAfter;
    };
    const std::string other = toDiskLineEnds(kOtherText);
    const Case cases[] = {
        {"unchanged bytes rewritten",
         false,
         toDiskLineEnds(kSavedText),
         {},
         "",
         false,
         "Saved",
         false},
        // Nothing lost, nothing to decide: no box stops the user.
        {"no unsaved changes", false, other, {}, "", true, "Other", false},
        // Asked and answered, the reading needs no notice of its own.
        {"unsaved, read again",
         true,
         other,
         {Answer::Yes},
         "changed on disk: ",
         false,
         "Other",
         false},
        {"unsaved, kept", true, other, {Answer::No}, "changed on disk: ", false, "Saved", true},
        // Not read: the window keeps its version, and says so in a box.
        {"does not read", false, "table {", {}, "notice: ", false, "Saved", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.startWithRecovery(f.saved);
        if (c.modified) f.change();
        ASSERT_EQ(f.window.watchedFiles(), std::vector<std::string>{f.saved});
        putFileBytes(f.saved, c.newBytes);
        for (Answer answer : c.answers)
            f.window.scriptAnswer(answer);
        f.window.fileChanged(f.saved);
        f.window.deliverPosted();
        if (c.dialogStart.empty()) {
            EXPECT_TRUE(f.window.dialogs().empty());
        } else {
            ASSERT_EQ(f.window.dialogs().size(), 1u);
            EXPECT_TRUE(f.window.dialogs()[0].starts_with(c.dialogStart + f.saved + " changed"))
                << f.window.dialogs()[0];
        }
        EXPECT_EQ(f.window.statusMessage(),
                  c.toldInLine ? f.saved + " changed on disk and was read again." : "");
        EXPECT_EQ(f.flow().state(), FlowState::Idle);
        EXPECT_EQ(f.host.text().substr(6, std::string_view(c.document).size()), c.document);
        EXPECT_EQ(f.flow().isModified(), c.modifiedAfter);
        EXPECT_EQ(fileBytes(f.saved), c.newBytes);
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
        // The same change seen again asks and tells nothing more.
        std::size_t shown = f.window.dialogs().size();
        std::size_t told = f.window.statusMessages().size();
        f.window.fileChanged(f.saved);
        f.window.deliverPosted();
        EXPECT_EQ(f.window.dialogs().size(), shown);
        EXPECT_EQ(f.window.statusMessages().size(), told);
    }
}

// The notice of a reading stops nothing: the next change is read and told
// at once, a command runs as usual, and another document clears the line.
TEST(DiskChanges, AReadingIsToldInTheMessageLineUntilAnotherDocument) {
    RecoveryFixture f;
    putFileBytes(f.saved, toDiskLineEnds(kSavedText));
    f.startWithRecovery(f.saved);
    const std::string told = f.saved + " changed on disk and was read again.";
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* document;  // the first table's name afterwards
        std::string line;      // the message line afterwards
    };
    const Step steps[] = {
        {"changed", [&] { putFileBytes(f.saved, toDiskLineEnds(kOtherText)); }, "Other", told},
        {"changed again", [&] { putFileBytes(f.saved, toDiskLineEnds(kCopyText)); }, "Recovered",
         told},
        {"a change in the window", [&] { f.change(); }, "Recovered", told},
        {"saved", [&] { f.run(&DocumentFlow::save); }, "Recovered", told},
        {"a new document", [&] { f.run(&DocumentFlow::newDocument); }, "Table1", ""},
    };
    std::size_t toldBefore = f.window.statusMessages().size();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        f.window.fileChanged(f.saved);
        f.window.deliverPosted();
        EXPECT_TRUE(f.window.dialogs().empty()) << f.window.dialogs().front();
        EXPECT_EQ(f.flow().state(), FlowState::Idle);
        EXPECT_EQ(f.host.text().substr(6, std::string_view(step.document).size()), step.document);
        EXPECT_EQ(f.window.statusMessage(), step.line);
    }
    // Each reading replaces the document (which clears the line) and then
    // tells; the new document clears it.
    std::vector<std::string> shown(f.window.statusMessages().begin() + toldBefore,
                                   f.window.statusMessages().end());
    EXPECT_EQ(shown, (std::vector<std::string>{"", told, "", told, ""}));
    EXPECT_EQ(f.window.unscriptedDialogs(), 0);
}

// A save over a file that changed or went away since it was read asks
// first; refused, the file stays as the other program left it.
TEST(DiskChanges, ASaveOverAChangedOrRemovedFileAsksFirst) {
    struct Case {
        const char* name;
        bool removed;
        Answer answer;
        bool written;
    };
    const Case cases[] = {
        {"changed, overwritten", false, Answer::Ok, true},
        {"changed, cancelled", false, Answer::Cancel, false},
        {"removed, written again", true, Answer::Ok, true},
        {"removed, cancelled", true, Answer::Cancel, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecoveryFixture f;
        putFileBytes(f.saved, toDiskLineEnds(kSavedText));
        f.startWithRecovery(f.saved);
        f.change();
        if (c.removed) {
            std::filesystem::remove(f.saved);
        } else {
            putFileBytes(f.saved, "changed elsewhere");
        }
        f.window.scriptAnswer(c.answer);
        f.run(&DocumentFlow::save);
        ASSERT_EQ(f.window.dialogs().size(), 1u);
        EXPECT_TRUE(f.window.dialogs()[0].starts_with(
            "confirm: " + f.saved + (c.removed ? " was removed" : " changed on disk")));
        if (c.written) {
            EXPECT_EQ(fileBytes(f.saved), toDiskLineEnds(f.host.text()));
            EXPECT_FALSE(f.flow().isModified());
            // Saved, the file is the window's again: the next save asks nothing.
            f.change();
            f.run(&DocumentFlow::save);
            EXPECT_EQ(f.window.dialogs().size(), 1u);
        } else {
            EXPECT_EQ(std::filesystem::exists(f.saved), !c.removed);
            if (!c.removed) {
                EXPECT_EQ(fileBytes(f.saved), "changed elsewhere");
            }
            EXPECT_TRUE(f.flow().isModified());
        }
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    }
}

// Removed from disk: said once; the document becomes unsaved work (Exit
// asks, a recovery copy keeps it); the file is not made again until a save
// the user agrees to.
TEST(DiskChanges, ARemovedFileIsToldOnceAndNotMadeAgain) {
    RecoveryFixture f;
    putFileBytes(f.saved, toDiskLineEnds(kSavedText));
    f.startWithRecovery(f.saved);
    ASSERT_FALSE(f.flow().isModified());
    std::filesystem::remove(f.saved);
    for (int i = 0; i < 3; ++i) {
        f.window.fileChanged(f.saved);
        f.window.deliverPosted();
    }
    ASSERT_EQ(f.window.dialogs().size(), 1u);
    EXPECT_EQ(f.window.dialogs()[0],
              "notice: " + f.saved +
                  " was removed from disk. The window keeps the document as unsaved work; "
                  "saving asks before writing the file again.");
    EXPECT_TRUE(f.flow().isModified());
    f.tick();
    EXPECT_EQ(f.copyFiles().size(), 1u);
    f.window.scriptAnswer(Answer::Cancel);
    f.run(&DocumentFlow::exit);
    EXPECT_EQ(f.window.dialogs().back().rfind("question: ", 0), 0u) << f.window.dialogs().back();
    EXPECT_TRUE(f.window.isOpen());
    f.change();
    f.tick();
    EXPECT_FALSE(std::filesystem::exists(f.saved));
    EXPECT_EQ(f.host.text().substr(0, 11), "table Saved");
}

// A save to another path moves the watch there; reading another document
// does too.
TEST(DiskChanges, TheWatchFollowsTheDocumentsPath) {
    RecoveryFixture f;
    putFileBytes(f.saved, toDiskLineEnds(kSavedText));
    std::string other = f.folder.file("other.qvl");
    f.startWithRecovery(f.saved);
    EXPECT_EQ(f.window.watchedFiles(), std::vector<std::string>{f.saved});
    f.window.scriptFile(other);
    f.run(&DocumentFlow::saveAs);
    EXPECT_EQ(f.window.watchedFiles(), std::vector<std::string>{other});
    f.run(&DocumentFlow::newDocument);
    EXPECT_TRUE(f.window.watchedFiles().empty());
    // A change to the old file is nobody's business now.
    putFileBytes(f.saved, toDiskLineEnds(kOtherText));
    f.window.fileChanged(f.saved);
    f.window.deliverPosted();
    EXPECT_TRUE(f.window.dialogs().size() == 1u);  // the save dialog only
}

}  // namespace
}  // namespace qv
