// The grid's clipboard: copy (the selected columns, or the current cell's
// text), cut (copy, then clear the cell) and paste (the model writes the
// block from the current cell on, as one undoable step).
#include "editing/EditableSupport.h"
#include "views/TableEditable.h"

namespace qv {

void TableEditable::copy() {
    if (support() == nullptr) return;
    std::string text;
    if (std::optional<std::pair<std::int32_t, std::int32_t>> range = selectedColumns()) {
        text = copyColumns(*m_model, range->first, range->second);
    } else if (m_selection.column() < m_model->columnCount() &&
               m_selection.row() < m_model->rowCount()) {
        text =
            m_model->createCell(m_selection.column(), m_selection.row())->editText()->toStdString();
    }
    support()->window().setClipboardText(text);
}

// Columns are records or fields: cutting a range copies it and removes
// nothing.
void TableEditable::cut() {
    copy();
    if (!selectedColumns()) clearCurrent();
}

void TableEditable::paste() {
    if (support() == nullptr) return;
    std::string text = support()->window().clipboardText();
    if (text.empty()) return;
    std::int32_t column = m_selection.column();
    std::int32_t row = m_selection.row();
    runEdit("paste", [&](ModelEditor& editor) { m_model->paste(editor, column, row, text); });
    showCurrentFormula();
}

bool TableEditable::acceptsEditCommand(std::int32_t code) const {
    namespace key = toolkit::key;
    if (code == key::kSelectAll) return true;
    bool hasCell = m_model->columnCount() > 0 && m_model->rowCount() > 0;
    return hasCell &&
           (code == key::kDelete || code == key::kCopy || code == key::kPaste || code == key::kCut);
}

}  // namespace qv
