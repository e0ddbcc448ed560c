// The document flow wired through the main panel: File items with scripted
// answers, the modification state counting model changes as well as work
// area commands, a failed Open or Save that keeps everything, the undo
// history kept until a new document replaces the old, and the source
// window's reload.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/DocumentFile.h"
#include "kernel/TableResult.h"
#include "model/ModelEditor.h"
#include "tests/desktop/PanelTestSupport.h"
#include "views/ResultEditable.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

using test::fileBytes;
using test::PanelFixture;
using test::putFileBytes;
using toolkit::Answer;
namespace key = toolkit::key;

constexpr const char* kModel = "table M{a:=1!}\noptimized(10,20) text(\"x\");\n";
const std::string kModelLayout = "optimized(10,20) text(\"x\");\n";
const std::string kDefaultLayout = "optimized(40,40) project(Table1);\n";
const std::string kPrompt = " has changed,\n\nDo you want to save it?";

// model.qvl opened and changed by one command (a text area added).
void startChanged(PanelFixture& f) {
    f.startOn("model.qvl", kModel);
    f.choose(MenuCommand::TextArea);
}

// The state startChanged leaves.
const std::string kModelChanged =
    "undo=1 redo=0 modified=yes exit=none title=model.qvl *  - Quorvatelle\n" + kModelLayout +
    "optimized(140,40) text(\"\");\n";

TEST(MainPanelFlow, SaveWritesTheLiveLayoutAndMarksTheDocumentSaved) {
    PanelFixture f;
    startChanged(f);
    std::string path = f.folder.file("model.qvl");
    f.choose(MenuCommand::Save);
    EXPECT_EQ(f.state(), "undo=1 redo=0 modified=no exit=none title=model.qvl - Quorvatelle\n" +
                             kModelLayout + "optimized(140,40) text(\"\");\n");
    EXPECT_EQ(fileBytes(path), toDiskLineEnds("table M{\n    a:=1!\n}\n" + kModelLayout +
                                              "optimized(140,40) text(\"\");\n//--end"));
    EXPECT_TRUE(f.window.dialogs().empty());
    // Save As to a new name: the window takes the new name.
    std::string other = f.folder.file("other.qvl");
    f.window.scriptFile(other);
    f.choose(MenuCommand::SaveAs);
    EXPECT_EQ(f.window.title(), "other.qvl - Quorvatelle");
    EXPECT_EQ(fileBytes(other), fileBytes(path));
}

// The text area of model.qvl moved by its title bar by (dx, dy).
void moveText(PanelFixture& f, std::int32_t dx, std::int32_t dy) {
    f.layout();
    toolkit::Rect bar = f.frame(0)->titleBarRect();
    toolkit::Point grip{bar.x + 4, bar.y + bar.height / 2};
    f.mouse(toolkit::MouseKind::Press, grip);
    f.mouse(toolkit::MouseKind::Drag, {grip.x + dx / 2, grip.y + dy / 2});
    f.mouse(toolkit::MouseKind::Drag, {grip.x + dx, grip.y + dy});
    f.mouse(toolkit::MouseKind::Release, {grip.x + dx, grip.y + dy});
}

// A moved view is a change to save; undo and redo move across the saved
// layout, and a different change after an undo leaves it out of reach.
TEST(MainPanelFlow, TheSavedLayoutIsUnmodifiedWhereverUndoAndRedoReachIt) {
    PanelFixture f;
    f.startOn("model.qvl", kModel);
    const std::string moved = "optimized(110,70) text(\"x\");\n";
    const std::string other = "optimized(10,220) text(\"x\");\n";
    const std::string clean = " exit=none title=model.qvl - Quorvatelle\n";
    const std::string changed = " exit=none title=model.qvl *  - Quorvatelle\n";
    struct Step {
        const char* what;
        std::function<void()> act;
        std::string state;
    };
    const Step steps[] = {
        {"moved", [&] { moveText(f, 100, 50); }, "undo=1 redo=0 modified=yes" + changed + moved},
        {"saved", [&] { f.choose(MenuCommand::Save); },
         "undo=1 redo=0 modified=no" + clean + moved},
        {"undone", [&] { f.key(key::kUndo); },
         "undo=0 redo=1 modified=yes" + changed + kModelLayout},
        {"redone", [&] { f.key(key::kRedo); }, "undo=1 redo=0 modified=no" + clean + moved},
        {"undone again", [&] { f.key(key::kUndo); },
         "undo=0 redo=1 modified=yes" + changed + kModelLayout},
        {"moved elsewhere", [&] { moveText(f, 0, 200); },
         "undo=1 redo=0 modified=yes" + changed + other},
        {"and undone", [&] { f.key(key::kUndo); },
         "undo=0 redo=1 modified=yes" + changed + kModelLayout},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(f.state(), step.state);
    }
    // Exit asks rather than dropping the unsaved layout.
    f.window.scriptAnswer(Answer::Cancel);
    f.choose(MenuCommand::Exit);
    EXPECT_EQ(f.lastDialog(), "question: " + f.folder.file("model.qvl") + kPrompt);
    EXPECT_FALSE(f.window.exitStatus().has_value());
}

TEST(MainPanelFlow, NewOpenAndExitAskBeforeTheyDropChanges) {
    struct Case {
        const char* name;
        MenuCommand command;
        Answer answer;
        std::vector<std::string> dialogs;  // after the save prompt
        std::string state;
    };
    const std::string defaultState =
        "undo=0 redo=0 modified=no exit=none title=Untitled - Quorvatelle\n" + kDefaultLayout;
    const std::string open = "open: Quorvatelle  Documents(*.qvl),*.qvl,All Files(*.*),*.*,";
    const Case cases[] = {
        {"new, cancel", MenuCommand::New, Answer::Cancel, {}, ""},
        {"new, no", MenuCommand::New, Answer::No, {}, defaultState},
        {"open, cancel", MenuCommand::Open, Answer::Cancel, {}, ""},
        {"open, no",
         MenuCommand::Open,
         Answer::No,
         {open},
         "undo=0 redo=0 modified=no exit=none title=other.qvl - Quorvatelle\n"},
        {"exit, cancel", MenuCommand::Exit, Answer::Cancel, {}, ""},
        {"exit, no",
         MenuCommand::Exit,
         Answer::No,
         {},
         "undo=1 redo=0 modified=yes exit=0 title=model.qvl *  - Quorvatelle\n" + kModelLayout +
             "optimized(140,40) text(\"\");\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelFixture f;
        startChanged(f);
        putFileBytes(f.folder.file("other.qvl"), "table Other{}");
        f.window.scriptAnswer(c.answer);
        f.window.scriptFile(f.folder.file("other.qvl"));
        f.choose(c.command);
        std::vector<std::string> dialogs = {"question: " + f.folder.file("model.qvl") + kPrompt};
        dialogs.insert(dialogs.end(), c.dialogs.begin(), c.dialogs.end());
        EXPECT_EQ(f.window.dialogs(), dialogs);
        EXPECT_EQ(f.state(), c.state.empty() ? kModelChanged : c.state);
    }
}

// The window's close button asks as Exit does; an unmodified document ends
// the program at once, normally.
TEST(MainPanelFlow, ClosingTheWindowEndsWithStatusZero) {
    PanelFixture f;
    f.start();
    f.panel->closeRequested();
    EXPECT_EQ(f.window.exitStatus(), 0);
    EXPECT_TRUE(f.window.dialogs().empty());
}

// A formula typed into a cell is a step of the undo history like a work
// area command, and a change to save; undoing it is back at the saved text.
TEST(MainPanelFlow, AFormulaTypedIntoTheModelMarksTheDocumentModified) {
    PanelFixture f;
    f.startOn("model.qvl", kModel);
    Pointer<TableResult> table = f.panel->kernel()->getTableByName("M");
    const auto type = [&] {
        make<ModelEditor>(f.panel->kernel()->program(), &f.panel->commands())
            ->setCellFormula(*table, 0, 0, str("2"));
    };
    type();
    EXPECT_TRUE(f.panel->flow().isModified());
    f.key(key::kUndo);
    EXPECT_FALSE(f.panel->flow().isModified());
    f.key(key::kRedo);
    EXPECT_TRUE(f.panel->flow().isModified());
    f.key(key::kEnd);
    EXPECT_EQ(f.window.title(), "model.qvl *  - Quorvatelle");
    f.window.scriptAnswer(Answer::Yes);
    f.choose(MenuCommand::Exit);
    EXPECT_EQ(f.window.exitStatus(), 0);
    EXPECT_EQ(fromDiskLineEnds(fileBytes(f.folder.file("model.qvl"))),
              "table M{\n    a:=2!\n}\n" + kModelLayout + "//--end");
}

// A value typed into a grid cell and not yet committed (no Enter, no click
// elsewhere) is what the window shows: each command that saves or drops
// the document commits it first, so the file holds it.
constexpr const char* kGridModel = "table M{a:=1! b:=a*10!}\noptimized(10,20) result(M);\n";

// Types `text` into a cell of the grid (at first the cell of field a),
// leaving the edit open.
void typeIntoCell(PanelFixture& f, std::string_view text, std::int32_t column = 1,
                  std::int32_t row = 1) {
    auto grid = cast<TableEditable>(cast<ResultEditable>(f.frame(0)->view())->innerView());
    ASSERT_FALSE(grid.isNull());
    f.layout();
    toolkit::Rect cell = grid->cellRect(column, row);
    f.click({cell.x + cell.width / 2, cell.y + cell.height / 2});
    f.type(text);
    ASSERT_FALSE(f.panel->formulaBar()->editedCell().isNull());
}

TEST(MainPanelFlow, ACellEditStillBeingTypedIsSavedByEachCommand) {
    struct Case {
        const char* name;
        MenuCommand command;
        std::vector<Answer> answers;
        std::vector<std::optional<std::string>> files;
        const char* savedName;
    };
    const Case cases[] = {
        {"save", MenuCommand::Save, {}, {}, "model.qvl"},
        {"save as", MenuCommand::SaveAs, {}, {"copy.qvl"}, "copy.qvl"},
        {"new", MenuCommand::New, {Answer::Yes}, {}, "model.qvl"},
        {"open", MenuCommand::Open, {Answer::Yes}, {std::nullopt}, "model.qvl"},
        {"exit", MenuCommand::Exit, {Answer::Yes}, {}, "model.qvl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelFixture f;
        f.startOn("model.qvl", kGridModel);
        typeIntoCell(f, "7");
        for (Answer answer : c.answers)
            f.window.scriptAnswer(answer);
        for (const std::optional<std::string>& file : c.files)
            f.window.scriptFile(file ? std::optional(f.folder.file(*file)) : std::nullopt);
        f.choose(c.command);
        EXPECT_EQ(fromDiskLineEnds(fileBytes(f.folder.file(c.savedName))),
                  "table M{\n    a:=7!\n    b:=a*10!\n}\noptimized(10,20) result(M);\n//--end");
        EXPECT_TRUE(f.panel->formulaBar()->editedCell().isNull());
        // A document still open shows what was saved, computed.
        if (c.command == MenuCommand::Save || c.command == MenuCommand::SaveAs) {
            std::vector<std::string> texts = f.window.paint().texts();
            EXPECT_NE(std::find(texts.begin(), texts.end(), "70"), texts.end());
        }
    }
}

// After an edit ends with Enter, the formula line beside the cell below
// shows that cell's value as computed with the edit, not before it.
TEST(MainPanelFlow, TheFormulaLineShowsTheValueTheEditComputed) {
    PanelFixture f;
    f.startOn("model.qvl", kGridModel);
    typeIntoCell(f, "7");
    f.key(key::kEnter);
    EXPECT_TRUE(f.panel->formulaBar()->editedCell().isNull());
    EXPECT_EQ(f.panel->formulaBar()->shownValue(), "70");
}

// A typed edit that is refused (here a new name for a field that another
// field of its table has) stops the command: the reason is shown, the edit
// stays open with the text as typed, nothing is written and the program
// goes on. (A formula that does not parse is no refusal: it is kept as
// typed and saved, its cells saying why.)
TEST(MainPanelFlow, ACellEditThatIsRefusedStopsEachCommand) {
    const std::string refused = "notice: M.a: the name b is taken in table B";
    for (MenuCommand command : {MenuCommand::Save, MenuCommand::SaveAs, MenuCommand::New,
                                MenuCommand::Open, MenuCommand::Exit}) {
        SCOPED_TRACE(static_cast<int>(command));
        PanelFixture f;
        f.startOn("model.qvl",
                  "table B{a:=1! b:=3!}\ntable M extends B{a:=2!}\noptimized(10,20) result(M);\n");
        std::string before = fileBytes(f.folder.file("model.qvl"));
        typeIntoCell(f, "b", 0, 1);
        f.window.scriptAnswer(Answer::Yes);
        f.choose(command);
        EXPECT_EQ(f.window.dialogs(), (std::vector<std::string>{refused}));
        EXPECT_EQ(f.window.exitStatus(), std::nullopt);
        EXPECT_EQ(fileBytes(f.folder.file("model.qvl")), before);
        ASSERT_FALSE(f.panel->formulaBar()->editedCell().isNull());
        EXPECT_EQ(std::string(f.panel->formulaBar()->field()->text()), "b");
        // Enter tries again, and is refused again, with the edit still open.
        f.key(toolkit::key::kEnter);
        EXPECT_EQ(f.lastDialog(), refused);
    }
}

// A document that does not read replaces nothing: the current one stays
// with its path, its changes and its undo history, and the notice says
// what is wrong and where.
TEST(MainPanelFlow, AFailedOpenKeepsTheDocumentAndItsHistory) {
    struct Case {
        const char* file;
        const char* bytes;  // nullptr: no such file
        std::string notice;
    };
    const std::string prefix =
        "notice: Can not load the file because it contain the following error:\n\n";
    const Case cases[] = {
        {"missing.qvl", nullptr, "can not open "},
        {"syntax.qvl", "table T{a:=1!}\n\noptimized(1) text(\"x\");",
         "expecting ,\n\n(line 3, column 12)"},
        {"chart.qvl", "optimized(1,1) chart(Nowhere);", "table not found\n\n(line 1, column 22)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        PanelFixture f;
        startChanged(f);
        std::string path = f.folder.file(c.file);
        if (c.bytes != nullptr) putFileBytes(path, c.bytes);
        f.window.scriptAnswer(Answer::No);
        f.window.scriptFile(path);
        f.choose(MenuCommand::Open);
        EXPECT_EQ(
            f.lastDialog(),
            prefix + c.notice + (c.bytes == nullptr ? path + ": No such file or directory" : ""));
        EXPECT_EQ(f.state(), kModelChanged);
        // The history still undoes the change made before.
        f.key(key::kUndo);
        EXPECT_EQ(f.layoutText(), kModelLayout);
    }
}

// A save that fails says why and stops: no new document, no end of the
// program, the file on disk as it was.
TEST(MainPanelFlow, AFailedSaveStopsTheFlow) {
    for (MenuCommand command : {MenuCommand::Save, MenuCommand::New, MenuCommand::Exit}) {
        SCOPED_TRACE(static_cast<int>(command));
        PanelFixture f;
        startChanged(f);
        std::string model = f.folder.file("model.qvl");
        std::filesystem::remove(model);
        std::filesystem::create_directory(model);
        // The file went away (a folder took its place): the save asks first.
        if (command != MenuCommand::Save) f.window.scriptAnswer(Answer::Yes);
        f.window.scriptAnswer(Answer::Ok);
        f.choose(command);
        EXPECT_EQ(f.lastDialog(), "notice: can not write to " + model + ": not a regular file");
        EXPECT_EQ(f.state(), kModelChanged);
        EXPECT_TRUE(std::filesystem::is_directory(model));
    }
}

// The reason the system gives comes with the path (here a folder that is
// not there); the document stays modified.
TEST(MainPanelFlow, AFailedSaveSaysWhy) {
    struct Case {
        std::string path;
        std::string notice;
    };
    PanelFixture scratch;
    const std::string missing = scratch.folder.file("gone/model.qvl");
    const Case cases[] = {
        {missing, "notice: can not open " + missing + ": No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        PanelFixture f;
        startChanged(f);
        f.window.scriptFile(c.path);
        f.choose(MenuCommand::SaveAs);
        EXPECT_EQ(f.lastDialog(), c.notice);
        EXPECT_EQ(f.state(), kModelChanged);
    }
}

TEST(MainPanelFlow, SaveOnAnUntitledDocumentAsksForANameAndACancelChangesNothing) {
    PanelFixture f;
    f.start();
    f.choose(MenuCommand::TextArea);
    f.window.scriptFile(std::nullopt);
    f.choose(MenuCommand::Save);
    EXPECT_EQ(f.lastDialog(), "save: Quorvatelle Documents(*.qvl),*.qvl,All Files(*.*),*.*,");
    EXPECT_EQ(f.window.title(), "Untitled *  - Quorvatelle");
    std::string path = f.folder.file("named.qvl");
    f.window.scriptFile(path);
    f.choose(MenuCommand::Save);
    EXPECT_EQ(f.window.title(), "named.qvl - Quorvatelle");
    EXPECT_TRUE(std::filesystem::exists(path));
}

// The source window: its text is the document's; typing in it changes
// nothing until Ctrl+Enter reloads it, which replaces the document (then
// modified, its history gone); a text that does not read keeps everything.
TEST(MainPanelSource, TheSourceWindowReloadsTheDocument) {
    PanelFixture f;
    startChanged(f);
    f.choose(MenuCommand::Source);
    SourceWindow* source = f.panel->sourceWindow();
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(f.window.openedWindows().size(), 1u);
    toolkit::HeadlessWindow& window = *f.window.openedWindows()[0];
    EXPECT_EQ(window.title(), "View Source");
    EXPECT_EQ(window.size(), (toolkit::Size{400, 270}));
    EXPECT_EQ(std::string(source->sourceField()->text()), f.document());

    // Typing goes into the upper field and leaves the document alone.
    source->key(key::kEnd, {}, 0);
    for (char ch : std::string("optimized(0,0) text(\"new\");"))
        source->key(key::kCharacter, std::string_view(&ch, 1), 0);
    EXPECT_EQ(f.state(), kModelChanged);

    source->key(key::kEnter, {}, toolkit::modifier::kControl);
    EXPECT_EQ(std::string(source->messageField()->text()), "reload succesful");
    EXPECT_EQ(f.state(), "undo=0 redo=0 modified=yes exit=none title=model.qvl *  - Quorvatelle\n" +
                             kModelLayout +
                             "optimized(140,40) text(\"\");\noptimized(0,0) text(\"new\");\n");

    // A text that does not read: the message says what and where.
    std::string before = f.state();
    source->key(key::kCharacter, "}", 0);
    source->key(key::kEnter, {}, toolkit::modifier::kControl);
    EXPECT_TRUE(std::string(source->messageField()->text()).starts_with("expecting "))
        << source->messageField()->text();
    EXPECT_EQ(f.state(), before);

    // Enter in the message line prints its expression as the kernel does.
    source->mouse(toolkit::MouseKind::Press, {20, 270 - 70}, 0);
    source->mouse(toolkit::MouseKind::Release, {20, 270 - 70}, 0);
    source->key(key::kSelectAll, {}, 0);
    for (char ch : std::string("1+2*3"))
        source->key(key::kCharacter, std::string_view(&ch, 1), 0);
    source->key(key::kEnter, {}, 0);
    EXPECT_EQ(std::string(source->sourceField()->text()), "1 + 2 * 3");

    // Choosing the item again fills the open window anew.
    f.choose(MenuCommand::Source);
    EXPECT_EQ(f.panel->sourceWindow(), source);
    EXPECT_EQ(std::string(source->sourceField()->text()), f.document());
}

}  // namespace
}  // namespace qv
