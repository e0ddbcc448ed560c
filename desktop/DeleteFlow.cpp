#include "desktop/DeleteFlow.h"

#include "desktop/DocumentTitle.h"
#include "kernel/NameTarget.h"
#include "kernel/ResolvedField.h"
#include "kernel/ResolvedTable.h"
#include "language/TableDef.h"
#include "model/ModelEditor.h"

namespace qv {

namespace {

std::string counted(std::int32_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string textOf(const StringPointer& text) {
    return text.isNull() ? std::string() : text->trim()->toStdString();
}

// "Table.field" as formulas write it, or empty when either has no name.
std::string fieldLabel(const std::string& table, const std::string& field) {
    if (table.empty() || field.empty()) return {};
    NameTarget target;
    target.kind = NameTarget::Kind::kField;
    target.table = table;
    target.name = field;
    return target.label();
}

std::string tableLabel(const std::string& table) {
    if (table.empty()) return {};
    NameTarget target;
    target.table = table;
    return target.label();
}

// The table that defines a field first: the one whose definition the
// field's chain of overrides starts from, which deleting it reaches.
std::string definingTable(const TableResult& table, std::int32_t field) {
    Pointer<ResolvedField> first = table.resolved()->field(field);
    // Bounded: a chain of base tables that loops is cut by the linker, and
    // a program has no more definitions of one field than tables.
    for (std::int32_t step = 0; !first->overridden().isNull() && step < 1 << 20; ++step)
        first = first->overridden();
    TableDef* owner = first->definition()->owner();
    return owner == nullptr ? std::string() : textOf(owner->tableName());
}

}  // namespace

std::string DeleteFlow::usesWarning(const std::string& label) const {
    if (label.empty()) return {};
    std::vector<PlaceOfUse> uses;
    try {
        uses = m_names->uses(label);
    } catch (const StringPointer&) {
        // A name the linker does not find as written (a namesake hides it,
        // it does not read): no formula reaches it by that name.
        return {};
    }
    return uses.empty() ? std::string() : NameEditFlow::warningText(label, uses);
}

std::string DeleteFlow::fieldQuestion(std::int32_t table, std::int32_t field) const {
    Pointer<Kernel> kernel = m_host->viewKernel();
    if (table < 0 || table >= kernel->getTableCount()) return {};
    Pointer<TableResult> result = kernel->getTable(table);
    if (field < 0 || field >= result->fieldCount()) return {};
    const std::string tableName = textOf(result->name());
    const std::string fieldName = textOf(result->fieldName(field));
    const std::string base = definingTable(*result, field);
    if (base.empty() || base == tableName) return usesWarning(fieldLabel(tableName, fieldName));
    // From the extending table's grid the field goes from its base table,
    // and so from the tables that extend the base and inherit it (one that
    // defines it itself keeps its own): said before anything else.
    const std::string label = fieldLabel(base, fieldName);
    std::string uses = usesWarning(label);
    return fieldLabel(tableName, fieldName) + " comes from " + tableLabel(base) +
           ": deleting it deletes " + label + " too, and every table extending " +
           tableLabel(base) + " that does not define it itself loses it.\n\n" +
           (uses.empty() ? "Nothing uses it; Undo brings it back." : uses);
}

std::string DeleteFlow::tableQuestion(std::int32_t table) const {
    Pointer<Kernel> kernel = m_host->viewKernel();
    if (table < 0 || table >= kernel->getTableCount()) return {};
    Pointer<TableResult> result = kernel->getTable(table);
    const std::string label = tableLabel(textOf(result->name()));
    std::string uses = usesWarning(label);
    if (!uses.empty()) return uses;
    // Nothing uses it, yet its fields and rows go with it.
    const TableDef& definition = *result->definition();
    if (definition.fieldCount() == 0 && result->rowCount() <= 1) return {};
    std::string name = label.empty() ? "this table" : label;
    return "Delete " + name + " with its " + counted(definition.fieldCount(), "field", "fields") +
           " and " + counted(result->rowCount() - 1, "row", "rows") + "?\n\nUndo brings it back.";
}

void DeleteFlow::deleteField(std::int32_t table, std::int32_t field) {
    if (m_pending) return;
    askOrApply({table, field}, fieldQuestion(table, field));
}

void DeleteFlow::deleteTable(std::int32_t table) {
    if (m_pending) return;
    askOrApply({table, -1}, tableQuestion(table));
}

void DeleteFlow::askOrApply(const Target& target, const std::string& question) {
    if (question.empty()) return apply(target);
    Pointer<Kernel> kernel = m_host->viewKernel();
    m_pending = Pending{target, kernel.get(), kernel->getChangeCount()};
    m_window->showMessageBox(question, kProductName, toolkit::MessageBoxKind::ConfirmDelete);
}

bool DeleteFlow::handleMessage(const toolkit::PostedMessage& message) {
    if (message.id != toolkit::kAnswerMessage || !m_pending) return false;
    Pending pending = *m_pending;
    m_pending.reset();
    if (static_cast<toolkit::Answer>(message.value) != toolkit::Answer::Ok) return true;
    Pointer<Kernel> kernel = m_host->viewKernel();
    // The model changed while the question was open: what it named may be
    // elsewhere now.
    if (kernel.get() != pending.kernel || kernel->getChangeCount() != pending.changeCount)
        return true;
    apply(pending.target);
    return true;
}

void DeleteFlow::apply(const Target& target) {
    Pointer<Kernel> kernel = m_host->viewKernel();
    if (target.table < 0 || target.table >= kernel->getTableCount()) return;
    auto editor = make<ModelEditor>(kernel->program(), &m_support->commands());
    if (target.field < 0) {
        editor->deleteTable(target.table);
    } else {
        editor->deleteField(*kernel->getTable(target.table), target.field);
    }
}

}  // namespace qv
