// DocumentRename: renaming a table, a field or a row in a whole document —
// the model through the kernel's exact rename (see kernel/RenamePlan.h) and
// the layout's directives that name it: the expressions of result and
// project views and the table of a chart. Also where a name is used, views
// included. `qvl rename` and `qvl refs` are built on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/Document.h"
#include "kernel/References.h"
#include "kernel/RenamePlan.h"

namespace qv {

// Every frame of a layout, those inside layout tables included, in the
// order the layout writes them.
std::vector<Pointer<Frame>> framesOf(const Layout& layout);

struct DocumentRename {
    struct ViewEdit {
        Pointer<Frame> frame;
        Pointer<LayoutElement> before;
        Pointer<LayoutElement> after;
    };
    RenamePlan plan;
    std::vector<ViewEdit> views;

    bool refused() const noexcept { return plan.refused(); }
    bool changesNothing() const noexcept { return plan.changesNothing() && views.empty(); }
    // "3 formulas in 2 tables, 1 view" and the notes of renameSummary.
    std::string summary() const {
        return renameSummary(plan, static_cast<std::int32_t>(views.size()));
    }
};

// Plans renaming `old` (Table, Table.field or Table[row]) to `newName`;
// throws the StringPointer of parseNameTarget or findTarget when `old` is
// not read or not found. A refused plan changes nothing when applied.
DocumentRename planDocumentRename(Document& document, std::string_view old,
                                  std::string_view newName);
void applyDocumentRename(Document& document, const DocumentRename& rename);
void revertDocumentRename(Document& document, const DocumentRename& rename);

struct DocumentReference {
    Reference reference;
    // For a reference in a view: the frame, and its directive without its
    // end ("result(Prices.qty)").
    Pointer<Frame> frame;
    std::string view;
};

// Where `old` is used, the tables' references first, then the views'.
std::vector<DocumentReference> findDocumentReferences(Document& document, std::string_view old);

}  // namespace qv
