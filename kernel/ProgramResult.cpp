#include "kernel/ProgramResult.h"

#include <utility>

#include "kernel/Evaluator.h"
#include "kernel/RowLimits.h"

namespace qv {

namespace {

std::int64_t g_computations = 0;

// Deep enough for any recursion written on purpose, shallow enough that a
// runaway one fails in milliseconds, in every row that calls it.
constexpr std::int32_t kMaxUserCalls = 10'000;
// Local tables inside local tables: each level holds a copy of a table.
constexpr std::size_t kMaxLocalTables = 100;
constexpr std::int64_t kMaxLocalCells = kMaxCells;

[[noreturn]] void nestedTooDeeply() {
    throw str("calculation nested too deeply");
}

}  // namespace

ProgramResult::CallNesting::CallNesting(ProgramResult& results) : m_results(results) {
    if (m_results.m_userCalls >= kMaxUserCalls) nestedTooDeeply();
    ++m_results.m_userCalls;
}

// The outermost local table may be as large as any table; the ones nested
// in it share one budget of cells.
ProgramResult::LocalTableNesting::LocalTableNesting(ProgramResult& results, std::int32_t table,
                                                    std::int64_t cells)
    : m_results(results), m_cells(cells) {
    auto& runaway = m_results.m_runawayTables;
    if (runaway.size() <= static_cast<std::size_t>(table)) {
        runaway.resize(static_cast<std::size_t>(table) + 1);
    }
    const auto& nested = m_results.m_localTables;
    if (!nested.empty()) {
        if (runaway[static_cast<std::size_t>(table)]) nestedTooDeeply();
        if (nested.size() >= kMaxLocalTables || m_results.m_localCells + cells > kMaxLocalCells) {
            for (std::int32_t enclosing : nested)
                runaway[static_cast<std::size_t>(enclosing)] = true;
            runaway[static_cast<std::size_t>(table)] = true;
            nestedTooDeeply();
        }
    }
    m_results.m_localTables.push_back(table);
    m_results.m_localCells += cells;
}

ProgramResult::LocalTableNesting::~LocalTableNesting() {
    m_results.m_localTables.pop_back();
    m_results.m_localCells -= m_cells;
}

std::int64_t ProgramResult::computationCount() noexcept {
    return g_computations;
}

ProgramResult::ProgramResult(ResultOptions options, const Pointer<ResolvedProgram>& linked,
                             std::int64_t textLimit)
    : m_options(std::move(options)),
      m_linked(linked),
      m_tables(make<TVector<TableResult>>(linked->tableCount())),
      m_version(linked->version()),
      m_textBudget(textLimit) {
    m_options.textBudget = &m_textBudget;
}

ProgramResult::~ProgramResult() {
    for (const auto& table : *m_tables) {
        if (!table.isNull()) table->releaseCells();
    }
    m_linked->forgetScans();
}

// The cells of all tables share one budget; a table past it keeps its
// formula row and says why.
std::vector<ProgramResult::TableRows> ProgramResult::plannedRows(const ResolvedProgram& linked) {
    std::vector<TableRows> planned(static_cast<std::size_t>(linked.tableCount()));
    std::int64_t budget = kMaxProgramCells;
    for (std::int32_t i = 0; i < linked.tableCount(); ++i) {
        const Pointer<ResolvedTable>& table = linked.table(i);
        if (table.isNull()) continue;
        std::int64_t columns = std::max<std::int32_t>(table->fieldCount(), 1);
        std::int64_t rows = clampRows(table->rows(), table->fieldCount());
        std::int64_t rowCap = std::max<std::int64_t>(1, std::min(rows, budget / columns - 1));
        TableRows& entry = planned[static_cast<std::size_t>(i)];
        entry.rowCap = rowCap;
        entry.overBudget = rowCap < rows;
        entry.initialRows =
            static_cast<std::int32_t>(std::max<std::int64_t>(1, std::min(rows, rowCap)));
        budget -= (rowCap + 1) * columns;
    }
    return planned;
}

// Each pass runs over every table before the next begins, so row counts are
// known before any cell that reads another table is filled.
void ProgramResult::compute() {
    ++g_computations;
    TextBudgetScope texts(&m_textBudget);
    std::vector<TableRows> planned = plannedRows(*m_linked);
    for (std::int32_t i = 0; i < m_linked->tableCount(); ++i) {
        const Pointer<ResolvedTable>& table = m_linked->table(i);
        if (table.isNull()) {
            m_tables->add(Pointer<TableResult>());
            continue;
        }
        m_tables->add(make<TableResult>(*this, m_options, table, i,
                                        planned[static_cast<std::size_t>(i)].rowCap));
    }
    Evaluator evaluator;
    evaluator.setStopFlag(m_options.stop);
    for (const auto& table : *m_tables) {
        if (!table.isNull()) table->evaluateRanges(evaluator);
    }
    for (const auto& table : *m_tables) {
        if (!table.isNull()) table->generateRows(evaluator);
    }
    for (const auto& table : *m_tables) {
        if (!table.isNull()) table->fillCells(evaluator);
    }
    for (const auto& table : *m_tables) {
        if (!table.isNull()) table->orderRows();
    }
}

// A fresh computation would make every table with the rows it has now:
// as many as the definition counts, or the range fields generated.
bool ProgramResult::keepsShape(const ResolvedProgram& linked) const {
    if (linked.tableCount() != tableCount()) return false;
    std::vector<TableRows> planned = plannedRows(linked);
    for (std::int32_t i = 0; i < tableCount(); ++i) {
        const Pointer<TableResult>& table = getTable(i);
        if (table.isNull() != linked.table(i).isNull()) return false;
        if (table.isNull()) continue;
        const TableRows& rows = planned[static_cast<std::size_t>(i)];
        std::int64_t generated = table->generatedRows();
        std::int64_t fresh = rows.initialRows;
        if (generated > 0) fresh = std::max<std::int64_t>(fresh, generated + 1);
        if (rows.overBudget != table->overBudget() || fresh != table->rowCount()) return false;
        if (table->fieldCount() != linked.table(i)->fieldCount()) return false;
    }
    return true;
}

bool ProgramResult::recompute(const Pointer<ResolvedProgram>& linked, const RecomputePlan& plan) {
    // Joins count against one budget per computation; a full one starts it anew.
    if (m_textBudget.used() > m_textBudget.limit() / 4) return false;
    if (static_cast<std::size_t>(tableCount()) != plan.stale().size() || !keepsShape(*linked)) {
        return false;
    }
    ++g_computations;
    TextBudgetScope texts(&m_textBudget);
    m_linked->forgetScans();
    m_linked = linked;
    m_version = linked->version();
    for (std::int32_t i = 0; i < tableCount(); ++i) {
        const Pointer<TableResult>& table = getTable(i);
        if (table.isNull()) continue;
        table->relink(linked->table(i));
        for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
            const StaleCells& stale = plan.at(i, field);
            if (stale.any()) table->forgetStale(field, stale);
        }
    }
    Evaluator evaluator;
    evaluator.setStopFlag(m_options.stop);
    for (std::int32_t i = 0; i < tableCount(); ++i) {
        const Pointer<TableResult>& table = getTable(i);
        if (table.isNull()) continue;
        bool sortStale = false;
        for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
            const StaleCells& stale = plan.at(i, field);
            if (!stale.any()) continue;
            table->refillStale(field, stale, evaluator);
            sortStale |= field == table->sortField();
        }
        if (sortStale) table->orderRows();
    }
    return true;
}

}  // namespace qv
