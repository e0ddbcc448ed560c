// The undo and redo stacks and the change counter, and the two grid
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
    AppendCommand(std::string& log, char letter) : m_log(log), m_letter(letter) {}
    void redo() override { m_log += m_letter; }
    void undo() override {
        ASSERT_FALSE(m_log.empty());
        ASSERT_EQ(m_log.back(), m_letter);
        m_log.pop_back();
    }
    StringPointer describe() const override { return str(std::string("Append ") + m_letter); }

  private:
    std::string& m_log;
    char m_letter;
};

struct Step {
    const char* action;  // "x<letter>" executes, "u" undoes, "r" redoes, "c" clears
    const char* log;
    std::int32_t undo;
    std::int32_t redo;
    std::int32_t counter;
};

void run(const std::vector<Step>& steps) {
    CommandManager manager;
    std::string log;
    for (const Step& step : steps) {
        std::string action = step.action;
        if (action[0] == 'x') {
            manager.execute(make<AppendCommand>(log, action[1]), true);
        } else if (action == "u") {
            manager.undo();
        } else if (action == "r") {
            manager.redo();
        } else {
            manager.clear();
        }
        SCOPED_TRACE(action);
        EXPECT_EQ(log, step.log);
        EXPECT_EQ(manager.undoCount(), step.undo);
        EXPECT_EQ(manager.redoCount(), step.redo);
        EXPECT_EQ(manager.changeCounter(), step.counter);
        EXPECT_EQ(manager.canUndo(), step.undo > 0);
        EXPECT_EQ(manager.canRedo(), step.redo > 0);
    }
}

TEST(CommandManagerTest, ExecuteUndoRedoKeepTheCounterInStep) {
    run({
        {"xa", "a", 1, 0, 1},
        {"u", "", 0, 1, 0},   // back to the value before execute
        {"r", "a", 1, 0, 1},  // back to the value after execute
        {"xb", "ab", 2, 0, 2},
        {"u", "a", 1, 1, 1},
        {"u", "", 0, 2, 0},
        {"u", "", 0, 2, 0},  // nothing to undo: nothing changes
        {"r", "a", 1, 1, 1},
        {"r", "ab", 2, 0, 2},
        {"r", "ab", 2, 0, 2},  // nothing to redo
    });
}

TEST(CommandManagerTest, ANewCommandAfterUndoForgetsTheUndoneOnes) {
    run({
        {"xa", "a", 1, 0, 1},
        {"xb", "ab", 2, 0, 2},
        {"u", "a", 1, 1, 1},
        {"xc", "ac", 2, 0, 2},
        {"r", "ac", 2, 0, 2},
        {"u", "a", 1, 1, 1},
        {"r", "ac", 2, 0, 2},
    });
}

TEST(CommandManagerTest, ClearForgetsBothStacksAndStillMovesTheCounter) {
    run({
        {"xa", "a", 1, 0, 1},
        {"xb", "ab", 2, 0, 2},
        {"u", "a", 1, 1, 1},
        {"c", "a", 0, 0, 2},
        {"u", "a", 0, 0, 2},
        {"xc", "ac", 1, 0, 3},
        {"u", "a", 0, 1, 2},
    });
}

TEST(CommandManagerTest, ExecuteWithoutApplyingRecordsAChangeAlreadyMade) {
    CommandManager manager;
    std::string log = "a";  // the caller made the change itself
    manager.execute(make<AppendCommand>(log, 'a'), false);
    EXPECT_EQ(log, "a");
    EXPECT_EQ(manager.changeCounter(), 1);
    manager.undo();
    EXPECT_EQ(log, "");
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
    EXPECT_EQ(manager.changeCounter(), 1);
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
