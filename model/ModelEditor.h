// The model editor: the one door through which the program model changes.
//
// The rule: every edit of the model (a cell's formula, a field's formula or
// name, adding and removing fields, rows and tables, renaming, visibility,
// sorting, a paste) is an operation of this class. Views call it and never
// parse or write definitions themselves; table results only read. The
// editor parses what was typed, writes the definitions, raises the
// program's change count (so the kernel relinks and recomputes on the next
// read) and records each edit as one undoable command, with copies of the
// tables it changed taken before and after.
//
// Why one door: renaming, import, find and replace and incremental
// recomputation all need one place where the model changes, and undo then
// covers every edit because the copies are taken where the edit is made.
//
// The editor holds no state of the model: the change count is the
// program's, the history the work area's. So a view makes one over the
// program and the work area's commands for each edit, at no cost, rather
// than every view being handed a shared one.

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/CommandManager.h"
#include "editing/TextBase.h"
#include "kernel/RenamePlan.h"
#include "kernel/TableImport.h"
#include "kernel/TableResult.h"
#include "language/ProgramDef.h"
#include "model/ModelEditCommand.h"

namespace qv {

class ModelEditor final : public Object {
    QV_OBJECT(ModelEditor, Object, "ModelEditor")
  public:
    // `commands` may be null: the edits then apply without an undo step
    // (the caller records its own command, or keeps no history). `program`
    // may be null for a table that belongs to no program (a table computed
    // by a formula): its edits then change only that table.
    ModelEditor(Pointer<ProgramDef> program, CommandManager* commands)
        : m_program(std::move(program)), m_commands(commands) {}

    const Pointer<ProgramDef>& program() const noexcept { return m_program; }
    // Raised by every edit and every undo or redo of one.
    std::int32_t changeCount() const noexcept {
        return m_program.isNull() ? 0 : m_program->changeCount();
    }

    // Cells and fields of a table, numbered as its result numbers them
    // (fields in order, row keys from -1). A message thrown by an edit
    // passes on; whatever the edit changed before is recorded, so it can
    // be undone.
    void setCellFormula(TableResult& table, std::int32_t field, std::int32_t row,
                        const StringPointer& formula);
    // A typed text: a number or true/false as typed, "=..." a formula,
    // anything else a string.
    void setCellText(TableResult& table, std::int32_t field, std::int32_t row,
                     const StringPointer& text);
    // A name that does not parse is kept as typed, with a warning.
    void setFieldName(TableResult& table, std::int32_t field, const StringPointer& text);
    void setVisible(TableResult& table, std::int32_t field, bool visible);
    // Before the field shown at `position`; -1 appends.
    void insertField(TableResult& table, std::int32_t position);
    // With the base tables' fields it overrides.
    void deleteField(TableResult& table, std::int32_t field);
    // A new last field, made by typing its name or a formula in one row.
    enum class NewField : std::uint8_t { Name, Formula };
    void addField(TableResult& table, NewField part, std::int32_t row, const StringPointer& text);
    // Rows: the row keys of every field's formulas shift with the rows.
    void insertRow(TableResult& table, std::int32_t row);
    void deleteRow(TableResult& table, std::int32_t row);
    // The order the table's rows are shown in; no change of the program.
    void setSort(TableResult& table, std::int32_t field, bool descending);

    // Tables, by their index in the program.
    void setTableName(std::int32_t table, const StringPointer& text);
    void setBaseName(std::int32_t table, const StringPointer& text);
    // A new last table, made by typing its name or its base name; an empty
    // text makes none.
    enum class NewTable : std::uint8_t { Name, BaseName };
    void addTable(NewTable part, const StringPointer& text);
    // Removes the table at `table`; the tables after it move up one place.
    // Formulas and base clauses that named it are left as written: they
    // show the error of a name that is not there, and undo puts the table
    // back at its place.
    void deleteTable(std::int32_t table);

    // Find and replace: new texts for formulas (a table's index, the field's
    // index in that table's definition, the row key) and for text areas,
    // applied as one undoable step. A formula that no longer parses keeps
    // its text and shows its error. See ModelEditorReplace.cpp.
    struct FormulaText {
        std::int32_t table;
        std::int32_t definition;
        std::int32_t row;
        StringPointer text;
    };
    struct AreaText {
        Pointer<TextBase> area;
        std::string text;
    };
    void replaceTexts(const std::vector<FormulaText>& formulas, const std::vector<AreaText>& areas);

    // An exact rename made by planRename (kernel/RenamePlan.h): the target's
    // names and every formula naming it, as one undoable step named
    // "rename". A refused plan changes nothing. The views of the work area
    // that name the target are the caller's.
    void rename(const RenamePlan& plan);

    // An import of CSV data planned by ImportPlan (kernel/TableImport.h):
    // the new or refreshed table as one undoable step named "import", whose
    // undo gives the model back as it was. A failed plan changes nothing.
    // Returns the index of the imported table in the program, or -1 when
    // nothing was imported.
    std::int32_t import(const ImportPlan& plan);

    // Runs `edits` (calls of the operations above) as one undoable step
    // named `name`: a paste, a typed cell. Nested groups join the outer one.
    void group(std::string_view name, const std::function<void()>& edits);

  private:
    // What the open step has copied so far.
    struct Step {
        std::string name;
        ProgramSnapshot before;
        std::vector<std::int32_t> tables;
        std::int32_t tableCount;
        std::int32_t changeCount;
    };

    // Runs one operation that may change `tables` (indexes in the program),
    // inside the open step or as a step of its own.
    void applyEdit(std::string_view name, const std::vector<std::int32_t>& tables,
                   const std::function<void()>& change);
    void openStep(std::string_view name);
    void closeStep();
    // The indexes of a table's definition and of the tables it extends (an
    // edit of an inherited field may change a base table).
    std::vector<std::int32_t> tablesOf(const TableResult& table) const;
    void touch(const TableDef& table);

    Pointer<ProgramDef> m_program;
    CommandManager* m_commands;  // not owning: the work area's
    std::optional<Step> m_step;
};

}  // namespace qv
