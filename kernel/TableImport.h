// Import of read CSV data (core/CsvReader.h) into a table of a model: a new
// table, or a refresh of one that exists.
//
// The plan is made first, from the program and the data, and checks
// everything that can go wrong (the table's name, the key, the engine's
// bounds); applying it cannot fail. So a bad file leaves the document as it
// was, and the shell and the desktop's one undoable step apply the same plan.
//
// A refresh keeps what did not come from the file: the fields of the table
// that the file does not have (formula fields) keep their formulas, and
// tables that extend or read the table are not touched. With a key field the
// file's rows are matched with the table's rows by that field's value: a
// matched row is updated, an unmatched file row added, an unmatched table
// row removed; the cell formulas of the kept fields go with their rows.
// Without a key the data rows are replaced. In both cases the table's data
// rows then stand in the order of the file.

#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/CsvReader.h"
#include "language/ProgramDef.h"

namespace qv {

struct ImportOptions {
    // The table to make or refresh.
    std::string table;
    // The field whose value matches rows on a refresh; empty for none.
    std::string key;
};

// What an import did (or will do, counted by the plan).
struct ImportCounts {
    bool newTable = false;
    // Without a key every row counts as added, and the table's rows
    // before it as removed.
    std::int64_t updated = 0;
    std::int64_t added = 0;
    std::int64_t removed = 0;
    // Fields made for columns the table did not have.
    std::int32_t newFields = 0;
};

// "imported 3 rows into Sales: 1 updated, 2 added, 0 removed" and the like.
std::string describeImport(const ImportOptions& options, const ImportCounts& counts);

// A table ready to take the place of the one named, made from the data.
class ImportPlan {
  public:
    // Checks the data against the program; on a fault `error()` says why
    // (with the line and column of the data when a cell is the cause) and
    // the plan applies nothing.
    ImportPlan(const ProgramDef& program, const CsvTable& data, const ImportOptions& options);
    // The same, calling `progress` now and then with the cells made so far
    // (of the data's rows times columns); returning false stops the plan
    // with the message "import stopped".
    ImportPlan(const ProgramDef& program, const CsvTable& data, const ImportOptions& options,
               const std::function<bool(std::int64_t cellsDone)>& progress);

    bool failed() const noexcept { return !m_error.message.empty(); }
    const CsvError& error() const noexcept { return m_error; }
    const ImportCounts& counts() const noexcept { return m_counts; }
    // The index of the table replaced, or -1 when a new last table is added.
    std::int32_t tableIndex() const noexcept { return m_tableIndex; }
    // The table the import makes (owned by no program until applied).
    const Pointer<TableDef>& table() const noexcept { return m_table; }

  private:
    CsvError m_error;
    ImportCounts m_counts;
    std::int32_t m_tableIndex = -1;
    Pointer<TableDef> m_table;
};

// Puts the plan's table in the program (in place of the table it refreshes,
// or last) and raises the change count. A failed plan changes nothing. The
// plan's table is the program's afterwards: apply a plan once.
void applyImport(ProgramDef& program, const ImportPlan& plan);

}  // namespace qv
