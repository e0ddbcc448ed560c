#include "views/TableControllers.h"

#include "language/AbstractExpression.h"
#include "views/TableEditable.h"
#include "views/TablesView.h"

namespace qv {

std::string tableReference(const StringPointer& name) {
    std::string out;
    printName(out, name);
    return out;
}

bool IconSelectTableController::lineActivated(TableEditable& grid, std::int32_t row) {
    if (!is<TablesView>(*grid.model())) return false;
    Pointer<Kernel> kernel = m_host->viewKernel();
    std::int32_t index = row - grid.model()->headerRowCount();
    if (index < 0 || index >= kernel->getTableCount()) return false;
    Pointer<TableResult> table = kernel->getTable(index);
    if (table.isNull()) return false;
    m_host->openTableDialog(table);
    return true;
}

void SelectTableTreeController::nodeAction(TreeEditable& tree, std::int32_t line,
                                           toolkit::Point at) {
    if (line < 0 || line >= tree.model()->lineCount()) return;
    TreeNode node = tree.model()->lines()[static_cast<std::size_t>(line)];
    Pointer<TreeEditable> kept(&tree);
    m_host->popupNodeMenu(at,
                          [this, kept, node](NodeAction action) { perform(*kept, node, action); });
}

void SelectTableTreeController::perform(TreeEditable& tree, const TreeNode& node,
                                        NodeAction action) {
    if (action == NodeAction::NavigateTo) return tree.navigateTo(node.table);
    Pointer<TableResult> table = tree.model()->tableOf(node);
    if (table.isNull()) return;
    switch (node.kind) {
        case TreeNode::Kind::Table:
            return m_host->openTableView(table, TableViewKind::Details);
        case TreeNode::Kind::Field:
            return m_host->openTableView(table, TableViewKind::Heading);
        case TreeNode::Kind::Row:
            return m_host->openResultView(
                str(tableReference(table->name()) + "[" + std::to_string(node.item) + "]"));
        case TreeNode::Kind::MoreRows:
            break;
    }
}

}  // namespace qv
