// Views moved about the work area by the mouse: raising, dragging about
// (no undo step), into and out of layout tables (one step each), and the
// whole state after every step and every undo and redo.
#include <string>
#include <vector>

#include "editing/DetachDropCommand.h"
#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

const std::string kEmptyTable = "ltable{\n    lrow{\n        ;\n    }\n}\n";

std::string tableWith(const std::string& cell) {
    return "ltable{\n    lrow{\n        " + cell + "    }\n}\n";
}

class DragDropTest : public EditingTest {
  protected:
    // A point of the title bar left of the buttons.
    static toolkit::Point grip(const Pointer<TitleDecorator>& frame) {
        toolkit::Rect bar = frame->titleBarRect();
        return {bar.x + 4, bar.y + bar.height / 2};
    }
    Pointer<LayoutTableEditable> addTable(toolkit::Point corner) {
        auto table = make<LayoutTableEditable>();
        m_tableFrame = addFrame(table, FramePlacement::Optimized, corner);
        return table;
    }
    Pointer<TitleDecorator> m_tableFrame;
};

TEST_F(DragDropTest, APressOnTheLowerOfTwoFramesBringsItToTheTop) {
    auto first = addText("first", {40, 40});
    addText("second", {60, 50});
    ASSERT_TRUE(first->bounds().contains({45, 45}));
    press({45, 45});
    releaseAt({45, 45});
    EXPECT_EQ(support().selected(), Pointer<AbstractEditable>(first));
    EXPECT_EQ(state(), (WorkAreaState{0, 0, false,
                                      "optimized(60,50) text(\"second\");\n"
                                      "optimized(40,40) text(\"first\");\n"}));
    // A press on nothing selects nothing.
    press({900, 700});
    EXPECT_TRUE(support().selected().isNull());
}

// Moving a frame by its title bar is a change of the document: one step
// that undo takes back to the saved layout, and redo makes again.
TEST_F(DragDropTest, DraggingAFrameAboutTheWorkAreaIsOneUndoStep) {
    auto frame = addText("a");
    const std::string saved = "optimized(40,40) text(\"a\");\n";
    const std::string moved = "optimized(200,150) text(\"a\");\n";
    const toolkit::Point start = grip(frame);
    press(start);
    EXPECT_TRUE(root().isDragArmed());
    dragTo({start.x + 60, start.y + 30});
    EXPECT_TRUE(root().isDragging());
    dragTo({start.x + 160, start.y + 110});
    releaseAt({start.x + 160, start.y + 110});
    EXPECT_FALSE(root().isDragging());
    struct Step {
        const char* what;
        std::int32_t code;  // 0: none, the state after the drag
        WorkAreaState state;
    };
    const Step steps[] = {
        {"dragged", 0, {1, 0, true, moved}},
        {"undone", toolkit::key::kUndo, {0, 1, false, saved}},
        {"redone", toolkit::key::kRedo, {1, 0, true, moved}},
        {"undone again", toolkit::key::kUndo, {0, 1, false, saved}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.code != 0) key(step.code);
        EXPECT_EQ(state(), step.state);
    }
    // A drag that ends where it began changes nothing.
    const toolkit::Point back = grip(frame);
    press(back);
    dragTo({back.x + 50, back.y});
    dragTo(back);
    releaseAt(back);
    EXPECT_EQ(state(), (WorkAreaState{0, 1, false, saved}));
    // The pointer stays in the visible area: the frame cannot be dragged
    // out of sight above it.
    press(grip(frame));
    dragTo({-300, -300});
    EXPECT_EQ(panel->mouseInfo().x, 0);
    EXPECT_EQ(panel->mouseInfo().y, support().visibleArea().y);
    releaseAt({-300, -300});
    EXPECT_GE(frame->bounds().bottom(), support().visibleArea().y);
    EXPECT_EQ(commands().undoCount(), 1);
    key(toolkit::key::kUndo);
    EXPECT_EQ(state(), (WorkAreaState{0, 1, false, saved}));
}

TEST_F(DragDropTest, APressInAViewArmsNoDrag) {
    auto frame = addText("abc");
    press(centre(frame->view()->bounds()));
    EXPECT_FALSE(root().isDragArmed());
    dragTo({500, 500});
    releaseAt({500, 500});
    EXPECT_EQ(state(), (WorkAreaState{0, 0, false, "optimized(40,40) text(\"abc\");\n"}));
}

TEST_F(DragDropTest, DraggingIntoAPanelIsOneStepThatUndoReturns) {
    auto text = addText("first", {40, 40});
    auto table = addTable({300, 100});
    const std::string before =
        "optimized(300,100) " + kEmptyTable + "optimized(40,40) text(\"first\");\n";
    const std::string inside = "optimized(300,100) " + tableWith("text(\"first\");\n");
    dragAndDrop(grip(text), centre(table->bounds()));
    EXPECT_EQ(table->cellAt(0, 0), Pointer<AbstractEditable>(text));
    EXPECT_EQ(text->placement(), FramePlacement::InTable);
    EXPECT_EQ(root().frameCount(), 1);
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true, inside}));
    // The frame in the cell lies inside the table's frame.
    layout();
    EXPECT_TRUE(m_tableFrame->bounds().contains({text->bounds().x, text->bounds().y}));

    key(toolkit::key::kUndo);
    EXPECT_EQ(state(), (WorkAreaState{0, 1, false, before}));
    EXPECT_EQ(text->placement(), FramePlacement::Optimized);
    EXPECT_EQ(table->cellCount(), 0);
    key(toolkit::key::kRedo);
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true, inside}));
    key(toolkit::key::kUndo);
    EXPECT_EQ(state(), (WorkAreaState{0, 1, false, before}));
}

TEST_F(DragDropTest, DraggingOutOfAPanelIsOneStepThatUndoReturns) {
    auto table = addTable({300, 100});
    auto cell = inTable(make<TextEditable>("a"));
    table->put(cell, 0, 0);
    layout();
    const std::string inside = "optimized(300,100) " + tableWith("text(\"a\");\n");
    ASSERT_EQ(layoutText(), inside);
    // A press on the cell's title bar selects the cell's frame, not the
    // panel's, and arms the drag.
    press(grip(cell));
    EXPECT_EQ(support().selected(), Pointer<AbstractEditable>(cell));
    EXPECT_TRUE(root().isDragArmed());
    const toolkit::Point start{cell->bounds().x, cell->bounds().y};
    const toolkit::Point to{grip(cell).x - 210, grip(cell).y + 264};
    dragTo({grip(cell).x - 100, grip(cell).y + 100});
    EXPECT_EQ(table->cellCount(), 0);  // out of the table from the first movement
    dragTo(to);
    releaseAt(to);
    const std::string outside = "optimized(300,100) " + kEmptyTable + "optimized(" +
                                std::to_string(start.x - 210) + "," +
                                std::to_string(start.y + 264) + ") text(\"a\");\n";
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true, outside}));
    EXPECT_EQ(cell->placement(), FramePlacement::Optimized);

    key(toolkit::key::kUndo);
    EXPECT_EQ(state(), (WorkAreaState{0, 1, false, inside}));
    EXPECT_EQ(table->cellAt(0, 0), Pointer<AbstractEditable>(cell));
    key(toolkit::key::kRedo);
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true, outside}));
}

TEST_F(DragDropTest, DroppingOnAnOccupiedCellLeavesTheViewInTheWorkArea) {
    auto table = addTable({300, 100});
    auto cell = inTable(make<TextEditable>("a"));
    table->put(cell, 0, 0);
    auto loose = addText("b", {40, 300});
    layout();
    const toolkit::Point target = centre(cell->view()->bounds());
    dragAndDrop(grip(loose), target);
    EXPECT_EQ(table->cellCount(), 1);
    EXPECT_EQ(root().indexOf(*loose), 1);
    EXPECT_EQ(loose->placement(), FramePlacement::Optimized);
    // Where the grip was let go: a move about the work area, one step.
    EXPECT_EQ(grip(loose), target);
    EXPECT_EQ(commands().undoCount(), 1);
    key(toolkit::key::kUndo);
    EXPECT_EQ(loose->bounds().x, 40);
    EXPECT_EQ(loose->bounds().y, 300);
    EXPECT_EQ(table->cellCount(), 1);
}

TEST_F(DragDropTest, DroppingNearALineOfAPanelOpensANewColumn) {
    auto table = addTable({300, 100});
    table->put(inTable(make<TextEditable>("a")), 0, 0);
    auto loose = addText("b", {40, 300});
    layout();
    const std::int32_t lineAfter =
        table->bounds().x + table->columnPositions()[0] + table->columnWidths()[0];
    dragAndDrop(grip(loose), {lineAfter + 3, table->bounds().y + 20});
    EXPECT_EQ(table->columnCount(), 2);
    EXPECT_EQ(table->cellAt(0, 1), Pointer<AbstractEditable>(loose));
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true,
                                      "optimized(300,100) ltable{\n    lrow{\n        "
                                      "text(\"a\");\n        text(\"b\");\n    }\n}\n"}));
    key(toolkit::key::kUndo);
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(root().frameCount(), 2);
}

TEST_F(DragDropTest, DeleteRemovesTheSelectedViewAndDeleteWithNothingSelectedUndoes) {
    auto a = addText("a", {40, 40});
    auto b = addText("b", {300, 40});
    // The press raised a above b; undo puts it back in that place.
    const std::string both = "optimized(300,40) text(\"b\");\noptimized(40,40) text(\"a\");\n";
    press(grip(a));
    releaseAt(grip(a));
    key(toolkit::key::kDelete);
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true, "optimized(300,40) text(\"b\");\n"}));
    EXPECT_TRUE(support().selected().isNull());
    // Nothing selected: Delete undoes.
    key(toolkit::key::kDelete);
    EXPECT_EQ(state(), (WorkAreaState{0, 1, false, both}));
    // Delete in a text deletes a character instead.
    press(centre(b->view()->bounds()));
    key(toolkit::key::kHome);
    key(toolkit::key::kDelete);
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true,
                                      "optimized(40,40) text(\"a\");\noptimized(300,40) "
                                      "text(\"\");\n"}));
}

TEST_F(DragDropTest, DeletingAViewInAPanelAndUndoingPutsItBack) {
    auto table = addTable({300, 100});
    auto a = inTable(make<TextEditable>("a"));
    auto b = inTable(make<TextEditable>("b"));
    table->put(a, 0, 0);
    table->put(b, 1, 0);
    layout();
    const std::string full =
        "optimized(300,100) ltable{\n    lrow{\n        text(\"a\");\n    }\n    lrow{\n"
        "        text(\"b\");\n    }\n}\n";
    press(grip(a));
    releaseAt(grip(a));
    key(toolkit::key::kDelete);
    EXPECT_EQ(state(),
              (WorkAreaState{1, 0, true, "optimized(300,100) " + tableWith("text(\"b\");\n")}));
    key(toolkit::key::kUndo);
    EXPECT_EQ(state(), (WorkAreaState{0, 1, false, full}));
}

TEST_F(DragDropTest, AddingAViewAsACommandAndUndoingIt) {
    auto frame = inTable(make<TextEditable>("new"));
    auto rootPointer = panel->layoutRoot();
    commands().execute(
        make<DetachDropCommand>(rootPointer, frame, Pointer<AbstractPosition>(),
                                make<FloatLayoutPosition>(rootPointer, toolkit::Point{40, 40})),
        true);
    const std::string added = "optimized(40,40) text(\"new\");\n";
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true, added}));
    support().select(frame->view());
    key(toolkit::key::kUndo);
    EXPECT_EQ(state(), (WorkAreaState{0, 1, false, ""}));
    EXPECT_TRUE(support().selected().isNull());  // it went with its view
    key(toolkit::key::kRedo);
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true, added}));
    EXPECT_EQ(frame->bounds().x, 40);
    EXPECT_EQ(frame->bounds().y, 40);
}

TEST_F(DragDropTest, UndoOfAMoveWhoseViewLeftTheTreeMeanwhileDoesNoHarm) {
    auto text = addText("t", {40, 40});
    auto table = addTable({300, 100});
    dragAndDrop(grip(text), centre(table->bounds()));
    ASSERT_EQ(commands().undoCount(), 1);
    // The panel leaves the work area outside the history (as a reload
    // would replace it): undo cannot find the view where it left it.
    root().detach(m_tableFrame);
    key(toolkit::key::kUndo);
    EXPECT_EQ(root().indexOf(*text), 0);
    key(toolkit::key::kRedo);
    key(toolkit::key::kUndo);
    EXPECT_EQ(layoutText(), "optimized(40,40) text(\"t\");\n");
}

TEST_F(DragDropTest, TheMouseAndTheRecordedMoveGiveTheirDiagnosticForms) {
    auto text = addText("t", {40, 40});
    auto table = addTable({300, 100});
    const toolkit::Point from = grip(text);
    press(from);
    dragTo({from.x + 5, from.y + 7});
    EXPECT_EQ(panel->mouseInfo().describe(),
              "x=49,y=57,dx=5,dy=7,drag_x=44,drag_y=50,drag_dx=5,drag_dy=7");
    dragTo(centre(table->bounds()));
    releaseAt(centre(table->bounds()));
    layout();
    // The history's diagnostic form: the one step with the three parts it
    // records, whatever text each part gives of itself.
    const std::string history = commands().describe()->toStdString();
    EXPECT_EQ(history.rfind("undo----->\nDetachCommand{\n    editable=", 0), 0u) << history;
    for (const char* part :
         {"\n    detach_position=", "\n    drop_position=", "\n}\n\nredo----->\n"})
        EXPECT_NE(history.find(part), std::string::npos) << part << " in " << history;
}

TEST_F(DragDropTest, MovingOverViewsSetsTheirCursorAndElsewhereTheArrow) {
    auto frame = addText("abc");
    moveTo(centre(frame->view()->bounds()));
    EXPECT_EQ(window.cursor(), toolkit::CursorKind::TextBeam);
    moveTo({800, 600});
    EXPECT_EQ(window.cursor(), toolkit::CursorKind::Arrow);
    moveTo(centre(frame->view()->bounds()));
    EXPECT_EQ(window.cursor(), toolkit::CursorKind::TextBeam);
    moveTo(grip(frame));
    EXPECT_EQ(window.cursor(), toolkit::CursorKind::Arrow);
}

TEST_F(DragDropTest, APendingErrorIsShownBeforeTheNextEvent) {
    support().setPendingError("table not found");
    moveTo({500, 500});
    EXPECT_EQ(window.dialogs(), (std::vector<std::string>{"notice: table not found"}));
    moveTo({501, 500});
    EXPECT_EQ(window.dialogs().size(), 1u);
}

}  // namespace
}  // namespace qv
