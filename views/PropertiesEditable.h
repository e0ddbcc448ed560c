// The properties view: a grid over a PropertiesTableModel that shows the
// properties of the selected editable (a grid's view properties), and the
// document properties when the selection offers none — nothing selected,
// the work area, a text area. A selection inside the view itself keeps
// what it shows, so a click on a value toggles the property it shows.
#pragma once

#include "views/InnerViewEditable.h"
#include "views/PropertiesTableModel.h"
#include "views/TableEditable.h"
#include "views/ViewHost.h"

namespace qv {

// Passed down the work area after an event: the editable selected now.
class SelectionMessage final : public Object {
    QV_OBJECT(SelectionMessage, Object, "SelectionMessage")
  public:
    explicit SelectionMessage(const Pointer<AbstractEditable>& selected) : m_selected(selected) {}
    const Pointer<AbstractEditable>& selected() const noexcept { return m_selected; }

  private:
    Pointer<AbstractEditable> m_selected;
};

class PropertiesEditable final : public InnerViewEditable {
    QV_OBJECT(PropertiesEditable, InnerViewEditable, "PropertiesEditable")
  public:
    // `host` answers the document properties; it must outlive the view.
    explicit PropertiesEditable(ViewHost& host);

    const Pointer<PropertiesTableModel>& model() const noexcept { return m_model; }
    const Pointer<TableEditable>& grid() const noexcept { return m_grid; }

    // Shows the properties of `selected`; nothing happens when the same
    // editable answers as before.
    void followSelection(const Pointer<AbstractEditable>& selected);

    // After the program changed (a rename), a selected view's formula line
    // shows its cell's text anew.
    void refresh() override;
    void notify(const Pointer<Object>& message) override;
    void writeSource(std::string& out, std::int32_t indent) const override;

  private:
    bool holds(const AbstractEditable& editable) const;

    ViewHost* m_host;
    Pointer<PropertiesTableModel> m_model;
    Pointer<TableEditable> m_grid;
    // The editable whose properties are shown; the null object for the
    // document's.
    Pointer<AbstractEditable> m_source;
    bool m_shown = false;
};

}  // namespace qv
