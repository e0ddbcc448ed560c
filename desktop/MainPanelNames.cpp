// The main panel's part in names across the model: the where-used view of
// the selected table or field, and going to a view it lists. Renames and
// delete warnings are the name edit flow's (NameEditFlow).
#include "desktop/MainPanel.h"
#include "editing/TitleDecorator.h"
#include "views/TableEditable.h"
#include "views/TreeEditable.h"
#include "views/WhereUsedEditable.h"

namespace qv {

std::string MainPanel::selectedNameTarget() const {
    if (auto tree = cast<TreeEditable>(support().selected()); !tree.isNull())
        return tree->model()->nameTarget(tree->currentLine());
    auto grid = cast<TableEditable>(support().selected());
    if (grid.isNull()) return {};
    const Pointer<GridModel>& model = grid->model();
    if (grid->currentColumn() >= model->columnCount() || grid->currentRow() >= model->rowCount())
        return {};
    return model->createCell(grid->currentColumn(), grid->currentRow())->nameTarget();
}

void MainPanel::addWhereUsedView() {
    std::string target = selectedNameTarget();
    if (target.empty()) {
        window().showMessageBox("Select a table or a field to see where it is used.", kProductName,
                                toolkit::MessageBoxKind::Notice);
        return;
    }
    std::vector<WhereUsedEntry> entries;
    try {
        entries = m_nameEdits.whereUsed(target);
    } catch (const StringPointer& message) {
        window().showMessageBox(message->view(), kProductName, toolkit::MessageBoxKind::Notice);
        return;
    }
    addView(make<WhereUsedEditable>(target, std::move(entries)));
}

void MainPanel::showView(const Pointer<AbstractEditable>& view) {
    if (isComputing() || view.isNull() || view->support() == nullptr) return;
    takeKeyboard(view);
    view->ensureVisible(view->bounds());
    window().repaint();
}

}  // namespace qv
