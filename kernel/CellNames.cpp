// The names of cells as a user writes them outside any table: the table's
// name, the row ("[3]", "[sum]", nothing for the formula row) and the field.
#include <string>

#include "core/Errors.h"
#include "kernel/CellPlace.h"
#include "kernel/ProgramResult.h"
#include "kernel/ResolvedProgram.h"
#include "language/AbstractExpression.h"

namespace qv {

namespace {

const TableResult& tableAt(ProgramResult& results, const CellPlace& place) {
    if (place.table < 0 || place.table >= results.tableCount()) throwString(str("no such cell"));
    const Pointer<TableResult>& table = results.getTable(place.table);
    if (table.isNull() || place.field < 0 || place.field >= table->fieldCount() || place.row < -1 ||
        place.row >= table->rowCount()) {
        throwString(str("no such cell"));
    }
    return *table;
}

// The formula row is the table's own dot ("T.f"); the others need an index.
// A row name does not serve: outside its table "T[name]" reads the name as
// anything but that table's row.
void appendRow(std::string& out, std::int32_t row) {
    if (row == 0) return;
    out += row < 0 ? "[sum]" : "[" + std::to_string(row) + "]";
}

// By name when the name leads back to this very field; otherwise by its
// position after the marker fields ("T[3][2]", "T[base][2]" for the formula
// row). A marker field without a name that finds it has no readable form:
// its plain name is the nearest.
void appendField(std::string& out, const ResolvedTable& table, std::int32_t field,
                 std::int32_t row) {
    StringPointer name = table.field(field)->definition()->nameText();
    bool named = name->length() > 0 && table.fieldIndexOf(name->view()) == field;
    std::int32_t position = field - table.headerCount() + 1;
    if (named || position < 1) {
        out += '.';
        printName(out, name);
        return;
    }
    if (row == 0) out += "[base]";
    out += "[" + std::to_string(position) + "]";
}

}  // namespace

StringPointer cellName(ProgramResult& results, const CellPlace& place) {
    if (!place.isCell()) return str("");
    const TableResult& table = tableAt(results, place);
    std::string out;
    printName(out, table.name());
    appendRow(out, place.row);
    appendField(out, *table.resolved(), place.field, place.row);
    return str(out);
}

StringPointer localCellName(ProgramResult& results, const StringPointer& call, std::int32_t table,
                            std::int32_t field, std::int32_t row) {
    const ResolvedProgram& program = *results.linked();
    if (table < 0 || table >= program.tableCount()) throwString(str("no such cell"));
    const Pointer<ResolvedTable>& resolved = program.table(table);
    if (resolved.isNull() || field < 0 || field >= resolved->fieldCount())
        throwString(str("no such cell"));
    std::string out(call->view());
    appendRow(out, row);
    appendField(out, *resolved, field, row);
    return str(out);
}

}  // namespace qv
