// The main panel's part in editing names across the model: a new name
// typed into a name cell is previewed as an exact rename of every use
// ("Rename Books.net to price? 3 formulas in 2 tables, 1 view") and, on
// OK, applied as one undoable step; a name that is cleared while others
// use it is first warned about ("3 places use Books.net: ..."). Also the
// list of the places that use a table or a field, for the where-used view.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <functional>

#include "editing/AbstractEditable.h"
#include "editing/Command.h"
#include "editing/EditableSupport.h"
#include "kernel/References.h"
#include "toolkit/Window.h"
#include "views/NameEditRequest.h"
#include "views/ViewHost.h"
#include "views/WhereUsedEditable.h"

namespace qv {

// One place that uses a name: where, how, the text, and what going there
// selects.
struct PlaceOfUse {
    std::string place;
    std::string use;
    std::string text;
    std::optional<CellPlace> cell;
    Pointer<AbstractEditable> view;  // for a use in a view's expression
};

class NameEditFlow {
  public:
    // The places listed in a delete warning; the rest are counted.
    static constexpr std::size_t kWarningPlaces = 5;

    // Shows a view of the work area (selects it, brings it into sight).
    using ShowView = std::function<void(const Pointer<AbstractEditable>&)>;

    // Asks its dialogs on `window`, finds the views under the support's
    // layout root, records its steps in the support's history, and takes
    // the kernel and going to a cell from `host`. All outlive the flow.
    NameEditFlow(toolkit::Window& window, EditableSupport& support, ViewHost& host,
                 ShowView showView)
        : m_window(&window), m_support(&support), m_host(&host), m_showView(std::move(showView)) {}

    // A NameEditRequest from a grid: true when it is taken (previewed,
    // warned about, refused); false lets the grid make the edit as before
    // (a name nothing uses, a target the model does not know).
    bool offer(const Pointer<Object>& request);
    // The answer of the preview or the warning; false for other messages.
    bool handleMessage(const toolkit::PostedMessage& message);
    bool isAsking() const noexcept { return m_pending.has_value(); }
    // A document replaced while nothing is asked: nothing to keep.
    void forget() { m_pending.reset(); }

    // Renames `target` (Table, Table.field or Table[row]) to `typed` as a
    // name typed into its cell is: refused with a notice, previewed, or
    // applied at once when nothing uses it. False when it is left to the
    // caller (a row's cell given a value that is no name, no change).
    bool rename(const std::string& target, const std::string& typed);
    // How many names the last rename planned changes to.
    std::int64_t namesOfLastRename() const noexcept { return m_lastNames; }

    // The places that use `target` (Table or Table.field), each once, in
    // the order of the tables, then the views. Throws the message of
    // parseNameTarget or findTarget when it is not there.
    std::vector<PlaceOfUse> uses(std::string_view target) const;
    std::vector<WhereUsedEntry> whereUsed(std::string_view target) const;
    // "3 places use Books.net: Books.gross, Tools.gross, result(Books)".
    static std::string warningText(std::string_view target, const std::vector<PlaceOfUse>& uses);

  private:
    struct Pending {
        Pointer<Command> rename;            // applied on OK
        Pointer<NameEditRequest> clearing;  // made as typed on Delete
    };

    bool offerRename(const NameEditRequest& request);
    bool offerClearing(const Pointer<NameEditRequest>& request);
    std::vector<Pointer<AbstractEditable>> expressionViews() const;
    void apply(const Pointer<Command>& rename);

    toolkit::Window* m_window;
    EditableSupport* m_support;
    ViewHost* m_host;
    ShowView m_showView;
    std::optional<Pending> m_pending;
    std::int64_t m_lastNames = 0;
};

}  // namespace qv
