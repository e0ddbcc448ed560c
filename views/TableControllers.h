// What activating a table in a view of the work area does. The list of
// tables opens the table-opening dialog for the table of the activated
// line; the project view's tree pops up "&Open" and "&Navigate to" for a
// node.
#pragma once

#include <string>

#include "views/GridController.h"
#include "views/TreeEditable.h"
#include "views/ViewHost.h"

namespace qv {

// The expression that names a table in a formula: brackets around a name
// that is not a plain identifier.
std::string tableReference(const StringPointer& name);

class IconSelectTableController final : public GridController {
    QV_OBJECT(IconSelectTableController, GridController, "IconSelectTableController")
  public:
    // `host` must outlive the controller (the main panel does).
    explicit IconSelectTableController(ViewHost& host) : m_host(&host) {}
    // The n-th line below the header of the list of tables is the table at
    // index n - 1; lines of other grids are not tables and do nothing.
    bool lineActivated(TableEditable& grid, std::int32_t row) override;

  private:
    ViewHost* m_host;
};

class SelectTableTreeController final : public TreeController {
    QV_OBJECT(SelectTableTreeController, TreeController, "SelectTableTreeController")
  public:
    explicit SelectTableTreeController(ViewHost& host) : m_host(&host) {}
    void nodeAction(TreeEditable& tree, std::int32_t line, toolkit::Point at) override;
    // "&Open": a table's detailed view, a field's heading view, a row's
    // result view; "&Navigate to": the tree's current line to the table.
    void perform(TreeEditable& tree, const TreeNode& node, NodeAction action);

  private:
    ViewHost* m_host;
};

}  // namespace qv
