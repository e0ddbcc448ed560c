// The main panel's part in explaining cells: the cause of a selected error
// in the formula line, Go to cause, going to a cell from the explain view,
// the explain view itself and a grid cell's context menu (with Where used).
#include "core/ValueConversions.h"
#include "desktop/DesktopViewFactory.h"
#include "desktop/MainPanel.h"
#include "editing/FormulaValueEditable.h"
#include "editing/TitleDecorator.h"
#include "kernel/ValueKinds.h"
#include "views/ExplainEditable.h"
#include "views/TableEditable.h"

namespace qv {

namespace {

std::optional<CellPlace> placeOfCause(const Cause& cause, const CellPlace& from) {
    switch (cause.kind) {
        case Cause::Kind::None:
            return std::nullopt;
        case Cause::Kind::Origin:
        case Cause::Kind::Stopped:
            if (!cause.origin.place.isCell()) return std::nullopt;
            return cause.origin.place;
        case Cause::Kind::Cycle:
            break;
    }
    if (cause.cycle.empty()) return std::nullopt;
    // From a cell of the loop on to the next one, so that going on walks
    // round it; from outside to its first cell.
    for (std::size_t i = 0; i < cause.cycle.size(); ++i) {
        if (cause.cycle[i].place == from) return cause.cycle[(i + 1) % cause.cycle.size()].place;
    }
    return cause.cycle.front().place;
}

}  // namespace

std::optional<CellPlace> MainPanel::selectedCell() const {
    auto grid = cast<TableEditable>(support().selected());
    if (grid.isNull()) return std::nullopt;
    return grid->currentPlace();
}

void MainPanel::showSelectedCause() {
    const Pointer<FormulaValueEditable>& bar = formulaBar();
    if (bar.isNull() || bar->isEditingCell()) return;
    std::optional<CellPlace> place = selectedCell();
    if (!place) return;
    bool known = m_shownCause.kernel == m_kernel.get() &&
                 m_shownCause.changeCount == m_kernel->getChangeCount() &&
                 m_shownCause.place == *place;
    if (!known) {
        m_shownCause = {m_kernel.get(), m_kernel->getChangeCount(), *place, {}, -1};
        try {
            Explanation explanation(*m_kernel);
            CellFacts facts = explanation.facts(*place);
            if (!facts.value.isNull() && valueKind(*facts.value.object()) == ValueKind::Error) {
                Cause cause = explanation.cause(*place);
                if (!cause.text.isNull() && cause.text->length() > 0) {
                    m_shownCause.line = toText(facts.value)->toStdString() + "; ";
                    m_shownCause.linkStart = static_cast<std::int32_t>(m_shownCause.line.size());
                    m_shownCause.line += cause.text->toStdString();
                }
            }
        } catch (const StringPointer&) {
            // A position the results no longer hold shows what the grid shows.
        }
    }
    if (!m_shownCause.line.empty())
        bar->showLinked(m_shownCause.line, m_shownCause.linkStart, [this] { followShownCause(); });
}

void MainPanel::goToCause() {
    std::optional<CellPlace> place = selectedCell();
    // In the explain view: the cause of the cell it explains.
    if (auto view = cast<ExplainEditable>(support().selected()); !place && !view.isNull()) {
        if (!view->tree().isEmpty()) place = view->tree().subject().place;
    }
    if (place) goToCauseOf(*place, false);
}

void MainPanel::followShownCause() {
    // The click selected the formula bar: the cell is the one the line
    // was made for, and it gets the selection back if its cause is itself.
    if (m_shownCause.kernel == m_kernel.get()) goToCauseOf(m_shownCause.place, true);
}

void MainPanel::goToCauseOf(const CellPlace& place, bool orBack) {
    std::optional<CellPlace> target;
    bool inWhatIf = false;
    try {
        Cause cause = Explanation(*m_kernel).cause(place);
        target = placeOfCause(cause, place);
        inWhatIf = cause.kind == Cause::Kind::Origin && !cause.origin.place.isCell() &&
                   cause.origin.name->length() > 0;
    } catch (const StringPointer&) {
        target.reset();
    }
    if (target && *target != place) {
        goToCell(*target);
        return;
    }
    if (orBack || inWhatIf) goToCell(place);
    // A what-if's cell is in no grid: the explain view shows it, at the end
    // of the way from this cell.
    if (inWhatIf) addExplainView(true);
}

void MainPanel::goToCell(const CellPlace& place) {
    if (isComputing() || !place.isCell()) return;
    auto seek = make<CellSeekMessage>(place);
    layoutRoot()->notify(seek);
    if (seek->grid().isNull()) {
        if (place.table >= m_kernel->getTableCount()) return;
        openTableView(m_kernel->getTable(place.table), TableViewKind::Details);
        layoutRoot()->notify(seek);
        if (seek->grid().isNull()) return;
    }
    const Pointer<TableEditable>& grid = seek->grid();
    support().select(grid);
    grid->selectCell(seek->column(), seek->row());
    window().repaint();
}

void MainPanel::addExplainView(bool unlessShown) {
    std::optional<CellPlace> place = selectedCell();
    if (unlessShown) {
        auto seek = make<ExplainViewSeek>();
        layoutRoot()->notify(seek);
        if (seek->found()) return;
    }
    auto view = cast<ExplainEditable>(DesktopViewFactory::makeExplainElement(*this));
    if (place) view->explain(*place);
    addView(view);
}

bool MainPanel::offerCellMenu(toolkit::Point at) {
    // Only over the grid the press selected a cell of: a press on a view
    // that takes no selection leaves the grid selected before.
    Pointer<AbstractEditable> hit = layoutRoot()->hitTest(at.x, at.y, true);
    if (hit.object() != support().selected().object()) return false;
    auto item = [](const char* caption, MenuCommand command) {
        return toolkit::MenuItem{caption, static_cast<std::int32_t>(command), {}, {}};
    };
    toolkit::MenuBar items;
    if (selectedCell()) {
        items.push_back(item("E&xplain", MenuCommand::CellExplain));
        items.push_back(item("&Go to cause", MenuCommand::CellGoToCause));
    }
    // A header cell too names a field, and a line of the list of tables a table.
    if (!selectedNameTarget().empty())
        items.push_back(item("&Where used", MenuCommand::CellWhereUsed));
    addDeleteItems(items);
    if (items.empty()) return false;
    window().popupMenu(items, at);
    return true;
}

}  // namespace qv
