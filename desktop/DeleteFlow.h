// Deleting a field or a table from the desktop program. When formulas,
// base-table clauses or views use the target, a ConfirmDelete box lists
// them first ("3 places use Prices.qty: ...", the name edit flow's list
// and wording); Cancel changes nothing, Delete removes it as one undoable
// step of the model editor. The uses are left as written: they show the
// error of a name that is not there, and one undo brings everything back.
//
// Without uses: a field goes at once (undo is there), but a field that
// comes from a base table is always asked about, since it goes from every
// table that extends that base; a table with fields is asked about too,
// as it takes its data with it; an empty table goes at once.
//
// Views that show a deleted table stay where they are: their value is the
// unknown name's error, as for any expression that names no table, and
// after undo they show the table again. Closing them would lose where
// they were for nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "desktop/NameEditFlow.h"
#include "editing/EditableSupport.h"
#include "toolkit/Window.h"
#include "views/ViewHost.h"

namespace qv {

class DeleteFlow {
  public:
    // All outlive the flow: the uses come from `names`, the kernel from
    // `host`, the history is the support's.
    DeleteFlow(toolkit::Window& window, EditableSupport& support, ViewHost& host,
               const NameEditFlow& names)
        : m_window(&window), m_support(&support), m_host(&host), m_names(&names) {}

    // The field with index `field` of the program's table at `table`
    // (fields numbered as its results number them, inherited ones first).
    void deleteField(std::int32_t table, std::int32_t field);
    // The program's table at `table`.
    void deleteTable(std::int32_t table);

    // The answer of the warning; false for other messages.
    bool handleMessage(const toolkit::PostedMessage& message);
    bool isAsking() const noexcept { return m_pending.has_value(); }
    // A document replaced while nothing is asked: nothing to keep.
    void forget() { m_pending.reset(); }

    // The question a field's or a table's deletion asks, or empty when it
    // goes at once. See the file comment for when.
    std::string fieldQuestion(std::int32_t table, std::int32_t field) const;
    std::string tableQuestion(std::int32_t table) const;

  private:
    struct Target {
        std::int32_t table = -1;
        std::int32_t field = -1;  // -1: the table itself
    };
    struct Pending {
        Target target;
        // The model the question was asked about: an answer that comes
        // after another edit deletes nothing.
        const Kernel* kernel = nullptr;
        std::int32_t changeCount = 0;
    };

    void askOrApply(const Target& target, const std::string& question);
    void apply(const Target& target);
    // "N places use X: ..." with its list, or empty when nothing uses X
    // (or X has no name a formula could use).
    std::string usesWarning(const std::string& label) const;

    toolkit::Window* m_window;
    EditableSupport* m_support;
    ViewHost* m_host;
    const NameEditFlow* m_names;
    std::optional<Pending> m_pending;
};

}  // namespace qv
