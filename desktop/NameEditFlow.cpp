#include "desktop/NameEditFlow.h"

#include <set>
#include <tuple>

#include "core/Errors.h"
#include "desktop/DocumentTitle.h"
#include "desktop/RenameCommand.h"
#include "kernel/ResolvedField.h"
#include "kernel/ResolvedTable.h"
#include "language/TableDef.h"
#include "views/ExpressionViewSeek.h"

namespace qv {

namespace {

bool isUse(Reference::Kind kind) {
    return kind == Reference::Kind::kFormula || kind == Reference::Kind::kBaseClause ||
           kind == Reference::Kind::kView;
}

// The results' field that shows the definition at `position` of the
// table's own fields, or -1.
std::int32_t resultField(Kernel& kernel, std::int32_t table, std::int32_t position) {
    const Pointer<ProgramDef>& program = kernel.program();
    if (table < 0 || table >= program->tableCount()) return -1;
    const Pointer<FieldList>& fields = program->table(table)->fields();
    if (position < 0 || position >= fields->size()) return -1;
    const FieldDef* definition = (*fields)[position].get();
    Pointer<TableResult> result = kernel.getTable(table);
    for (std::int32_t field = 0; field < result->fieldCount(); ++field) {
        if (result->resolved()->field(field)->definition().get() == definition) return field;
    }
    return -1;
}

// Whether a plan changes anything besides the name itself (a row's own name
// cell included): a formula, a view, a base-table clause, a name it can not
// decide, or the field's definitions in the other tables of its family (a
// rename typed in one table must not change the others unseen).
bool touchesUses(const RenamePlan& plan, std::size_t views) {
    if (plan.formulaUses() > 0 || views > 0 || plan.undecided > 0) return true;
    std::int32_t definitions = 0;
    for (const NameRewrite& name : plan.names) {
        if (name.what == NameRewrite::What::kBaseName) return true;
        definitions += name.what == NameRewrite::What::kFieldName ? 1 : 0;
    }
    return definitions > 1;
}

// A name typed as formulas write it, in brackets, is the name inside them.
std::string plainName(const std::string& typed) {
    if (typed.size() >= 2 && typed.front() == '[' && typed.back() == ']')
        return typed.substr(1, typed.size() - 2);
    return typed;
}

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The expressions the views show, in their order: the names outside the
// tables that a rename may change.
std::vector<StringPointer> expressionsOf(const std::vector<Pointer<AbstractEditable>>& views) {
    std::vector<StringPointer> texts;
    for (const Pointer<AbstractEditable>& view : views)
        texts.push_back(viewExpression(view));
    return texts;
}

}  // namespace

bool NameEditFlow::offer(const Pointer<Object>& request) {
    auto edit = cast<NameEditRequest>(request);
    if (edit.isNull() || m_pending) return false;
    try {
        return edit->clears() ? offerClearing(edit) : offerRename(*edit);
    } catch (const StringPointer&) {
        // A target the model does not know (it went away, or a namesake
        // hides it): the grid edits the name as it always did.
        return false;
    }
}

std::vector<Pointer<AbstractEditable>> NameEditFlow::expressionViews() const {
    auto seek = make<ExpressionViewSeek>();
    m_support->layoutRoot()->notify(seek);
    return seek->views();
}

bool NameEditFlow::offerRename(const NameEditRequest& request) {
    return rename(request.target(), request.typed());
}

bool NameEditFlow::rename(const std::string& targetText, const std::string& typed) {
    std::vector<Pointer<AbstractEditable>> views = expressionViews();
    std::vector<StringPointer> texts = expressionsOf(views);
    Pointer<Kernel> owner = m_host->viewKernel();
    Kernel& kernel = *owner;
    NameTarget target = parseNameTarget(targetText);
    // A row's name cell takes any value: only a plain name renames the row.
    if (target.kind == NameTarget::Kind::kRow && formulaName(typed) != typed) return false;
    const std::string newName = plainName(typed);
    RenamePlan plan = planRename(kernel, target, newName, texts);
    if (plan.refused()) {
        m_support->setPendingError(plan.refusal->view());
        return true;
    }
    if (plan.changesNothing()) return false;
    m_lastNames = static_cast<std::int64_t>(plan.names.size());
    for (const FormulaRewrite& formula : plan.formulas)
        m_lastNames += formula.names;
    std::vector<RenameCommand::ViewEdit> edits;
    for (const OutsideRewrite& rewrite : plan.outside)
        edits.push_back(
            {views[static_cast<std::size_t>(rewrite.index)], rewrite.before, rewrite.after});
    bool preview = touchesUses(plan, edits.size());
    std::string summary = renameSummary(plan, static_cast<std::int32_t>(edits.size()));
    auto rename = make<RenameCommand>(kernel.program(), std::move(plan), std::move(edits));
    // A name nothing uses changes alone: there is nothing to preview.
    if (!preview) {
        apply(rename);
        return true;
    }
    m_pending = Pending{rename, {}};
    m_window->showMessageBox("Rename " + targetText + " to " + newName + "?\n\n" + summary + ".",
                             kProductName, toolkit::MessageBoxKind::Confirm);
    return true;
}

bool NameEditFlow::offerClearing(const Pointer<NameEditRequest>& request) {
    std::vector<PlaceOfUse> found = uses(request->target());
    if (found.empty()) return false;
    m_pending = Pending{{}, request};
    m_window->showMessageBox(warningText(request->target(), found), kProductName,
                             toolkit::MessageBoxKind::ConfirmDelete);
    return true;
}

bool NameEditFlow::handleMessage(const toolkit::PostedMessage& message) {
    if (message.id != toolkit::kAnswerMessage || !m_pending) return false;
    Pending pending = std::move(*m_pending);
    m_pending.reset();
    if (static_cast<toolkit::Answer>(message.value) != toolkit::Answer::Ok) return true;
    if (!pending.rename.isNull()) apply(pending.rename);
    if (!pending.clearing.isNull()) pending.clearing->applyAsTyped();
    return true;
}

void NameEditFlow::apply(const Pointer<Command>& rename) {
    rename->redo();
    m_support->commands().execute(rename, false);
}

std::vector<PlaceOfUse> NameEditFlow::uses(std::string_view target) const {
    std::vector<Pointer<AbstractEditable>> views = expressionViews();
    std::vector<StringPointer> texts = expressionsOf(views);
    Pointer<Kernel> owner = m_host->viewKernel();
    Kernel& kernel = *owner;
    NameTarget found = parseNameTarget(target);
    std::vector<Reference> references = findReferences(kernel, found, texts);
    const ProgramDef& program = *kernel.program();
    std::vector<PlaceOfUse> list;
    std::set<std::tuple<Reference::Kind, FormulaPlace>> seen;
    for (const Reference& reference : references) {
        if (!isUse(reference.kind) || !seen.insert({reference.kind, reference.place}).second)
            continue;
        const FormulaPlace& place = reference.place;
        PlaceOfUse use;
        switch (reference.kind) {
            case Reference::Kind::kView:
                use.view = views[static_cast<std::size_t>(place.field)];
                use.place = viewDirective(use.view);
                use.use = "view";
                use.text = viewExpression(use.view)->toStdString();
                break;
            case Reference::Kind::kBaseClause:
                use.place = placeLabel(program, {place.table, -1, 0});
                use.use = "base table";
                use.text = "extends " + found.table;
                use.cell = CellPlace{place.table, 0, 1};
                break;
            default: {
                use.place = placeLabel(program, place);
                use.use = "formula";
                StringPointer text = referenceText(program, reference, texts);
                use.text = text.isNull() ? std::string() : text->toStdString();
                std::int32_t field = resultField(kernel, place.table, place.field);
                if (field >= 0) use.cell = CellPlace{place.table, field, place.rowKey};
            }
        }
        list.push_back(std::move(use));
    }
    return list;
}

std::vector<WhereUsedEntry> NameEditFlow::whereUsed(std::string_view target) const {
    std::vector<WhereUsedEntry> entries;
    for (PlaceOfUse& use : uses(target)) {
        std::function<void()> go;
        if (use.cell) {
            go = [host = m_host, cell = *use.cell] { host->goToCell(cell); };
        } else if (!use.view.isNull()) {
            go = [show = m_showView, view = use.view] { show(view); };
        }
        entries.push_back({std::move(use.place), std::move(use.use), std::move(use.text), go});
    }
    return entries;
}

std::string NameEditFlow::warningText(std::string_view target,
                                      const std::vector<PlaceOfUse>& uses) {
    std::string text =
        counted(uses.size(), "place uses ", "places use ") + std::string(target) + ":";
    for (std::size_t i = 0; i < uses.size() && i < kWarningPlaces; ++i)
        text += (i == 0 ? " " : ", ") + uses[i].place;
    if (uses.size() > kWarningPlaces)
        text += ", and " + std::to_string(uses.size() - kWarningPlaces) + " more";
    return text + ".\n\nWithout the name they show errors; Undo brings it back.";
}

}  // namespace qv
