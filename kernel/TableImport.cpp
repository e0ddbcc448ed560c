#include "kernel/TableImport.h"

#include <charconv>
#include <cstdlib>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/CsvCells.h"
#include "core/Number.h"
#include "kernel/RowLimits.h"
#include "language/ExpressionParser.h"
#include "language/PrimaryExpressions.h"
#include "language/SourceExpressions.h"

namespace qv {

namespace {

// Rows of one column between two calls of the progress callback.
constexpr std::int64_t kProgressRows = 1 << 16;

// Why a table name cannot be written in a document, or "".
std::string tableNameProblem(std::string_view name) {
    std::string problem = "\"" + std::string(name) +
                          "\" is not a valid table name: it may not be empty, begin or end "
                          "with a blank, or hold ], #, \" or control characters";
    if (name.empty() || name.front() == ' ' || name.back() == ' ') return problem;
    for (char ch : name) {
        auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20 || byte == 0x7f || ch == ']' || ch == '#' || ch == '"') return problem;
    }
    return {};
}

std::string printedNumber(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// A key value compared across the file and the table: numbers by value,
// texts by their characters, anything else by its formula text.
std::string keyOfNumber(std::string_view numberText) {
    return "n:" + printedNumber(std::strtod(std::string(numberText).c_str(), nullptr));
}

std::string keyOfCell(const CsvTable& data, std::int64_t row, std::int32_t column) {
    std::string_view text = data.cell(row, column);
    switch (data.columnType(column)) {
        case CsvType::Number:
            return keyOfNumber(csvNumberText(text, data.decimalComma()));
        case CsvType::Boolean:
            return "f:" + data.formulaText(row, column);
        case CsvType::Empty:
        case CsvType::Text:
            break;
    }
    return "s:" + std::string(text);
}

std::string keyOfFormula(const ExpressionPointer& formula) {
    if (formula.isNull()) return "s:";
    std::string text = formula->editText()->toStdString();
    std::size_t quotes = 0;
    for (char ch : text)
        quotes += ch == '"' ? 1 : 0;
    if (quotes == 2 && text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return "s:" + text.substr(1, text.size() - 2);
    if (csvCellKind(text, false) == CsvCellKind::Number)
        return keyOfNumber(csvNumberText(text, false));
    return "f:" + text;
}

// The formula of one cell, built as the document reader would build it from
// the same text. Plain numbers and texts skip the parser: they are nearly
// every cell of a large import.
ExpressionPointer cellFormula(const CsvTable& data, std::int64_t row, std::int32_t column) {
    std::string text = data.formulaText(row, column);
    if (text.empty()) return {};
    auto length = static_cast<std::int32_t>(text.size());
    CsvType type = data.columnType(column);
    if (type == CsvType::Text) {
        auto value = make<ValueExpression>(str(std::string_view(text).substr(1, text.size() - 2)));
        return make<ExpressionSource>(str(text), value, ExpressionSource::Origin::Plain, length);
    }
    if (type == CsvType::Number && text.front() != '-') {
        auto value = make<ValueExpression>(make<Double>(Double::parseValue(text)));
        return make<ExpressionSource>(str(text), value, ExpressionSource::Origin::Plain, length);
    }
    return make<ExpressionParser>()->parseFormula(str(text));
}

std::int32_t findTable(const ProgramDef& program, std::string_view name) {
    for (std::int32_t i = 0; i < program.tableCount(); ++i) {
        const Pointer<TableDef>& table = program.table(i);
        if (!table.isNull() && !table->tableName().isNull() && table->tableName()->view() == name)
            return i;
    }
    return -1;
}

std::int32_t findField(const TableDef& table, std::string_view name) {
    for (std::int32_t i = 0; i < table.fieldCount(); ++i) {
        if (table.field(i)->nameText()->view() == name) return i;
    }
    return -1;
}

}  // namespace

class ImportPlanner {
  public:
    ImportPlanner(const ProgramDef& program, const CsvTable& data, const ImportOptions& options,
                  const std::function<bool(std::int64_t)>& progress)
        : m_program(program), m_data(data), m_options(options), m_progress(progress) {}

    void fail(std::int64_t line, std::int64_t column, std::string message) {
        if (m_error.message.empty()) m_error = CsvError{line, column, std::move(message)};
    }

    // Fills the plan's parts; stops at the first fault.
    void plan(CsvError& error, ImportCounts& counts, std::int32_t& index,
              Pointer<TableDef>& result) {
        check();
        if (m_error.message.empty()) {
            index = findTable(m_program, m_options.table);
            m_old = index >= 0 ? m_program.table(index).get() : nullptr;
            result = m_old != nullptr ? copyOf(*m_old) : newTable();
            counts.newTable = index < 0;
            placeColumns(*result, counts);
            matchRows(*result, counts);
        }
        if (m_error.message.empty()) fillRows(*result);
        if (!m_error.message.empty()) {
            error = m_error;
            result = Pointer<TableDef>();
            index = -1;
        }
    }

  private:
    void check() {
        if (std::string problem = tableNameProblem(m_options.table); !problem.empty()) {
            fail(0, 0, problem);
            return;
        }
        const std::vector<std::string>& names = m_data.fieldNames();
        if (!m_options.key.empty()) {
            for (std::size_t i = 0; i < names.size(); ++i)
                if (names[i] == m_options.key) m_keyColumn = static_cast<std::int32_t>(i);
            if (m_keyColumn < 0) {
                fail(0, 0, "the key field " + m_options.key + " is not a column of the data");
                return;
            }
        }
    }

    std::string trimmedCell(std::int64_t row) const {
        std::string_view text = m_data.cell(row, m_keyColumn);
        std::size_t first = text.find_first_not_of(" \t");
        std::size_t last = text.find_last_not_of(" \t");
        return first == std::string_view::npos ? std::string()
                                               : std::string(text.substr(first, last - first + 1));
    }

    // The table to refresh, with its fields, its comments and its sort, but
    // without the comments of its data rows: those follow their rows (see
    // fillRows), or a comment left at a row past the new end would bring
    // the old row count back when the text is read.
    static Pointer<TableDef> copyOf(const TableDef& old) {
        auto table = make<TableDef>(nullptr);
        table->setTableName(old.tableName());
        table->setBaseName(old.baseName());
        table->setTableNameError(old.tableNameError());
        table->setBaseNameError(old.baseNameError());
        table->setComments(old.comments());
        table->setClosingComments(old.closingComments());
        table->setNumRows(old.numRows());
        table->setSort(old.sortField(), old.sortDescending());
        for (std::int32_t key : {FieldDef::kSummaryRow, FieldDef::kFormulaRow})
            table->addRowComments(key, old.rowComments(key));
        for (const auto& field : *old.fields())
            table->fields()->add(make<FieldDef>(*field, table.get(), FieldDef::Formulas::Shared));
        return table;
    }

    Pointer<TableDef> newTable() const {
        auto table = make<TableDef>(nullptr);
        table->setTableName(str(m_options.table));
        return table;
    }

    // Which field of the table each column fills; new fields for the rest.
    void placeColumns(TableDef& table, ImportCounts& counts) {
        for (const std::string& name : m_data.fieldNames()) {
            std::int32_t field = findField(table, name);
            if (field < 0) {
                Pointer<FieldDef> added = table.addField();
                added->setName(str(name));
                field = table.fieldCount() - 1;
                ++counts.newFields;
            }
            m_fieldOfColumn.push_back(field);
        }
        std::int64_t limit = rowLimit(table.fieldCount());
        if (m_data.rowCount() > limit) {
            fail(m_data.lineOf(limit), 1,
                 tooManyRowsMessage(static_cast<double>(m_data.rowCount()), limit)->toStdString());
        }
    }

    // For every row of the file, the table's row it refreshes (0: none).
    void matchRows(const TableDef& table, ImportCounts& counts) {
        std::int64_t oldRows = table.numRows() - 1;
        std::int64_t rows = m_data.rowCount();
        m_oldRowOf.assign(static_cast<std::size_t>(rows), 0);
        if (m_keyColumn < 0) {
            // Without a key the rows are replaced in place: a kept field's
            // cell stays in its row.
            for (std::int64_t row = 0; row < rows; ++row)
                m_oldRowOf[static_cast<std::size_t>(row)] =
                    static_cast<std::int32_t>(row < oldRows ? row + 1 : 0);
            counts.added = rows;
            counts.removed = counts.newTable ? 0 : oldRows;
            return;
        }
        std::unordered_map<std::string, std::int64_t> fileRows;
        for (std::int64_t row = 0; row < rows; ++row) {
            if (m_data.cell(row, m_keyColumn).empty()) {
                fail(m_data.lineOf(row), m_data.columnOf(row, m_keyColumn),
                     "the key field " + m_options.key + " is empty");
                return;
            }
            auto [place, fresh] = fileRows.emplace(keyOfCell(m_data, row, m_keyColumn), row);
            if (!fresh) {
                fail(m_data.lineOf(row), m_data.columnOf(row, m_keyColumn),
                     "the key " + trimmedCell(row) + " is repeated (first on line " +
                         std::to_string(m_data.lineOf(place->second)) + ")");
                return;
            }
        }
        std::int32_t keyField = m_fieldOfColumn[static_cast<std::size_t>(m_keyColumn)];
        const Pointer<FieldDef>& key = table.field(keyField);
        for (std::int32_t old = 1; old <= oldRows; ++old) {
            auto found = fileRows.find(keyOfFormula(key->formula(old)));
            if (found == fileRows.end() ||
                m_oldRowOf[static_cast<std::size_t>(found->second)] != 0) {
                ++counts.removed;
                continue;
            }
            m_oldRowOf[static_cast<std::size_t>(found->second)] = old;
            ++counts.updated;
        }
        counts.added = rows - counts.updated;
    }

    // The data rows in the file's order: the file's cells in its columns,
    // the matched rows' cells in the other fields.
    void fillRows(TableDef& table) {
        std::vector<bool> fromFile(static_cast<std::size_t>(table.fieldCount()), false);
        for (std::int32_t column = 0; column < m_data.columnCount(); ++column) {
            std::int32_t field = m_fieldOfColumn[static_cast<std::size_t>(column)];
            fromFile[static_cast<std::size_t>(field)] = true;
            clearRows(*table.field(field));
            const Pointer<VirtualVector>& cells = table.field(field)->expr();
            cells->reserve(cells->size() + static_cast<std::int32_t>(m_data.rowCount()));
            for (std::int64_t row = 0; row < m_data.rowCount(); ++row) {
                if (row % kProgressRows == 0 && !stillWanted(column, row)) return;
                ExpressionPointer formula = cellFormula(m_data, row, column);
                if (!formula.isNull()) cells->set(static_cast<std::int32_t>(row + 1), formula);
            }
        }
        for (std::int32_t field = 0; field < table.fieldCount(); ++field) {
            if (!fromFile[static_cast<std::size_t>(field)]) keepRows(*table.field(field));
        }
        table.setNumRows(static_cast<std::int32_t>(m_data.rowCount() + 1));
        if (m_old == nullptr) return;
        for (std::size_t row = 0; row < m_oldRowOf.size(); ++row) {
            if (m_oldRowOf[row] > 0) {
                table.addRowComments(static_cast<std::int32_t>(row + 1),
                                     m_old->rowComments(m_oldRowOf[row]));
            }
        }
    }

    // False, with the plan failed, when the caller stops it.
    bool stillWanted(std::int32_t column, std::int64_t row) {
        if (!m_progress) return true;
        if (m_progress(column * m_data.rowCount() + row)) return true;
        fail(0, 0, "import stopped");
        return false;
    }

    static void clearRows(FieldDef& field) {
        for (std::int32_t key : field.expr()->sortedIndexes())
            if (key > 0) field.expr()->remove(key, false);
    }

    // A field the file does not fill: its cell formulas follow their rows.
    void keepRows(FieldDef& field) {
        const Pointer<VirtualVector>& cells = field.expr();
        std::unordered_map<std::int32_t, Pointer<Object>> old;
        for (std::int32_t key : cells->sortedIndexes())
            if (key > 0) old.emplace(key, cells->get(key));
        clearRows(field);
        for (std::size_t row = 0; row < m_oldRowOf.size(); ++row) {
            auto found = old.find(m_oldRowOf[row]);
            if (m_oldRowOf[row] > 0 && found != old.end())
                cells->set(static_cast<std::int32_t>(row + 1), found->second);
        }
    }

    const ProgramDef& m_program;
    const CsvTable& m_data;
    const ImportOptions& m_options;
    const std::function<bool(std::int64_t)>& m_progress;
    const TableDef* m_old = nullptr;  // the table refreshed, if any
    CsvError m_error;
    std::int32_t m_keyColumn = -1;
    std::vector<std::int32_t> m_fieldOfColumn;
    std::vector<std::int32_t> m_oldRowOf;
};

ImportPlan::ImportPlan(const ProgramDef& program, const CsvTable& data,
                       const ImportOptions& options)
    : ImportPlan(program, data, options, {}) {}

ImportPlan::ImportPlan(const ProgramDef& program, const CsvTable& data,
                       const ImportOptions& options,
                       const std::function<bool(std::int64_t cellsDone)>& progress) {
    ImportPlanner(program, data, options, progress).plan(m_error, m_counts, m_tableIndex, m_table);
}

void applyImport(ProgramDef& program, const ImportPlan& plan) {
    if (plan.failed() || plan.table().isNull()) return;
    const Pointer<TableDef>& table = plan.table();
    table->setOwner(&program);
    if (plan.tableIndex() < 0) {
        program.addTable(table);
        return;
    }
    (*program.tables())[plan.tableIndex()] = table;
    program.touch();
}

std::string describeImport(const ImportOptions& options, const ImportCounts& counts) {
    std::string text = (counts.newTable ? "imported " : "refreshed ") + options.table + ": " +
                       std::to_string(counts.updated) + " updated, " +
                       std::to_string(counts.added) + " added, " + std::to_string(counts.removed) +
                       " removed";
    if (counts.newFields > 0 && !counts.newTable)
        text += ", " + std::to_string(counts.newFields) + " new fields";
    return text;
}

}  // namespace qv
