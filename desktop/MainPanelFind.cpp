// The main panel's part in find and replace: the Edit menu's items, the
// panel's share of the window's events, and what the panel asks of the
// work area — the scope and text areas of a search, going to a result,
// replacing as one undoable step, and a whole name replaced by renaming.
#include <algorithm>

#include "core/Errors.h"
#include "desktop/MainPanel.h"
#include "editing/TextEditable.h"
#include "kernel/RenamePlan.h"
#include "model/ModelEditor.h"
#include "views/TableCells.h"
#include "views/TableEditable.h"

namespace qv {

namespace {

std::vector<std::string> textsOf(const std::vector<Pointer<TextEditable>>& areas) {
    std::vector<std::string> texts;
    texts.reserve(areas.size());
    for (const Pointer<TextEditable>& area : areas)
        texts.emplace_back(area->text());
    return texts;
}

}  // namespace

void MainPanel::findMenuChosen(MenuCommand command) {
    switch (command) {
        case MenuCommand::Find:
        case MenuCommand::Replace:
            m_find.open(command == MenuCommand::Replace);
            break;
        case MenuCommand::FindNext:
        case MenuCommand::FindPrevious:
            if (!m_find.isOpen()) m_find.open(false);
            if (!m_find.query().empty()) m_find.step(command == MenuCommand::FindNext ? 1 : -1);
            break;
        default:
            break;
    }
    window().repaint();
}

void MainPanel::timer(std::int32_t id) {
    if (isComputing()) return;
    if (id == DocumentRecovery::kTimerId) return m_flow.recoveryTimer();
    if (id == DocumentRecovery::kSliceTimerId) return m_flow.recoverySlice();
    m_find.timer(id);
}

// A press outside the panel gives the keyboard back to the work area.
bool MainPanel::findMouse(toolkit::MouseKind kind, toolkit::Point position,
                          std::uint32_t modifiers) {
    if (!m_find.isOpen()) return false;
    if (m_find.isDragging() || m_find.bounds().contains(position)) {
        m_find.mouse(kind, position, modifiers);
        window().repaint();
        return true;
    }
    if (kind == toolkit::MouseKind::Press && m_find.hasKeyboard()) {
        m_find.setKeyboard(false);
        window().repaint();
    }
    return false;
}

void MainPanel::paintFindPanel(toolkit::Graphics& graphics) {
    if (!m_find.isOpen()) return;
    m_find.paint(graphics);
}

std::int32_t MainPanel::workAreaTop() const {
    return formulaBar()->bounds().bottom();
}

// ---- searching

std::vector<Pointer<TextEditable>> MainPanel::textAreas() const {
    auto list = make<TextAreaList>();
    layoutRoot()->notify(list);
    return list->areas;
}

// The current table and the selection come from the grid selected last:
// the selection is its current cell, or its range of whole columns (the
// records between them, every field).
FindScope MainPanel::findScope(FindScope::Kind kind) const {
    FindScope scope{kind};
    if (kind == FindScope::Kind::Model) return scope;
    auto grid = cast<TableEditable>(support().selected());
    std::optional<CellPlace> place = grid.isNull() ? std::nullopt : grid->currentPlace();
    if (!place) throwMessage("Select a cell of a table first");
    scope.table = place->table;
    scope.firstField = scope.lastField = place->field;
    scope.firstRow = scope.lastRow = place->row;
    std::optional<std::pair<std::int32_t, std::int32_t>> columns = grid->selection().columnRange();
    if (columns) {
        scope.firstField = 0;
        for (std::int32_t column = columns->first; column <= columns->second; ++column) {
            auto cell = cast<FieldCell>(grid->model()->createCell(column, grid->currentRow()));
            if (cell.isNull()) continue;
            scope.firstRow = std::min(scope.firstRow, cell->record());
            scope.lastRow = std::max(scope.lastRow, cell->record());
        }
        scope.lastField = m_kernel->getTable(scope.table)->fieldCount() - 1;
    }
    return scope;
}

std::unique_ptr<FindSearch> MainPanel::startSearch(TextMatcher matcher, FindScope::Kind kind) {
    FindScope scope = findScope(kind);
    return std::make_unique<FindSearch>(*m_kernel, std::move(matcher), scope, kAllFindKinds,
                                        textsOf(textAreas()));
}

// A cell of a grid: a name or a field's own formula goes to its first
// data row (the formula row when there is none), a table or a hidden field
// to its first shown field. A text area: its text selected.
void MainPanel::showHit(const FindHit& hit) {
    const FindPlace& found = hit.place;
    if (found.kind == FindKind::TextArea) {
        std::vector<Pointer<TextEditable>> areas = textAreas();
        if (found.textArea < 0 || found.textArea >= static_cast<std::int32_t>(areas.size())) return;
        const Pointer<TextEditable>& area = areas[static_cast<std::size_t>(found.textArea)];
        if (hit.span.end > area->text().size()) return;
        support().select(area);
        support().layoutIfNeeded();
        area->selectAndShow(static_cast<std::int32_t>(hit.span.start),
                            static_cast<std::int32_t>(hit.span.end));
        window().repaint();
        return;
    }
    if (found.table < 0 || found.table >= m_kernel->getTableCount()) return;
    Pointer<TableResult> table = m_kernel->getTable(found.table);
    if (table.isNull()) return;
    CellPlace place{found.table, found.field, found.row};
    // A hidden field has no cell in sight: its table's first field stands in.
    if (place.field < 0 || !table->isVisible(place.field)) {
        if (table->visibleCount() == 0) return;
        place.field = table->visibleField(0);
    }
    bool toDataRow = found.kind == FindKind::TableName || found.kind == FindKind::FieldName ||
                     (found.kind == FindKind::Formula && found.row == 0);
    if (toDataRow) place.row = table->rowCount() > 1 ? 1 : 0;
    goToCell(place);
}

// ---- replacing

void MainPanel::applyReplace(const std::vector<PlannedText>& planned,
                             const std::vector<Pointer<TextEditable>>& areas) {
    std::vector<ModelEditor::FormulaText> formulas;
    std::vector<ModelEditor::AreaText> texts;
    for (const PlannedText& entry : planned) {
        const FindPlace& place = entry.place;
        if (place.kind == FindKind::TextArea) {
            texts.push_back({areas[static_cast<std::size_t>(place.textArea)], entry.text});
        } else {
            formulas.push_back({place.table, place.definition, place.row, str(entry.text)});
        }
    }
    ModelEditor(m_kernel->program(), &commands()).replaceTexts(formulas, texts);
    refreshViews();
}

bool MainPanel::replaceHit(const TextMatcher& matcher, const FindHit& hit,
                           std::string_view replacement) {
    std::vector<Pointer<TextEditable>> areas = textAreas();
    std::optional<PlannedText> planned =
        planReplace(*m_kernel, textsOf(areas), matcher, hit, replacement);
    if (!planned) return false;
    applyReplace({*planned}, areas);
    return true;
}

std::int64_t MainPanel::replaceAll(const TextMatcher& matcher, FindScope::Kind kind,
                                   std::string_view replacement) {
    if (std::optional<NamedPlace> named = nameForRename(*m_kernel, matcher))
        return renameForReplace(*named, replacement);
    FindScope scope;
    try {
        scope = findScope(kind);
    } catch (const StringPointer&) {
        // The search that follows says why.
        return 0;
    }
    std::vector<Pointer<TextEditable>> areas = textAreas();
    std::vector<PlannedText> planned =
        planReplaceAll(*m_kernel, textsOf(areas), matcher, scope, replacement);
    std::int64_t count = 0;
    for (const PlannedText& entry : planned)
        count += entry.count;
    applyReplace(planned, areas);
    return count;
}

// A whole word that names a table, field or row is renamed as a name typed
// into its cell is: every name the linker resolves to it changes, and
// nothing else (namesakes and texts in strings stay), after the same
// preview; a rename that would change what another name means is refused
// with its message. -1 while the preview asks.
std::int64_t MainPanel::renameForReplace(const NamedPlace& named, std::string_view newName) {
    NameTarget target;
    const Pointer<ProgramDef>& program = m_kernel->program();
    target.table = program->table(named.table)->tableName()->toStdString();
    if (named.kind == FindKind::FieldName) {
        target.kind = NameTarget::Kind::kField;
        target.name = m_kernel->getLinked()
                          ->table(named.table)
                          ->field(named.field)
                          ->definition()
                          ->nameText()
                          ->toStdString();
    } else if (named.kind == FindKind::RowName) {
        target.kind = NameTarget::Kind::kRow;
        target.name = m_kernel->getTable(named.table)->rowName(named.row)->toStdString();
    }
    const std::int32_t undoBefore = commands().undoCount();
    try {
        if (!m_nameEdits.rename(target.label(), std::string(newName))) return 0;
    } catch (const StringPointer& message) {
        window().showMessageBox(message->toStdString(), kProductName,
                                toolkit::MessageBoxKind::Notice);
        return 0;
    }
    if (m_nameEdits.isAsking()) return -1;
    refreshViews();
    return commands().undoCount() > undoBefore ? m_nameEdits.namesOfLastRename() : 0;
}

}  // namespace qv
