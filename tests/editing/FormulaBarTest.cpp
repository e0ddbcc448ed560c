// The formula bar editing a grid cell's formula: typing shows in the cell
// at once, Tab and Enter commit and hand the key on, Escape cancels, and a
// failed commit is shown to the user.
#include <string>
#include <vector>

#include "core/Errors.h"
#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

namespace key = toolkit::key;

class RecordingCell final : public EditedFormulaCell {
    QV_OBJECT(RecordingCell, EditedFormulaCell, "RecordingCell")
  public:
    std::string formula = "=1";
    std::string failure;  // thrown by commitFormula when not empty
    std::vector<std::string> calls;

    std::string formulaText() const override { return formula; }
    void commitFormula(std::string_view text) override {
        calls.push_back("commit " + std::string(text));
        if (!failure.empty()) throwMessage(failure);
        formula = text;
    }
    void cancelEditing() override { calls.emplace_back("cancel"); }
    void showTyping(std::string_view text) override {
        calls.push_back("typing " + std::string(text));
    }
    void selectCell() override { calls.emplace_back("select"); }
    void cellKey(std::int32_t code, std::string_view, std::uint32_t) override {
        calls.push_back("key " + std::to_string(code));
    }
};

class FormulaBarTest : public EditingTest {
  protected:
    FormulaValueEditable& bar() { return *panel->formulaBar(); }
    Pointer<RecordingCell> startEditing() {
        auto cell = make<RecordingCell>();
        bar().startEditing(cell);
        support().select(bar().field());
        return cell;
    }
};

TEST_F(FormulaBarTest, EnterAndTabCommitAndPassTheKeyOn) {
    for (std::int32_t code : {key::kEnter, key::kTab}) {
        SCOPED_TRACE(code);
        auto cell = startEditing();
        EXPECT_EQ(bar().field()->text(), "=1");
        EXPECT_EQ(bar().field()->caret(), 2);
        type("+2");
        key(code);
        EXPECT_EQ(cell->formula, "=1+2");
        EXPECT_EQ(cell->calls, (std::vector<std::string>{"typing =1+", "typing =1+2", "commit =1+2",
                                                         "select", "key " + std::to_string(code)}));
        EXPECT_TRUE(bar().editedCell().isNull());
        // Editing has ended: another Enter is the field's own, and does nothing.
        key(key::kEnter);
        EXPECT_EQ(cell->calls.size(), 5u);
        EXPECT_EQ(bar().field()->text(), "=1+2");
    }
}

TEST_F(FormulaBarTest, EscapeCancelsAndTheFieldShowsTheFormulaAgain) {
    auto cell = startEditing();
    type("9");
    key(key::kEscape);
    EXPECT_EQ(cell->formula, "=1");
    EXPECT_EQ(bar().field()->text(), "=1");
    EXPECT_EQ(cell->calls, (std::vector<std::string>{"typing =19", "cancel", "select"}));
    EXPECT_TRUE(bar().editedCell().isNull());
}

TEST_F(FormulaBarTest, AFailedCommitIsShownAndEditingEndsAnyway) {
    auto cell = startEditing();
    cell->failure = "unexpected token";
    type(")");
    key(key::kEnter);
    EXPECT_EQ(window.dialogs(), (std::vector<std::string>{"notice: unexpected token"}));
    EXPECT_EQ(cell->calls.back(), "key " + std::to_string(key::kEnter));
    EXPECT_TRUE(bar().editedCell().isNull());
}

TEST_F(FormulaBarTest, WithoutACellTheBarIsAPlainField) {
    bar().showFormula("=A1");
    support().select(bar().field());
    key(key::kEnd);
    type("*2");
    key(key::kEnter);
    EXPECT_EQ(bar().field()->text(), "=A1*2");
    // A press on the bar's field selects it; Delete there deletes a character.
    layout();
    toolkit::Rect field = bar().field()->bounds();
    press({field.x + TextBase::kPadding + 1, field.y + 5});
    EXPECT_EQ(support().selected(), Pointer<AbstractEditable>(bar().field()));
    key(key::kDelete);
    EXPECT_EQ(bar().field()->text(), "A1*2");
    EXPECT_EQ(root().frameCount(), 0);
}

TEST_F(FormulaBarTest, TheBarSpansTheWindowAboveTheVisibleArea) {
    layout();
    const toolkit::Rect& box = bar().bounds();
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(box.width, 1024);
    // The label "Formula" in bold (9 pixels a character), the field 4
    // pixels after it and 3 from the top, 20 pixels short of the rest.
    const toolkit::Rect& field = bar().field()->bounds();
    EXPECT_EQ(field.x, FormulaValueEditable::kLabelLeft + 7 * 9 + 4);
    EXPECT_EQ(field.y, 3);
    EXPECT_EQ(field.width, 1024 - 7 * 9 - 20);
    EXPECT_EQ(support().visibleArea(),
              (toolkit::Rect{0, box.bottom() - 1, 1024, 768 - box.bottom() + 1}));
    EXPECT_EQ(bar().getTitle()->toStdString(), "formula/value");
    EXPECT_EQ(layoutText(), "");
}

}  // namespace
}  // namespace qv
