// What the views of the work area ask of the application that shows them:
// the current kernel and display settings, opening further views of a
// table, the table-opening dialog, a node's context menu, and the document
// properties. The main panel answers; tests may stand in for it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "kernel/CellPlace.h"
#include "kernel/Kernel.h"
#include "kernel/TableResult.h"
#include "toolkit/Geometry.h"
#include "views/GlobalSettings.h"

namespace qv {

// The views "Open" makes for a table: the heading view, the detailed view,
// the chart, or the detailed view and the chart together.
enum class TableViewKind : std::int32_t {
    Heading = 0,
    Details = 1,
    Chart = 2,
    DetailsAndChart = 3
};

// The two items of a tree node's context menu.
enum class NodeAction : std::int32_t { Open, NavigateTo };

class ViewHost {
  public:
    virtual ~ViewHost() = default;

    virtual Pointer<Kernel> viewKernel() = 0;
    virtual const Pointer<GlobalSettings>& viewSettings() const = 0;
    // Adds the views of a kind for the table as one undoable step.
    virtual void openTableView(const Pointer<TableResult>& table, TableViewKind kind) = 0;
    // Adds a result view of the expression as one undoable step.
    virtual void openResultView(const StringPointer& expression) = 0;
    virtual void openTableDialog(const Pointer<TableResult>& table) = 0;
    // Pops up "&Open" and "&Navigate to" at a point of the work area; the
    // chosen item comes back through `chosen`.
    virtual void popupNodeMenu(toolkit::Point at, std::function<void(NodeAction)> chosen) = 0;
    // What the properties view shows when the selection offers nothing.
    virtual Pointer<Object> documentProperties() = 0;
    // Selects the cell in a view of its table, opening one when no view
    // shows it.
    virtual void goToCell(const CellPlace& place) = 0;
    // Set when the user asks the computation under way to stop; an
    // explanation the views ask for stops with it.
    virtual std::atomic<bool>* explainStop() { return nullptr; }
};

}  // namespace qv
