// The document flow driven by scripted answers on the headless window:
// every state with Yes, No, Cancel and a cancelled file dialog, the files
// it writes, and after each run the whole state (flow state, path, title,
// modification, undo history, exit status, the dialogs shown).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/desktop/FlowTestSupport.h"

namespace qv {
namespace {

using test::defaultFileBytes;
using test::fileBytes;
using test::FlowFixture;
using test::putFileBytes;
using toolkit::Answer;

constexpr const char* kModelText =
    "table Model{\n    a:=1!\n}\noptimized(10,20) text(\"x\");\n//--end";
constexpr const char* kOtherText = "table Other{\n    b:=2!\n}\n//--end";
// The filters as the dialogs get them (two blanks in the Open dialog's).
const std::string kOpenDialog = "open: Quorvatelle  Documents(*.qvl),*.qvl,All Files(*.*),*.*,";
const std::string kSaveDialog = "save: Quorvatelle Documents(*.qvl),*.qvl,All Files(*.*),*.*,";

// The states many runs end in: the modified model.qvl kept as it was, and
// an untitled default document.
const std::string kModelKept =
    "state=-1 doc=table Model path=model.qvl modified=yes undo=1 exit=none "
    "title=model.qvl *  - Quorvatelle";
const std::string kDefaultOpened =
    "state=-1 doc=table Table1 path=(untitled) modified=no undo=0 exit=none "
    "title=Untitled - Quorvatelle";

// One line with everything a step may change.
std::string stateOf(const FlowFixture& f) {
    std::string document = f.host.text();
    document = document.substr(0, document.find('{'));
    std::optional<int> exit = f.window.exitStatus();
    return "state=" + std::to_string(static_cast<int>(f.flow().state())) + " doc=" + document +
           " path=" + std::filesystem::path(f.path()).filename().string() +
           " modified=" + (f.flow().isModified() ? "yes" : "no") +
           " undo=" + std::to_string(f.host.undoHistory.size()) +
           " exit=" + (exit ? std::to_string(*exit) : "none") + " title=" + f.window.title();
}

std::string savePrompt(const std::string& name) {
    return "question: " + name + " has changed,\n\nDo you want to save it?";
}

// model.qvl as the flows below find it: bare line feeds, which read as
// CR LF do, so that a save (always CR LF) shows in the file's bytes.
const std::string kUnsavedBytes = kModelText;

// A flow started on model.qvl (or untitled on the default document) and
// then modified by one work-area command.
void startModified(FlowFixture& f, bool titled) {
    std::string model = f.folder.file("model.qvl");
    putFileBytes(model, kUnsavedBytes);
    putFileBytes(f.folder.file("other.qvl"), toDiskLineEnds(kOtherText));
    f.start(titled ? model : "");
    f.host.executeCommand("move");
    f.flow().updateTitle();
}

TEST(DocumentFlowStart, AnEmptyStartupPathOpensTheDefaultDocumentUntitled) {
    FlowFixture f;
    f.start();
    EXPECT_EQ(stateOf(f), kDefaultOpened);
    EXPECT_TRUE(f.window.dialogs().empty());
    EXPECT_EQ(f.host.text(), test::kDefaultText);
}

TEST(DocumentFlowStart, AnExistingFileIsOpenedAndNamesTheWindow) {
    FlowFixture f;
    std::string path = f.folder.file("model.qvl");
    putFileBytes(path, toDiskLineEnds(kModelText));
    f.start(path);
    EXPECT_EQ(stateOf(f),
              "state=-1 doc=table Model path=model.qvl modified=no undo=0 exit=none "
              "title=model.qvl - Quorvatelle");
    EXPECT_EQ(f.flow().currentPath(), path);
    EXPECT_TRUE(f.window.dialogs().empty());
}

TEST(DocumentFlowStart, AMissingFileAsksWhetherToCreateIt) {
    struct Case {
        Answer answer;
        std::string state;
        bool created;
    };
    const Case cases[] = {
        {Answer::Yes,
         "state=-1 doc=table Table1 path=new.qvl modified=no undo=0 exit=none "
         "title=new.qvl - Quorvatelle",
         true},
        {Answer::No, kDefaultOpened, false},
        // Cancel ends the program normally, before any document exists.
        {Answer::Cancel,
         "state=-1 doc=(none) path=(untitled) modified=no undo=0 exit=0 title=", false},
    };
    for (const Case& c : cases) {
        FlowFixture f;
        std::string path = f.folder.file("new.qvl");
        f.window.scriptAnswer(c.answer);
        f.start(path);
        SCOPED_TRACE(static_cast<int>(c.answer));
        EXPECT_EQ(f.window.dialogs(),
                  (std::vector<std::string>{"question: can not open " + path +
                                            ": No such file or directory"
                                            " \n\nDo you want to create this file?"}));
        EXPECT_EQ(stateOf(f), c.state);
        EXPECT_EQ(std::filesystem::exists(path), c.created);
        if (c.created) {
            EXPECT_EQ(fileBytes(path), defaultFileBytes());
        }
    }
}

// A file that is there but does not read is reported, never offered for
// creation: answering Yes would replace it.
TEST(DocumentFlowStart, AFileThatDoesNotReadShowsTheMessageThenTheDefaultDocument) {
    const std::string notice =
        "notice: Can not load the file because it contain the following error:\n\n";
    struct Case {
        const char* name;
        const char* bytes;  // nullptr: the path names a folder
        std::string message;
    };
    const Case cases[] = {
        {"broken.qvl", "table T{a:=1!}\r\nbogus",
         "expecting  table,maximized,optimized or floating\n\n(line 2, column 1)"},
        {"folder.qvl", nullptr, "can not read "},  // then the path and ": Is a directory"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FlowFixture f;
        std::string path = f.folder.file(c.name);
        if (c.bytes != nullptr) {
            putFileBytes(path, c.bytes);
        } else {
            std::filesystem::create_directory(path);
        }
        f.flowSlot.emplace(f.window, f.host, path);
        f.flow().start();
        EXPECT_EQ(f.flow().state(), FlowState::NoticeShown);
        f.window.deliverPosted();
        std::string message = c.message + (c.bytes == nullptr ? path + ": Is a directory" : "");
        EXPECT_EQ(f.window.dialogs(), (std::vector<std::string>{notice + message}));
        EXPECT_EQ(stateOf(f), kDefaultOpened);
        if (c.bytes != nullptr) {
            EXPECT_EQ(fileBytes(path), c.bytes);
        } else {
            EXPECT_TRUE(std::filesystem::is_directory(path));
        }
    }
}

TEST(DocumentFlowStart, CreatingTheFileCanFailAndSaysSo) {
    FlowFixture f;
    std::string path = f.folder.file("no-such-folder/new.qvl");
    f.window.scriptAnswer(Answer::Yes);
    f.start(path);
    ASSERT_EQ(f.window.dialogs().size(), 2u);
    EXPECT_EQ(f.window.dialogs()[1],
              "notice: can not open " + path + ": No such file or directory");
    EXPECT_EQ(stateOf(f), kDefaultOpened);
}

// A command with its scripted answers and files, and what must follow.
struct Scenario {
    const char* name;
    bool titled;
    std::vector<Answer> answers;
    std::vector<std::optional<std::string>> files;  // names in the folder; nullopt cancels
    std::vector<std::string> dialogs;               // "prompt" stands for the save question
    std::string state;
    // The file that must hold the document as it was before the command.
    std::string saved;
};

void runScenario(const Scenario& s, void (DocumentFlow::*command)()) {
    SCOPED_TRACE(s.name);
    FlowFixture f;
    startModified(f, s.titled);
    std::string before = f.host.text();
    for (Answer answer : s.answers)
        f.window.scriptAnswer(answer);
    for (const auto& file : s.files)
        f.window.scriptFile(file ? std::optional(f.folder.file(*file)) : std::nullopt);
    f.run(command);

    std::vector<std::string> dialogs;
    for (const std::string& dialog : s.dialogs)
        dialogs.push_back(dialog == "prompt" ? savePrompt(s.titled ? f.folder.file("model.qvl")
                                                                   : "The untitled file")
                                             : dialog);
    EXPECT_EQ(f.window.dialogs(), dialogs);
    EXPECT_EQ(stateOf(f), s.state);
    EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    if (!s.saved.empty()) {
        EXPECT_EQ(fileBytes(f.folder.file(s.saved)), toDiskLineEnds(before));
    } else {
        EXPECT_EQ(fileBytes(f.folder.file("model.qvl")), kUnsavedBytes);
    }
}

TEST(DocumentFlowNew, AModifiedDocumentIsSavedOrDroppedAsAnswered) {
    // clang-format off
    const Scenario scenarios[] = {
        {"cancel", true, {Answer::Cancel}, {}, {"prompt"}, kModelKept, ""},
        {"no", true, {Answer::No}, {}, {"prompt"}, kDefaultOpened, ""},
        {"yes, titled", true, {Answer::Yes}, {}, {"prompt"}, kDefaultOpened, "model.qvl"},
        {"yes, untitled, a file chosen", false, {Answer::Yes},
            {"chosen.qvl"}, {"prompt", kSaveDialog}, kDefaultOpened, "chosen.qvl"},
        {"yes, untitled, the dialog cancelled", false, {Answer::Yes},
            {std::nullopt}, {"prompt", kSaveDialog},
            "state=32 doc=table Table1 path=(untitled) modified=yes undo=1 exit=none "
            "title=Untitled *  - Quorvatelle", ""},
        // A question closed without Yes or No counts as Cancel.
        {"ok", true, {Answer::Ok}, {}, {"prompt"}, kModelKept, ""},
    };
    // clang-format on
    for (const Scenario& s : scenarios)
        runScenario(s, &DocumentFlow::newDocument);
}

TEST(DocumentFlowNew, AnUnmodifiedDocumentIsReplacedWithoutAsking) {
    FlowFixture f;
    startModified(f, true);
    f.run(&DocumentFlow::save);
    f.run(&DocumentFlow::newDocument);
    EXPECT_TRUE(f.window.dialogs().empty());
    EXPECT_EQ(stateOf(f), kDefaultOpened);
}

TEST(DocumentFlowOpen, AModifiedDocumentIsOfferedForSavingBeforeTheOpenDialog) {
    const std::string opened =
        "state=-1 doc=table Other path=other.qvl modified=no undo=0 exit=none "
        "title=other.qvl - Quorvatelle";
    // clang-format off
    const Scenario scenarios[] = {
        {"cancel", true, {Answer::Cancel}, {}, {"prompt"}, kModelKept, ""},
        {"no", true, {Answer::No}, {"other.qvl"}, {"prompt", kOpenDialog}, opened, ""},
        {"yes, titled", true, {Answer::Yes}, {"other.qvl"},
            {"prompt", kOpenDialog}, opened, "model.qvl"},
        {"yes, untitled", false, {Answer::Yes}, {"chosen.qvl", "other.qvl"},
            {"prompt", kSaveDialog, kOpenDialog}, opened, "chosen.qvl"},
        {"yes, untitled, the save dialog cancelled", false, {Answer::Yes},
            {std::nullopt}, {"prompt", kSaveDialog},
            "state=13 doc=table Table1 path=(untitled) modified=yes undo=1 exit=none "
            "title=Untitled *  - Quorvatelle", ""},
        {"no, the open dialog cancelled", true, {Answer::No}, {std::nullopt},
            {"prompt", kOpenDialog},
            "state=11 doc=table Model path=model.qvl modified=yes undo=1 exit=none "
            "title=model.qvl *  - Quorvatelle", ""},
    };
    // clang-format on
    for (const Scenario& s : scenarios)
        runScenario(s, &DocumentFlow::open);
}

TEST(DocumentFlowOpen, AnUnmodifiedDocumentGoesStraightToTheDialog) {
    FlowFixture f;
    f.start();
    putFileBytes(f.folder.file("other.qvl"), toDiskLineEnds(kOtherText));
    f.window.scriptFile(f.folder.file("other.qvl"));
    f.run(&DocumentFlow::open);
    EXPECT_EQ(f.window.dialogs(), (std::vector<std::string>{kOpenDialog}));
    EXPECT_EQ(stateOf(f),
              "state=-1 doc=table Other path=other.qvl modified=no undo=0 exit=none "
              "title=other.qvl - Quorvatelle");
    EXPECT_EQ(f.host.text(), kOtherText);
}

TEST(DocumentFlowOpen, AFailedOpenKeepsTheCurrentDocumentItsPathAndItsHistory) {
    struct Case {
        const char* file;
        const char* bytes;  // nullptr: the file does not exist
        std::string notice;
    };
    const std::string prefix = "Can not load the file because it contain the following error:\n\n";
    const Case cases[] = {
        {"missing.qvl", nullptr, prefix + "can not open "},
        {"bad.qvl", "table T{a:=1!} optimized(1,1) chart(Nowhere);",
         prefix + "table not found\n\n(line 1, column 37)"},
        {"syntax.qvl", "table T{a:=(1!}", prefix + "expecting )\n\n(line 1, column 14)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        FlowFixture f;
        startModified(f, true);
        std::string path = f.folder.file(c.file);
        if (c.bytes != nullptr) putFileBytes(path, c.bytes);
        std::string before = f.host.text();
        f.window.scriptFile(path);
        f.window.scriptAnswer(Answer::No);
        f.run(&DocumentFlow::open);
        std::string notice =
            c.notice + (c.bytes == nullptr ? path + ": No such file or directory" : "");
        EXPECT_EQ(f.window.dialogs(),
                  (std::vector<std::string>{savePrompt(f.folder.file("model.qvl")), kOpenDialog,
                                            "notice: " + notice}));
        EXPECT_EQ(stateOf(f), kModelKept);
        EXPECT_EQ(f.host.text(), before);
    }
}

TEST(DocumentFlowOpen, TheLoadNoticeSaysWhereTheErrorIs) {
    FlowFixture f;
    f.start();
    f.host.placeOfErrors = TextPlace{3, 14};
    std::string path = f.folder.file("bad.qvl");
    putFileBytes(path, "table T{\r\n}\r\nresult(T) oops");
    f.window.scriptFile(path);
    f.run(&DocumentFlow::open);
    EXPECT_EQ(f.lastDialog(),
              "notice: Can not load the file because it contain the following error:\n\n"
              "expecting  table,maximized,optimized or floating\n\n(line 3, column 14)");
}

TEST(DocumentFlowSave, SaveWritesToTheCurrentPathOrAsksForOne) {
    // clang-format off
    const Scenario scenarios[] = {
        {"titled", true, {}, {}, {},
            "state=-1 doc=table Model path=model.qvl modified=no undo=1 exit=none "
            "title=model.qvl - Quorvatelle", "model.qvl"},
        {"untitled, a file chosen", false, {}, {"chosen.qvl"},
            {kSaveDialog},
            "state=-1 doc=table Table1 path=chosen.qvl modified=no undo=1 exit=none "
            "title=chosen.qvl - Quorvatelle", "chosen.qvl"},
        {"untitled, the dialog cancelled", false, {}, {std::nullopt},
            {kSaveDialog},
            "state=21 doc=table Table1 path=(untitled) modified=yes undo=1 exit=none "
            "title=Untitled *  - Quorvatelle", ""},
    };
    // clang-format on
    for (const Scenario& s : scenarios)
        runScenario(s, &DocumentFlow::save);
}

TEST(DocumentFlowSave, SaveAsAlwaysAsksAndTakesTheNewPath) {
    // clang-format off
    const Scenario scenarios[] = {
        {"titled", true, {}, {"copy.qvl"}, {kSaveDialog},
            "state=-1 doc=table Model path=copy.qvl modified=no undo=1 exit=none "
            "title=copy.qvl - Quorvatelle", "copy.qvl"},
        {"titled, cancelled", true, {}, {std::nullopt},
            {kSaveDialog},
            "state=21 doc=table Model path=model.qvl modified=yes undo=1 exit=none "
            "title=model.qvl *  - Quorvatelle", ""},
    };
    // clang-format on
    for (const Scenario& s : scenarios)
        runScenario(s, &DocumentFlow::saveAs);
}

TEST(DocumentFlowExit, EndsWithStatusZeroAfterTheAnsweredQuestion) {
    // clang-format off
    const Scenario scenarios[] = {
        {"cancel", true, {Answer::Cancel}, {}, {"prompt"}, kModelKept, ""},
        {"no", true, {Answer::No}, {}, {"prompt"},
            "state=-1 doc=table Model path=model.qvl modified=yes undo=1 exit=0 "
            "title=model.qvl *  - Quorvatelle", ""},
        {"yes, titled", true, {Answer::Yes}, {},
            {"prompt"},
            "state=-1 doc=table Model path=model.qvl modified=no undo=1 exit=0 "
            "title=model.qvl - Quorvatelle", "model.qvl"},
        {"yes, untitled, a file chosen", false, {Answer::Yes},
            {"chosen.qvl"}, {"prompt", kSaveDialog},
            "state=-1 doc=table Table1 path=chosen.qvl modified=no undo=1 exit=0 "
            "title=chosen.qvl - Quorvatelle", "chosen.qvl"},
        // The program keeps running when the user cancels the Save dialog.
        {"yes, untitled, the dialog cancelled", false, {Answer::Yes},
            {std::nullopt}, {"prompt", kSaveDialog},
            "state=42 doc=table Table1 path=(untitled) modified=yes undo=1 exit=none "
            "title=Untitled *  - Quorvatelle", ""},
    };
    // clang-format on
    for (const Scenario& s : scenarios)
        runScenario(s, &DocumentFlow::exit);
}

TEST(DocumentFlowExit, AnUnmodifiedDocumentEndsAtOnceAndSoDoesTheCloseButton) {
    FlowFixture f;
    f.start();
    f.listener.closeRequested();
    EXPECT_EQ(f.window.exitStatus(), 0);
    EXPECT_TRUE(f.window.dialogs().empty());
}

TEST(DocumentFlowExit, AStrayAnswerAfterACancelledSaveDialogNeitherSavesNorEnds) {
    FlowFixture f;
    startModified(f, false);
    f.window.scriptAnswer(Answer::Yes);
    f.window.scriptFile(std::nullopt);
    f.run(&DocumentFlow::exit);
    ASSERT_EQ(f.flow().state(), FlowState::ExitSaveChosen);
    // A notice someone else shows (the About box, say) is answered later.
    f.window.showMessageBox("About", "Quorvatelle", toolkit::MessageBoxKind::Notice);
    f.window.deliverPosted();
    EXPECT_EQ(f.listener.unhandled, 1);
    EXPECT_EQ(f.window.exitStatus(), std::nullopt);
    EXPECT_TRUE(f.flow().isModified());
    // The next command starts afresh.
    f.window.scriptAnswer(Answer::No);
    f.run(&DocumentFlow::exit);
    EXPECT_EQ(f.window.exitStatus(), 0);
}

// A save that fails leaves everything as it was and stops the flow: no new
// document, no end of the program.
TEST(DocumentFlowSave, AFailedSaveShowsTheMessageAndStopsTheFlow) {
    struct Case {
        const char* name;
        void (DocumentFlow::*command)();
        Answer answer;
    };
    const Case cases[] = {
        {"save", &DocumentFlow::save, Answer::Ok},
        {"new", &DocumentFlow::newDocument, Answer::Yes},
        {"open", &DocumentFlow::open, Answer::Yes},
        {"exit", &DocumentFlow::exit, Answer::Yes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FlowFixture f;
        startModified(f, true);
        // The document's path now names a folder: the file is gone, so the
        // save asks first; told to go on, it cannot replace the folder, and
        // the writer says why.
        std::string model = f.folder.file("model.qvl");
        std::filesystem::remove(model);
        std::filesystem::create_directory(model);
        f.window.scriptAnswer(c.answer);
        f.window.scriptAnswer(Answer::Ok);
        f.run(c.command);
        const auto& dialogs = f.window.dialogs();
        ASSERT_GE(dialogs.size(), 2u);
        EXPECT_EQ(dialogs[dialogs.size() - 2], "confirm: " + model +
                                                   " was removed from disk.\n\nSave the window's "
                                                   "version there again?");
        EXPECT_EQ(f.lastDialog(), "notice: can not write to " + model + ": not a regular file");
        EXPECT_EQ(stateOf(f), kModelKept);
        EXPECT_TRUE(std::filesystem::is_directory(model));
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    }
}

// A cell edit still being typed is committed before the command goes on,
// so the file takes the typed value; one that does not read stops the
// command with its reason and nothing is written or dropped.
TEST(DocumentFlowPendingEdit, ATypedEditIsCommittedFirstOrStopsTheCommand) {
    struct Case {
        const char* name;
        void (DocumentFlow::*command)();
        std::vector<Answer> answers;
        std::vector<std::optional<std::string>> files;
        const char* savedName;
    };
    const Case cases[] = {
        {"save", &DocumentFlow::save, {}, {}, "model.qvl"},
        {"save as", &DocumentFlow::saveAs, {}, {"copy.qvl"}, "copy.qvl"},
        {"new", &DocumentFlow::newDocument, {Answer::Yes}, {}, "model.qvl"},
        {"open", &DocumentFlow::open, {Answer::Yes}, {std::nullopt}, "model.qvl"},
        {"exit", &DocumentFlow::exit, {Answer::Yes}, {}, "model.qvl"},
    };
    const std::string saved = "table Model{\r\n    a:=42!\r\n}\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            FlowFixture f;
            startModified(f, true);
            f.host.pendingFormula = "42";
            for (Answer answer : c.answers)
                f.window.scriptAnswer(answer);
            for (const std::optional<std::string>& file : c.files)
                f.window.scriptFile(file ? std::optional(f.folder.file(*file)) : std::nullopt);
            f.run(c.command);
            EXPECT_FALSE(f.host.pendingFormula.has_value());
            EXPECT_TRUE(fileBytes(f.folder.file(c.savedName)).starts_with(saved))
                << fileBytes(f.folder.file(c.savedName));
        }
        FlowFixture f;
        startModified(f, true);
        f.host.pendingRefusal = "syntax error: expecting an expression";
        for (Answer answer : c.answers)
            f.window.scriptAnswer(answer);
        f.run(c.command);
        EXPECT_EQ(f.window.dialogs(),
                  (std::vector<std::string>{"notice: syntax error: expecting an expression"}));
        EXPECT_EQ(stateOf(f), kModelKept);
        EXPECT_EQ(fileBytes(f.folder.file("model.qvl")), kUnsavedBytes);
    }
}

TEST(DocumentFlowModified, AFormulaTypedIntoACellCountsAsAChange) {
    FlowFixture f;
    startModified(f, true);
    f.run(&DocumentFlow::save);
    EXPECT_FALSE(f.flow().isModified());
    f.host.executeCommand("formula");
    f.flow().updateTitle();
    EXPECT_TRUE(f.flow().isModified());
    EXPECT_EQ(f.window.title(), "model.qvl *  - Quorvatelle");
    // New now asks before it replaces the typed formula.
    f.window.scriptAnswer(Answer::Cancel);
    f.run(&DocumentFlow::newDocument);
    EXPECT_EQ(f.window.dialogs(),
              (std::vector<std::string>{savePrompt(f.folder.file("model.qvl"))}));
    f.run(&DocumentFlow::save);
    EXPECT_FALSE(f.flow().isModified());
}

// Save, then undo and make a different change: the saved text can no
// longer be reached, so New asks instead of dropping the change.
TEST(DocumentFlowModified, TheSavedPositionFollowsUndoAndIsLostToADifferentChange) {
    FlowFixture f;
    startModified(f, true);
    f.run(&DocumentFlow::save);
    EXPECT_FALSE(f.flow().isModified());
    f.host.commands->undo();
    EXPECT_TRUE(f.flow().isModified());
    f.host.commands->redo();
    EXPECT_FALSE(f.flow().isModified());
    f.host.commands->undo();
    f.host.executeCommand("other");
    EXPECT_TRUE(f.flow().isModified());
    f.window.scriptAnswer(Answer::Cancel);
    f.run(&DocumentFlow::newDocument);
    EXPECT_EQ(f.window.dialogs(),
              (std::vector<std::string>{savePrompt(f.folder.file("model.qvl"))}));
    EXPECT_EQ(f.host.undoHistory, (std::vector<std::string>{"other"}));
}

TEST(DocumentFlowModified, UndoingBackToTheSavedPositionIsUnmodified) {
    FlowFixture f;
    f.start();
    f.host.executeCommand("add view");
    EXPECT_TRUE(f.flow().isModified());
    f.host.commands->undo();
    EXPECT_FALSE(f.flow().isModified());
}

TEST(DocumentFlowHistory, OnlyADocumentThatReplacesTheOldOneClearsTheUndoHistory) {
    FlowFixture f;
    f.start();
    f.host.executeCommand("one");
    f.host.executeCommand("two");
    std::string broken = f.folder.file("broken.qvl");
    putFileBytes(broken, "table");
    f.window.scriptAnswer(Answer::No);
    f.window.scriptFile(broken);
    f.run(&DocumentFlow::open);
    EXPECT_EQ(f.host.undoHistory, (std::vector<std::string>{"one", "two"}));

    std::string good = f.folder.file("good.qvl");
    putFileBytes(good, toDiskLineEnds(kOtherText));
    f.window.scriptAnswer(Answer::No);
    f.window.scriptFile(good);
    f.run(&DocumentFlow::open);
    EXPECT_TRUE(f.host.undoHistory.empty());
    EXPECT_FALSE(f.flow().isModified());
}

TEST(DocumentFlowTitle, MaximizedViewsFollowTheName) {
    FlowFixture f;
    f.start();
    f.host.maximized = {"Loan", "project  - Table1"};
    f.flow().updateTitle();
    EXPECT_EQ(f.window.title(), "Untitled - Quorvatelle[Loan][project  - Table1]");
}

TEST(DocumentFlowReload, AReloadedSourceCountsAsModifiedAndAFailedOneChangesNothing) {
    FlowFixture f;
    startModified(f, true);
    f.run(&DocumentFlow::save);
    std::optional<LoadFailure> failure = f.flow().reloadFromSource(str("table Broken{"));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, "missing } of table Broken begun at 1:1");
    EXPECT_EQ(stateOf(f),
              "state=-1 doc=table Model path=model.qvl modified=no undo=1 exit=none "
              "title=model.qvl - Quorvatelle");

    EXPECT_FALSE(f.flow().reloadFromSource(str("table Edited{c:=3!}")).has_value());
    EXPECT_EQ(stateOf(f),
              "state=-1 doc=table Edited path=model.qvl modified=yes undo=0 exit=none "
              "title=model.qvl *  - Quorvatelle");
    f.run(&DocumentFlow::save);
    EXPECT_EQ(fileBytes(f.folder.file("model.qvl")), "table Edited{\r\n    c:=3!\r\n}\r\n//--end");
    EXPECT_FALSE(f.flow().isModified());
}

}  // namespace
}  // namespace qv
