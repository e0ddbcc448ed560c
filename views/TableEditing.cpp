// Editing the grid's cells through the formula bar: typing on a cell (or F2,
// or a double click) hands the cell's formula to the bar, the cell shows
// the text as it is typed, and committing writes it into the model as one
// undoable step. Every model edit of the grid goes through runEdit, which
// hands it to the model editor.
#include "editing/EditableSupport.h"
#include "editing/FloatLayoutEditable.h"
#include "editing/FormulaValueEditable.h"
#include "kernel/TypedFormula.h"
#include "model/ModelEditor.h"
#include "views/NameEditRequest.h"
#include "views/TableCells.h"
#include "views/TableEditable.h"

namespace qv {

namespace {

// A typed text becomes a cell's formula only with a leading "=" (a number,
// true, false or a signed text aside); anything else is a string. So the
// bar shows a formula with its "=", and a string without its quotes, each
// only where typing the text back gives the same formula: committing an
// unchanged text changes nothing.
std::string formulaForEditing(const Pointer<CellModel>& cell) {
    StringPointer source = cell->editText();
    if (!is<ExpressionCell>(cell) || source->length() == 0) return source->toStdString();
    if (typedFormulaText(source)->equals(source->view())) return source->toStdString();
    std::string_view text = source->view();
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        StringPointer unquoted = str(text.substr(1, text.size() - 2));
        if (typedFormulaText(unquoted)->equals(text)) return unquoted->toStdString();
    }
    return "=" + source->toStdString();
}

}  // namespace

// The cell the formula bar edits: the cell an edit of the grid's current
// position writes to (for a value, the cell holding its formula).
class GridEditedCell final : public EditedFormulaCell {
    QV_OBJECT(GridEditedCell, EditedFormulaCell, "GridEditedCell")
  public:
    GridEditedCell(Pointer<TableEditable> grid, std::int32_t column, std::int32_t row,
                   Pointer<CellModel> target)
        : m_grid(std::move(grid)), m_column(column), m_row(row), m_target(std::move(target)) {}

    const TableEditable* grid() const noexcept { return m_grid.get(); }

    std::string formulaText() const override { return formulaForEditing(m_target); }
    void commitFormula(std::string_view text) override {
        m_grid->m_typing.end();
        Pointer<CellModel> target = m_target;
        StringPointer typed = str(text);
        m_grid->editCellText("edit", m_column, m_row, target, typed);
    }
    void cancelEditing() override {
        m_grid->m_typing.end();
        m_grid->repaint();
    }
    void showTyping(std::string_view text) override {
        m_grid->m_typing.show(text);
        m_grid->repaint();
    }
    void selectCell() override {
        if (m_grid->support() != nullptr) m_grid->support()->select(m_grid);
    }
    // The key that ended the edit moves on from the cell (Enter down, Tab
    // right); an edit ended by a click elsewhere passes none.
    // Enter after an edit only moves: it must not also activate the line
    // (open the table just renamed in the list of tables).
    void cellKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override {
        if (code == toolkit::key::kEnter) return m_grid->move(0, 1);
        if (code >= 0) m_grid->handleKey(code, text, modifiers);
    }

  private:
    Pointer<TableEditable> m_grid;
    std::int32_t m_column;
    std::int32_t m_row;
    Pointer<CellModel> m_target;
};

FormulaValueEditable* TableEditable::formulaBar() const {
    if (support() == nullptr) return nullptr;
    auto root = cast<FloatLayoutEditable>(support()->layoutRoot());
    if (root.isNull()) return nullptr;
    auto bar = cast<FormulaValueEditable>(root->formulaBar());
    return bar.isNull() ? nullptr : bar.get();
}

Pointer<CellModel> TableEditable::editTarget(std::int32_t column, std::int32_t row) const {
    if (column < 0 || row < 0 || column >= m_model->columnCount() || row >= m_model->rowCount())
        return {};
    Pointer<CellModel> cell = m_model->createCell(column, row);
    if (auto result = cast<ResultCell>(cell); !result.isNull()) cell = result->formulaCell();
    if (cell.isNull() || !cell->isEditable()) return {};
    return cell;
}

bool TableEditable::isEditingHere() const {
    FormulaValueEditable* bar = formulaBar();
    if (bar == nullptr) return false;
    auto edited = cast<GridEditedCell>(bar->editedCell());
    return !edited.isNull() && edited->grid() == this;
}

void TableEditable::startEditing(std::optional<std::string_view> typed) {
    FormulaValueEditable* bar = formulaBar();
    Pointer<CellModel> target = editTarget(m_selection.column(), m_selection.row());
    if (bar == nullptr || target.isNull()) return;
    m_selection.clearColumnRange();
    revealCurrent();
    auto cell = make<GridEditedCell>(Pointer<TableEditable>(this), m_selection.column(),
                                     m_selection.row(), target);
    bar->startEditing(cell);
    const Pointer<FormulaTextFieldEditable>& field = bar->field();
    if (typed) {
        // The typed character replaces the cell's text.
        field->setText(*typed);
        field->setCaret(static_cast<std::int32_t>(typed->size()));
        field->textChanged();
    }
    m_typing.show(field->text());
    support()->select(field);
    repaint();
}

void TableEditable::commitPending() {
    if (!isEditingHere()) return;
    formulaBar()->commit(-1, {}, 0);
}

// What the bar shows for a selected cell: an error's message, else the
// text an edit would start from with a computed value's whole text beside
// it (the grid may show it rounded), else what the cell shows.
void TableEditable::showCurrentFormula() {
    FormulaValueEditable* bar = formulaBar();
    if (bar == nullptr || !bar->editedCell().isNull()) return;
    if (m_selection.column() >= m_model->columnCount() ||
        m_selection.row() >= m_model->rowCount()) {
        bar->showFormula("");
        return;
    }
    Pointer<CellModel> cell = m_model->createCell(m_selection.column(), m_selection.row());
    Pointer<CellModel> target = editTarget(m_selection.column(), m_selection.row());
    if (cell->isError() || target.isNull()) {
        bar->showFormula(cell->editText()->view());
    } else {
        bool computed = is<ResultCell>(cell) && !cell->isSpecial();
        bar->showFormula(formulaForEditing(target),
                         computed ? cell->editText()->view() : std::string_view());
    }
}

std::optional<CellPlace> TableEditable::currentPlace() const {
    if (m_selection.column() >= m_model->columnCount() || m_selection.row() >= m_model->rowCount())
        return std::nullopt;
    auto cell = cast<FieldCell>(m_model->createCell(m_selection.column(), m_selection.row()));
    if (cell.isNull() || (!is<ResultCell>(cell) && !is<ExpressionCell>(cell))) return std::nullopt;
    return CellPlace{cell->table()->index(), cell->field(), cell->record()};
}

void TableEditable::notify(const Pointer<Object>& message) {
    auto seek = cast<CellSeekMessage>(message);
    if (seek.isNull() || !seek->grid().isNull()) return;
    if (auto at = m_model->positionOf(seek->place()))
        seek->found(Pointer<TableEditable>(this), at->first, at->second);
}

void TableEditable::runEdit(std::string_view name,
                            const std::function<void(ModelEditor&)>& change) {
    try {
        CommandManager* commands = support() == nullptr ? nullptr : &support()->commands();
        auto editor = make<ModelEditor>(Pointer<ProgramDef>(m_model->editedProgram()), commands);
        editor->group(name, [&] { change(*editor); });
    } catch (const StringPointer& message) {
        if (support() == nullptr) throw;
        support()->setPendingError(message->view());
    }
    invalidateLayout();
    repaint();
}

// Outside the program only switches are edited (view and document
// properties), and any edit of one flips it: as a toggle it is a step of
// the undo history, like a click on it.
void TableEditable::editCellText(std::string_view name, std::int32_t column, std::int32_t row,
                                 const Pointer<CellModel>& target, const StringPointer& text) {
    if (m_model->editedProgram() == nullptr && target->booleanValue()) {
        toggleBoolean(column, row);
        invalidateLayout();
        repaint();
        return;
    }
    if (offerNameEdit(name, target, text)) return;
    runEdit(name, [&](ModelEditor& editor) { target->setText(editor, text); });
}

bool TableEditable::offerNameEdit(std::string_view name, const Pointer<CellModel>& target,
                                  const StringPointer& text) {
    if (support() == nullptr || !target->holdsName()) return false;
    std::string old = target->nameTarget();
    std::string typed = text.isNull() ? std::string() : text->trim()->toStdString();
    if (old.empty() || typed == target->text()->toStdString()) return false;
    if (typed.empty() && !target->mayClearName()) return false;
    auto asTyped = [grid = Pointer<TableEditable>(this), name = std::string(name), target, text] {
        grid->runEdit(name, [&](ModelEditor& editor) { target->setText(editor, text); });
    };
    return support()->offerRequest(make<NameEditRequest>(old, typed, asTyped));
}

void TableEditable::editName(const Pointer<CellModel>& cell, const StringPointer& text) {
    if (cell.isNull() || !cell->isEditable()) return;
    if (offerNameEdit("rename", cell, text)) return;
    runEdit("rename", [&](ModelEditor& editor) { cell->setText(editor, text); });
}

void TableEditable::clearCurrent() {
    Pointer<CellModel> target = editTarget(m_selection.column(), m_selection.row());
    // A position past the data has nothing to clear (an edit there would
    // make a field or record).
    if (target.isNull() || is<EmptyCell>(target)) return;
    editCellText("clear", m_selection.column(), m_selection.row(), target, str(""));
    showCurrentFormula();
}

}  // namespace qv
