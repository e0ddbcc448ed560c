#include "model/ModelEditor.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>

#include "core/Errors.h"
#include "core/Warning.h"
#include "kernel/RowLimits.h"
#include "kernel/TypedFormula.h"
#include "language/ExpressionParser.h"
#include "language/ParseResult.h"

namespace qv {

namespace {

std::int32_t indexOfTable(const ProgramDef& program, const TableDef* table) {
    for (std::int32_t index = 0; index < program.tableCount(); ++index) {
        if (program.table(index).get() == table) return index;
    }
    return -1;
}

std::int32_t indexOfName(const ProgramDef& program, const StringPointer& name) {
    if (name.isNull() || name->length() == 0) return -1;
    for (std::int32_t index = 0; index < program.tableCount(); ++index) {
        const StringPointer& candidate = program.table(index)->tableName();
        if (!candidate.isNull() && candidate->equals(*name)) return index;
    }
    return -1;
}

StringPointer trimmed(const StringPointer& text) {
    return text.isNull() ? str("") : text->trim();
}

void writeTableName(TableDef& table, const StringPointer& text) {
    table.setTableName(trimmed(text));
}

// A base name that does not parse is kept, with the warning the list shows.
void writeBaseName(TableDef& table, const StringPointer& text) {
    Pointer<ParseResult> parsed = make<ExpressionParser>()->parseIdentifier(text, "base name");
    table.setBaseName(cast<String>(parsed->value()));
    table.setBaseNameError(parsed->failed() ? Pointer<Object>(make<Warning>(parsed->error()))
                                            : Pointer<Object>());
}

}  // namespace

// ---- Steps and snapshots ----

void ModelEditor::openStep(std::string_view name) {
    m_step.emplace(Step{std::string(name),
                        ProgramSnapshot(*m_program),
                        {},
                        m_program->tableCount(),
                        m_program->changeCount()});
}

// A step that changed nothing records nothing.
void ModelEditor::closeStep() {
    Step step = std::move(*m_step);
    m_step.reset();
    if (m_program->changeCount() == step.changeCount) return;
    ProgramSnapshot after(*m_program);
    for (std::int32_t index : step.tables)
        after.add(*m_program, index);
    for (std::int32_t index = step.tableCount; index < m_program->tableCount(); ++index)
        after.add(*m_program, index);
    auto command = make<ModelEditCommand>(m_program, std::move(step.before), std::move(after),
                                          std::move(step.name));
    m_commands->execute(command, false);
}

void ModelEditor::applyEdit(std::string_view name, const std::vector<std::int32_t>& tables,
                            const std::function<void()>& change) {
    if (m_program.isNull() || m_commands == nullptr) {
        change();
        return;
    }
    const bool ownStep = !m_step;
    if (ownStep) openStep(name);
    for (std::int32_t index : tables) {
        m_step->before.add(*m_program, index);
        m_step->tables.push_back(index);
    }
    if (!ownStep) {
        change();
        return;
    }
    try {
        change();
    } catch (...) {
        closeStep();
        throw;
    }
    closeStep();
}

void ModelEditor::group(std::string_view name, const std::function<void()>& edits) {
    if (m_program.isNull() || m_commands == nullptr || m_step) {
        edits();
        return;
    }
    openStep(name);
    try {
        edits();
    } catch (...) {
        closeStep();
        throw;
    }
    closeStep();
}

std::vector<std::int32_t> ModelEditor::tablesOf(const TableResult& table) const {
    std::vector<std::int32_t> indexes;
    if (m_program.isNull()) return indexes;
    const ProgramDef& program = *m_program;
    std::int32_t index = indexOfTable(program, table.definition().get());
    // Bounded by the table count: a chain of base names may loop.
    while (index >= 0 && static_cast<std::int32_t>(indexes.size()) < program.tableCount()) {
        if (std::find(indexes.begin(), indexes.end(), index) != indexes.end()) break;
        indexes.push_back(index);
        index = indexOfName(program, program.table(index)->baseName());
    }
    return indexes;
}

void ModelEditor::touch(const TableDef& table) {
    ProgramDef* program = table.owner();
    if (program != nullptr) program->touch();
}

// ---- Cells and fields ----

// A row key past the rows a table may hold is refused rather than stored:
// the table could never show it, and its num_rows would overflow.
void ModelEditor::setCellFormula(TableResult& table, std::int32_t field, std::int32_t row,
                                 const StringPointer& formula) {
    applyEdit("formula", tablesOf(table), [&] {
        if (field < 0 || row < -1) return;
        if (row > kMaxRows) throwString(tooManyRowsMessage(row, kMaxRows));
        ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(formula);
        Pointer<FieldDef> definition = table.resolved()->fieldForEdit(field);
        definition->setFormula(row, parsed);
        const Pointer<TableDef>& own = table.definition();
        if (row >= own->numRows()) own->setNumRows(row + 1);
        touch(*own);
    });
}

void ModelEditor::setCellText(TableResult& table, std::int32_t field, std::int32_t row,
                              const StringPointer& text) {
    setCellFormula(table, field, row, typedFormulaText(text));
}

void ModelEditor::setFieldName(TableResult& table, std::int32_t field, const StringPointer& text) {
    applyEdit("rename", tablesOf(table), [&] {
        if (field < 0) return;
        if (table.overrides(field)) {
            throwMessage(
                "can not modify this cell because it contain a field name that is defined in "
                "base table.");
        }
        Pointer<FieldDef> definition = table.resolved()->fieldForEdit(field);
        Pointer<ParseResult> parsed = make<ExpressionParser>()->parseFieldName(text);
        if (parsed->failed()) {
            // The text is kept as typed, so nothing the user wrote is lost.
            definition->setName(trimmed(text));
            definition->setWarning(parsed->error());
        } else {
            definition->setName(parsed->value());
            definition->setWarning(StringPointer());
        }
        touch(*table.definition());
    });
}

void ModelEditor::rename(const RenamePlan& plan) {
    if (m_program.isNull() || plan.refused() || plan.changesNothing()) return;
    std::vector<std::int32_t> tables;
    for (const FormulaRewrite& formula : plan.formulas)
        tables.push_back(formula.place.table);
    for (const NameRewrite& name : plan.names)
        tables.push_back(name.table);
    std::sort(tables.begin(), tables.end());
    tables.erase(std::unique(tables.begin(), tables.end()), tables.end());
    applyEdit("rename", tables, [&] { applyRename(*m_program, plan); });
}

void ModelEditor::setVisible(TableResult& table, std::int32_t field, bool visible) {
    applyEdit("visible", tablesOf(table), [&] {
        if (field < 0) return;
        table.resolved()->fieldForEdit(field)->setVisible(visible ? 1 : 0);
        touch(*table.definition());
    });
}

void ModelEditor::insertField(TableResult& table, std::int32_t position) {
    applyEdit("insert field", tablesOf(table), [&] {
        const Pointer<TableDef>& own = table.definition();
        auto added = make<FieldDef>(own.get());
        std::int32_t target = position < 0 ? -1 : table.visibleField(position);
        if (target >= 0 && table.resolved()->definesField(target)) {
            own->fields()->insert(table.resolved()->field(target)->position(), added);
        } else if (target >= 0) {
            // Before an inherited column: the first of the table's own fields.
            own->fields()->insert(0, added);
        } else {
            own->fields()->add(added);
        }
        touch(*own);
    });
}

void ModelEditor::deleteField(TableResult& table, std::int32_t field) {
    applyEdit("delete field", tablesOf(table), [&] {
        if (field < 0 || field >= table.fieldCount()) return;
        // The base table's field goes first, up the chain of overridden fields.
        std::vector<Pointer<FieldDef>> chain;
        for (Pointer<ResolvedField> resolved = table.resolved()->field(field); !resolved.isNull();
             resolved = resolved->overridden()) {
            chain.push_back(resolved->definition());
        }
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            TableDef* owner = (*it)->owner();
            if (owner == nullptr) continue;
            for (std::int32_t i = 0; i < owner->fieldCount(); ++i) {
                if (owner->field(i).get() == it->get()) {
                    owner->fields()->remove(i);
                    break;
                }
            }
        }
        touch(*table.definition());
    });
}

// The new field is the definition's own: written straight into it, since
// the linked table knows it only after the next link. A name typed there is
// kept as typed when it does not parse, as a formula is.
void ModelEditor::addField(TableResult& table, NewField part, std::int32_t row,
                           const StringPointer& text) {
    applyEdit("add field", tablesOf(table), [&] {
        const Pointer<TableDef>& own = table.definition();
        if (part == NewField::Formula && row > kMaxRows)
            throwString(tooManyRowsMessage(row, kMaxRows));
        auto added = make<FieldDef>(own.get());
        own->fields()->add(added);
        auto parser = make<ExpressionParser>();
        if (part == NewField::Name) {
            Pointer<ParseResult> parsed = parser->parseFieldName(text);
            added->setName(parsed->failed() ? Pointer<Object>(text) : parsed->value());
            if (parsed->failed()) added->setWarning(parsed->error());
        } else {
            added->setFormula(row, parser->parseFormula(typedFormulaText(text)));
            if (row >= own->numRows()) own->setNumRows(row + 1);
        }
        touch(*own);
    });
}

// Inserting before row r moves the formulas of rows r, r + 1, ... of every
// field down by one; a row past the end appends one. The rows counted are
// the ones the table shows, its base table's included.
void ModelEditor::insertRow(TableResult& table, std::int32_t row) {
    applyEdit("insert row", tablesOf(table), [&] {
        const Pointer<TableDef>& own = table.definition();
        std::int32_t rows = std::max(own->numRows(), table.resolved()->rows());
        if (rows > kMaxRows) throwString(tooManyRowsMessage(rows, kMaxRows));
        row = std::clamp(row, 1, rows);
        for (const auto& field : *own->fields())
            field->expr()->shift(row, 1);
        own->setNumRows(rows + 1);
        touch(*own);
    });
}

// Deleting row r drops the formulas of that row and moves the later rows
// up. Rows that come from the base table stay: only this table's own
// formulas move.
void ModelEditor::deleteRow(TableResult& table, std::int32_t row) {
    applyEdit("delete row", tablesOf(table), [&] {
        const Pointer<TableDef>& own = table.definition();
        if (row < 1 || row >= std::max(own->numRows(), table.resolved()->rows())) return;
        for (const auto& field : *own->fields())
            field->expr()->remove(row, true);
        if (row < own->numRows()) own->setNumRows(own->numRows() - 1);
        touch(*own);
    });
}

void ModelEditor::setSort(TableResult& table, std::int32_t field, bool descending) {
    table.definition()->setSort(field, descending);
    const Pointer<AbstractKernelFeedback>& feedback = table.options().feedback;
    if (!feedback.isNull()) feedback->computeStarted();
    table.orderRows();
    if (!feedback.isNull()) feedback->computeFinished();
}

// ---- Tables ----

void ModelEditor::setTableName(std::int32_t table, const StringPointer& text) {
    if (m_program.isNull() || table < 0 || table >= m_program->tableCount()) return;
    applyEdit("rename table", {table}, [&] {
        const Pointer<TableDef>& definition = m_program->table(table);
        writeTableName(*definition, text);
        touch(*definition);
    });
}

void ModelEditor::setBaseName(std::int32_t table, const StringPointer& text) {
    if (m_program.isNull() || table < 0 || table >= m_program->tableCount()) return;
    applyEdit("base table", {table}, [&] {
        const Pointer<TableDef>& definition = m_program->table(table);
        writeBaseName(*definition, text);
        touch(*definition);
    });
}

// The new table is written whole before it joins the program: one change.
// The step finds it by itself, as every table past the count it started
// with is copied after the edit.
// An empty text makes no table: a table with neither a name nor a base
// name could not be written back (Delete on the new-table line did that).
void ModelEditor::addTable(NewTable part, const StringPointer& text) {
    if (m_program.isNull() || trimmed(text)->length() == 0) return;
    applyEdit("add table", {}, [&] {
        auto added = make<TableDef>(m_program.get());
        if (part == NewTable::Name) {
            writeTableName(*added, text);
        } else {
            writeBaseName(*added, text);
        }
        m_program->addTable(added);
    });
}

std::int32_t ModelEditor::import(const ImportPlan& plan) {
    if (m_program.isNull() || plan.failed()) return -1;
    std::vector<std::int32_t> replaced;
    if (plan.tableIndex() >= 0) replaced.push_back(plan.tableIndex());
    applyEdit("import", replaced, [&] { applyImport(*m_program, plan); });
    return plan.tableIndex() >= 0 ? plan.tableIndex() : m_program->tableCount() - 1;
}

// Every table from the deleted one on is copied, since each moves up one
// place: the snapshot taken before puts them all back where they were.
void ModelEditor::deleteTable(std::int32_t table) {
    if (m_program.isNull() || table < 0 || table >= m_program->tableCount()) return;
    std::vector<std::int32_t> moved;
    for (std::int32_t index = table; index < m_program->tableCount(); ++index)
        moved.push_back(index);
    applyEdit("delete table", moved, [&] {
        m_program->tables()->remove(table);
        m_program->touch();
    });
}

}  // namespace qv
