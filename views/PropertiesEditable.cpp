#include "views/PropertiesEditable.h"

#include "editing/TitleDecorator.h"

namespace qv {

namespace {

// The editable that answers for the selection: a frame stands for its
// view and a view showing another for the one it shows, so a view rebuilt
// by a refresh counts as a new answer; a view that offers no properties
// answers nothing.
Pointer<AbstractEditable> provider(const Pointer<AbstractEditable>& selected) {
    Pointer<AbstractEditable> editable = selected;
    for (;;) {
        if (auto frame = cast<TitleDecorator>(editable); !frame.isNull()) {
            editable = frame->view();
        } else if (auto shows = cast<InnerViewEditable>(editable);
                   !shows.isNull() && !shows->innerView().isNull()) {
            editable = shows->innerView();
        } else {
            break;
        }
    }
    if (editable.isNull() || cast<PropertyList>(editable->getProperties()).isNull()) return {};
    return editable;
}

}  // namespace

PropertiesEditable::PropertiesEditable(ViewHost& host)
    : m_host(&host), m_model(make<PropertiesTableModel>()), m_grid(make<TableEditable>(m_model)) {
    setInnerView(m_grid);
    followSelection({});
}

// The view itself, what lies inside it, and its frame.
bool PropertiesEditable::holds(const AbstractEditable& editable) const {
    return isWithinView(*this, editable);
}

void PropertiesEditable::followSelection(const Pointer<AbstractEditable>& selected) {
    if (!selected.isNull() && holds(*selected)) return;
    // A name typed into the view is edited in the formula bar, which takes
    // the selection meanwhile: the view keeps what it shows until then.
    if (m_grid->isEditingHere()) return;
    Pointer<AbstractEditable> source = provider(selected);
    if (m_shown && source == m_source) return;
    Pointer<Object> properties =
        source.isNull() ? m_host->documentProperties() : source->getProperties();
    m_source = source;
    m_shown = true;
    m_model->setProperties(cast<PropertyList>(properties));
    m_model->setNames(properties.isNull() ? Pointer<NameProperties>() : NameProperties::of(source));
    m_model->layout();
    // The formula bar stays with the cell just selected elsewhere.
    m_grid->placeCursor(m_model->leadingColumnCount(), m_model->headerRowCount());
    invalidateLayout();
    repaint();
}

void PropertiesEditable::refresh() {
    if (m_grid->isFocused() && !m_grid->isEditingHere())
        m_grid->selectCell(m_grid->currentColumn(), m_grid->currentRow());
    InnerViewEditable::refresh();
}

void PropertiesEditable::notify(const Pointer<Object>& message) {
    auto selection = cast<SelectionMessage>(message);
    if (!selection.isNull()) followSelection(selection->selected());
    InnerViewEditable::notify(message);
}

void PropertiesEditable::writeSource(std::string& out, std::int32_t) const {
    out += "properties();\n";
}

}  // namespace qv
