// The undo and redo stacks and their saved position, and the two grid
// commands against a stand-in grid.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editing/BooleanChangeCommand.h"
#include "editing/ColWidthChangeCommand.h"
#include "editing/CommandManager.h"

namespace qv {
namespace {

// Appends its letter on redo and removes it on undo.
class AppendCommand final : public Command {
    QV_OBJECT(AppendCommand, Command, "AppendCommand")
  public:
    AppendCommand(std::string& log, char letter, bool changesDocument = true)
        : m_log(log), m_letter(letter), m_changesDocument(changesDocument) {}
    void redo() override { m_log += m_letter; }
    void undo() override {
        ASSERT_FALSE(m_log.empty());
        ASSERT_EQ(m_log.back(), m_letter);
        m_log.pop_back();
    }
    bool changesDocument() const override { return m_changesDocument; }
    StringPointer describe() const override { return str(std::string("Append ") + m_letter); }

  private:
    std::string& m_log;
    char m_letter;
    bool m_changesDocument;
};

struct Step {
    // "x<letter>" executes, "v<letter>" executes a command the document does
    // not show (a session-only view), "u" undoes, "r" redoes, "c" clears,
    // "s" saves, "j<count>" joins the newest commands into one step
    const char* action;
    const char* log;
    std::int32_t undo;
    std::int32_t redo;
    bool modified;
};

void run(const std::vector<Step>& steps) {
    CommandManager manager;
    std::string log;
    for (const Step& step : steps) {
        std::string action = step.action;
        if (action[0] == 'x' || action[0] == 'v') {
            manager.execute(make<AppendCommand>(log, action[1], action[0] == 'x'), true);
        } else if (action == "u") {
            manager.undo();
        } else if (action == "r") {
            manager.redo();
        } else if (action == "s") {
            manager.markClean();
        } else if (action[0] == 'j') {
            manager.joinNewest(action[1] - '0');
        } else {
            manager.clear();
        }
        SCOPED_TRACE(action);
        EXPECT_EQ(log, step.log);
        EXPECT_EQ(manager.undoCount(), step.undo);
        EXPECT_EQ(manager.redoCount(), step.redo);
        EXPECT_EQ(!manager.isClean(), step.modified);
        EXPECT_EQ(manager.canUndo(), step.undo > 0);
        EXPECT_EQ(manager.canRedo(), step.redo > 0);
    }
}

TEST(CommandManagerTest, ExecuteUndoAndRedoMoveAcrossTheStartingPosition) {
    run({
        {"xa", "a", 1, 0, true},
        {"u", "", 0, 1, false},  // back where the history began
        {"r", "a", 1, 0, true},
        {"xb", "ab", 2, 0, true},
        {"u", "a", 1, 1, true},
        {"u", "", 0, 2, false},
        {"u", "", 0, 2, false},  // nothing to undo: nothing changes
        {"r", "a", 1, 1, true},
        {"r", "ab", 2, 0, true},
        {"r", "ab", 2, 0, true},  // nothing to redo
    });
}

// Each sequence ends in the state the document really is in: modified
// whenever its text would differ from the saved one.
TEST(CommandManagerTest, TheSavedPositionIsCleanAndLostWithTheRedoHistoryHoldingIt) {
    const std::vector<std::vector<Step>> sequences = {
        // Save, undo, a different change: the saved text is gone for good.
        {{"xa", "a", 1, 0, true},
         {"s", "a", 1, 0, false},
         {"u", "", 0, 1, true},
         {"xb", "b", 1, 0, true},
         {"u", "", 0, 1, true},
         {"xc", "c", 1, 0, true}},
        // Save, undo, redo: back at the saved text.
        {{"xa", "a", 1, 0, true},
         {"xb", "ab", 2, 0, true},
         {"s", "ab", 2, 0, false},
         {"u", "a", 1, 1, true},
         {"r", "ab", 2, 0, false}},
        // Undo past the save, then redo back to it and beyond.
        {{"xa", "a", 1, 0, true},
         {"s", "a", 1, 0, false},
         {"xb", "ab", 2, 0, true},
         {"u", "a", 1, 1, false},
         {"u", "", 0, 2, true},
         {"r", "a", 1, 1, false},
         {"r", "ab", 2, 0, true},
         {"u", "a", 1, 1, false}},
        // A new command on top of the saved position keeps it reachable.
        {{"xa", "a", 1, 0, true},
         {"s", "a", 1, 0, false},
         {"xb", "ab", 2, 0, true},
         {"u", "a", 1, 1, false},
         {"xc", "ac", 2, 0, true},
         {"u", "a", 1, 1, false}},
        // A load clears the history and is clean; editing and undoing
        // comes back to it.
        {{"xa", "a", 1, 0, true},
         {"xb", "ab", 2, 0, true},
         {"u", "a", 1, 1, true},
         {"c", "a", 0, 0, false},
         {"u", "a", 0, 0, false},
         {"xc", "ac", 1, 0, true},
         {"u", "a", 0, 1, false},
         {"r", "ac", 1, 0, true}},
        // A save after the saved position was lost makes it clean again.
        {{"s", "", 0, 0, false},
         {"xa", "a", 1, 0, true},
         {"u", "", 0, 1, false},
         {"xb", "b", 1, 0, true},
         {"s", "b", 1, 0, false},
         {"u", "", 0, 1, true}},
    };
    for (std::size_t i = 0; i < sequences.size(); ++i) {
        SCOPED_TRACE("sequence " + std::to_string(i));
        run(sequences[i]);
    }
}

// Commands the document does not show are undone and redone like others
// but never make it modified: only the commands that change its text count
// between the current position and the saved one.
TEST(CommandManagerTest, CommandsTheDocumentDoesNotShowLeaveItClean) {
    const std::vector<std::vector<Step>> sequences = {
        // Alone, undone and redone.
        {{"va", "a", 1, 0, false}, {"u", "", 0, 1, false}, {"r", "a", 1, 0, false}},
        // A real change after it, undone back over it.
        {{"va", "a", 1, 0, false},
         {"xb", "ab", 2, 0, true},
         {"u", "a", 1, 1, false},
         {"u", "", 0, 2, false},
         {"r", "a", 1, 1, false},
         {"r", "ab", 2, 0, true}},
        // Undo past it to a real change before it.
        {{"xa", "a", 1, 0, true},
         {"vb", "ab", 2, 0, true},
         {"u", "a", 1, 1, true},
         {"u", "", 0, 2, false}},
        // Saved after it and a real change, then undone.
        {{"xa", "a", 1, 0, true},
         {"vb", "ab", 2, 0, true},
         {"s", "ab", 2, 0, false},
         {"u", "a", 1, 1, false},
         {"u", "", 0, 2, true},
         {"r", "a", 1, 1, false},
         {"vc", "ac", 2, 0, false}},
        // Saved with it, undone, and a new one drops it: still the saved text.
        {{"va", "a", 1, 0, false},
         {"s", "a", 1, 0, false},
         {"u", "", 0, 1, false},
         {"vb", "b", 1, 0, false},
         {"u", "", 0, 1, false},
         {"xc", "c", 1, 0, true},
         {"u", "", 0, 1, false}},
        // The dropped history held a real change too: the saved text is gone.
        {{"xa", "a", 1, 0, true},
         {"vb", "ab", 2, 0, true},
         {"s", "ab", 2, 0, false},
         {"u", "a", 1, 1, false},
         {"u", "", 0, 2, true},
         {"vc", "c", 1, 0, true},
         {"u", "", 0, 1, true}},
    };
    for (std::size_t i = 0; i < sequences.size(); ++i) {
        SCOPED_TRACE("sequence " + std::to_string(i));
        run(sequences[i]);
    }
}

// Joined commands are undone and redone as one step; a saved position
// among them is kept where one of the step's ends shows the same text.
TEST(CommandManagerTest, JoinedCommandsAreOneStep) {
    const std::vector<std::vector<Step>> sequences = {
        {{"xa", "a", 1, 0, true},
         {"vb", "ab", 2, 0, true},
         {"j2", "ab", 1, 0, true},
         {"u", "", 0, 1, false},
         {"r", "ab", 1, 0, true}},
        // Too few commands, or one: nothing changes.
        {{"xa", "a", 1, 0, true}, {"j2", "a", 1, 0, true}, {"j1", "a", 1, 0, true}},
        // Saved between a change and a view: the step's end shows the saved text.
        {{"xa", "a", 1, 0, true},
         {"s", "a", 1, 0, false},
         {"vb", "ab", 2, 0, false},
         {"j2", "ab", 1, 0, false},
         {"u", "", 0, 1, true},
         {"r", "ab", 1, 0, false}},
        // Saved between two changes: no end of the step shows it.
        {{"xa", "a", 1, 0, true},
         {"s", "a", 1, 0, false},
         {"xb", "ab", 2, 0, true},
         {"j2", "ab", 1, 0, true},
         {"u", "", 0, 1, true}},
        // Saved before: the step's start.
        {{"xa", "a", 1, 0, true},
         {"s", "a", 1, 0, false},
         {"xb", "ab", 2, 0, true},
         {"xc", "abc", 3, 0, true},
         {"j2", "abc", 2, 0, true},
         {"u", "a", 1, 1, false}},
    };
    for (std::size_t i = 0; i < sequences.size(); ++i) {
        SCOPED_TRACE("sequence " + std::to_string(i));
        run(sequences[i]);
    }
}

// A keystroke of the formula bar: it changes the bar's text only.
class DraftCommand final : public Command {
    QV_OBJECT(DraftCommand, Command, "DraftCommand")
  public:
    DraftCommand(std::string& bar, char letter) : m_bar(bar), m_letter(letter) {}
    void redo() override { m_bar += m_letter; }
    void undo() override { m_bar.pop_back(); }
    bool changesDocument() const override { return false; }
    bool isDraft() const override { return true; }

  private:
    std::string& m_bar;
    char m_letter;
};

// Drafts undo one by one until a change is recorded after them; then they
// are gone and undo goes straight to that change and the one before.
TEST(CommandManagerTest, AChangeDropsTheDraftsBeforeIt) {
    struct Row {
        const char* what;
        const char* actions;  // x: a change, d: a draft, u: undo, r: redo, s: save
        const char* log;
        std::int32_t undo;
        bool modified;
    };
    const std::vector<Row> rows = {
        {"typed, then committed", "xdddx", "ab", 2, true},
        {"committed, then undone", "xdddxu", "a", 1, true},
        {"undone twice: no keystroke left to replay", "xdddxuu", "", 0, false},
        {"drafts undone while typing", "xddu", "a", 2, true},
        {"saved while typing: the commit's undo is clean", "xddsxu", "a", 1, false},
        {"saved before typing", "xsddx", "ab", 2, true},
        {"saved, undone, typed, committed", "xsudx", "b", 1, true},
        {"drafts alone stay", "ddd", "", 3, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CommandManager manager;
        std::string log;
        std::string bar;
        char next = 'a';
        for (const char* action = row.actions; *action != '\0'; ++action) {
            switch (*action) {
                case 'x':
                    manager.execute(make<AppendCommand>(log, next++), true);
                    break;
                case 'd':
                    manager.execute(make<DraftCommand>(bar, '.'), true);
                    break;
                case 'u':
                    manager.undo();
                    break;
                case 'r':
                    manager.redo();
                    break;
                case 's':
                    manager.markClean();
                    break;
            }
        }
        EXPECT_EQ(log, row.log);
        EXPECT_EQ(manager.undoCount(), row.undo);
        EXPECT_EQ(manager.isClean(), !row.modified);
    }
}

TEST(CommandManagerTest, ExecuteWithoutApplyingRecordsAChangeAlreadyMade) {
    CommandManager manager;
    std::string log = "a";  // the caller made the change itself
    manager.execute(make<AppendCommand>(log, 'a'), false);
    EXPECT_EQ(log, "a");
    EXPECT_FALSE(manager.isClean());
    manager.undo();
    EXPECT_EQ(log, "");
    EXPECT_TRUE(manager.isClean());
}

TEST(CommandManagerTest, DescribeListsBothStacksOldestFirst) {
    CommandManager manager;
    std::string log;
    EXPECT_EQ(manager.describe()->toStdString(), "undo----->\nredo----->\n");
    manager.execute(make<AppendCommand>(log, 'a'), true);
    manager.execute(make<AppendCommand>(log, 'b'), true);
    manager.execute(make<AppendCommand>(log, 'c'), true);
    manager.undo();
    EXPECT_EQ(manager.describe()->toStdString(),
              "undo----->\nAppend a\nAppend b\nredo----->\nAppend c\n");
}

// A grid's columns and Boolean cells as the two commands see them.
class FakeGrid final : public ColumnWidthTarget {
    QV_OBJECT(FakeGrid, ColumnWidthTarget, "FakeGrid")
  public:
    std::vector<std::int32_t> widths;
    bool kept = true;
    bool isKeptInDocument() const override { return kept; }
    std::int32_t columnCount() const override { return static_cast<std::int32_t>(widths.size()); }
    std::int32_t columnWidth(std::int32_t column) const override {
        return widths.at(static_cast<std::size_t>(column));
    }
    void setColumnWidth(std::int32_t column, std::int32_t width) override {
        widths.at(static_cast<std::size_t>(column)) = width;
    }
};

class FakeFlags final : public BooleanCellTarget {
    QV_OBJECT(FakeFlags, BooleanCellTarget, "FakeFlags")
  public:
    std::map<std::pair<std::int32_t, std::int32_t>, bool> cells;
    std::int32_t writes = 0;
    std::optional<bool> booleanAt(std::int32_t column, std::int32_t row) const override {
        auto found = cells.find({column, row});
        if (found == cells.end()) return std::nullopt;
        return found->second;
    }
    void setBooleanAt(std::int32_t column, std::int32_t row, bool value) override {
        cells[{column, row}] = value;
        ++writes;
    }
};

TEST(CommandManagerTest, ColumnWidthChangesAndReturnsAndSparesMissingColumns) {
    auto grid = make<FakeGrid>();
    grid->widths = {80, 100};
    CommandManager manager;
    manager.execute(make<ColWidthChangeCommand>(grid, 1, 25), true);
    EXPECT_EQ(grid->widths, (std::vector<std::int32_t>{80, 125}));
    manager.undo();
    EXPECT_EQ(grid->widths, (std::vector<std::int32_t>{80, 100}));
    manager.redo();
    EXPECT_EQ(grid->widths, (std::vector<std::int32_t>{80, 125}));
    // The table lost its second field since: undo must not reach past the
    // columns the grid has.
    grid->widths = {80};
    manager.undo();
    manager.redo();
    EXPECT_EQ(grid->widths, (std::vector<std::int32_t>{80}));
    EXPECT_EQ(manager.undoCount(), 1);
    EXPECT_FALSE(manager.isClean());
    // A grid of a view the document does not keep: no change to save.
    grid->kept = false;
    EXPECT_TRUE(manager.isClean());
}

TEST(CommandManagerTest, BooleanChangeTogglesOnlyBooleanCells) {
    auto flags = make<FakeFlags>();
    flags->cells[{2, 3}] = false;
    CommandManager manager;
    manager.execute(make<BooleanChangeCommand>(flags, 2, 3), true);
    EXPECT_TRUE(flags->cells.at({2, 3}));
    manager.undo();
    EXPECT_FALSE(flags->cells.at({2, 3}));
    manager.redo();
    EXPECT_TRUE(flags->cells.at({2, 3}));
    // A cell that is not (or no longer) a Boolean one is left alone.
    manager.execute(make<BooleanChangeCommand>(flags, 0, 0), true);
    manager.undo();
    EXPECT_EQ(flags->writes, 3);
    EXPECT_FALSE(flags->booleanAt(0, 0).has_value());
}

}  // namespace
}  // namespace qv
