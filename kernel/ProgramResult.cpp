#include "kernel/ProgramResult.h"

#include "kernel/Evaluator.h"

namespace qv {

namespace {
std::int64_t g_computations = 0;
}

std::int64_t ProgramResult::computationCount() noexcept {
    return g_computations;
}

ProgramResult::ProgramResult(Kernel* kernel, const Pointer<ResolvedProgram>& linked)
    : m_kernel(kernel),
      m_linked(linked),
      m_tables(make<TVector<TableResult>>(linked->tableCount())),
      m_version(linked->version()) {}

// Each pass runs over every table before the next begins, so row counts are
// known before any cell that reads another table is filled.
void ProgramResult::compute() {
    ++g_computations;
    for (std::int32_t i = 0; i < m_linked->tableCount(); ++i) {
        const Pointer<ResolvedTable>& table = m_linked->table(i);
        m_tables->add(table.isNull() ? Pointer<TableResult>() : make<TableResult>(*this, table, i));
    }
    Evaluator evaluator;
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

}  // namespace qv
