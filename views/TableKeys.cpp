// The grid's keys: moving the current cell, starting an edit by typing or
// F2, clearing a cell, the clipboard, and activating a line with Enter.
#include <algorithm>

#include "editing/EditableSupport.h"
#include "views/TableEditable.h"

namespace qv {

namespace key = toolkit::key;

void TableEditable::handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    if (handleMoveKey(code, modifiers)) return;
    switch (code) {
        case key::kEnter:
            // Enter on a line the owner acts on (a table in the list of
            // tables) activates it, in any column; elsewhere it moves down.
            if (m_selection.row() >= m_model->headerRowCount() && !m_controller.isNull() &&
                m_controller->lineActivated(*this, m_selection.row()))
                return;
            return move(0, 1);
        case key::kTab:
            return move((modifiers & toolkit::modifier::kShift) != 0 ? -1 : 1, 0);
        case key::kF2:
            return startEditing(std::nullopt);
        case key::kCharacter:
            if (!text.empty()) startEditing(text);
            return;
        case key::kDelete:
        case key::kBackspace:
            return clearCurrent();
        case key::kSelectAll:
            return selectColumns(0, m_model->columnCount() - 1);
        case key::kCopy:
            return copy();
        case key::kCut:
            return cut();
        case key::kPaste:
            return paste();
        default:
            childKey(code, text, modifiers);
    }
}

bool TableEditable::handleMoveKey(std::int32_t code, std::uint32_t modifiers) {
    Extent e = extent();
    bool control = (modifiers & (toolkit::modifier::kControl | toolkit::modifier::kAlt)) != 0;
    switch (code) {
        case key::kLeft:
            move(-1, 0);
            return true;
        case key::kRight:
            move(1, 0);
            return true;
        case key::kUp:
            move(0, -1);
            return true;
        case key::kDown:
            move(0, 1);
            return true;
        case key::kHome:
            selectCell(0, control ? e.headers : m_selection.row());
            return true;
        case key::kEnd:
            selectCell(e.columns - 1, control ? e.rows - 1 : m_selection.row());
            return true;
        case key::kPageUp:
        case key::kPageDown: {
            std::int32_t sign = code == key::kPageUp ? -1 : 1;
            // The cell moves a page and the view with it. Records go
            // across: with Ctrl a page of columns.
            if (control) {
                std::int32_t page =
                    columnsFitting(m_scroll.left(), std::max(1, e.content.width - e.frozenWidth));
                scrollTo(m_scroll.left() + sign * page, m_scroll.top());
                selectCell(m_selection.column() + sign * page, m_selection.row());
            } else {
                scrollTo(m_scroll.left(), m_scroll.top() + sign * e.pageRows);
                selectCell(m_selection.column(), m_selection.row() + sign * e.pageRows);
            }
            return true;
        }
        default:
            return false;
    }
}

void TableEditable::move(std::int32_t dColumn, std::int32_t dRow) {
    selectCell(m_selection.column() + dColumn, m_selection.row() + dRow);
}

}  // namespace qv
