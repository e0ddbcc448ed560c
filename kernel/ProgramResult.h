// ProgramResult: one computation of a linked program — a table result per
// table, computed in four passes over all tables: range fields, row
// generation, filling every cell, ordering the rows.
#pragma once

#include <cstdint>
#include <vector>

#include "core/TVector.h"
#include "core/TextBudget.h"
#include "kernel/KernelFeedback.h"
#include "kernel/RecomputePlan.h"
#include "kernel/ResolvedProgram.h"
#include "kernel/TableResult.h"

namespace qv {

class ProgramResult final : public Object {
    QV_OBJECT(ProgramResult, Object, "ProgramResult")
  public:
    ProgramResult(ResultOptions options, const Pointer<ResolvedProgram>& linked,
                  std::int64_t textLimit = kMaxJoinedTextBytes);
    // Cells may hold results that hold the cells (a table naming itself, a
    // find or select over its own table): the values are released here.
    ~ProgramResult() override;

    void compute();
    // After an edit: computes again only the cells the plan calls stale,
    // against the new link, and keeps every other cell. False, changing
    // nothing, when the new link would shape a table differently (rows
    // added or removed) or a full computation is due for another reason.
    bool recompute(const Pointer<ResolvedProgram>& linked, const RecomputePlan& plan);

    const ResultOptions& options() const noexcept { return m_options; }
    const Pointer<ResolvedProgram>& linked() const noexcept { return m_linked; }
    std::int32_t version() const noexcept { return m_version; }
    std::int32_t tableCount() const noexcept { return m_tables->size(); }
    // The null object for a null table.
    const Pointer<TableResult>& getTable(std::int32_t index) const { return (*m_tables)[index]; }
    // The text budget of this computation and of the cells computed later
    // on request, which share it.
    TextBudget& textBudget() noexcept { return m_textBudget; }

    // Counts computations, so views can tell a fresh result.
    static std::int64_t computationCount() noexcept;

    // One level of a user-function call, which recurses without the cell
    // cache. Each level costs far more than a link of a cell chain, so calls
    // are bounded much more tightly than the evaluator's cell chains; past
    // the bound the call raises "calculation nested too deeply".
    class CallNesting {
      public:
        explicit CallNesting(ProgramResult& results);
        ~CallNesting() { --m_results.m_userCalls; }
        CallNesting(const CallNesting&) = delete;
        CallNesting& operator=(const CallNesting&) = delete;

      private:
        ProgramResult& m_results;
    };

    // One local table being computed, possibly inside others. Local tables
    // nested in each other are bounded in number and in cells. A table whose
    // nesting ran past the bound recursed without end: from then on it is
    // refused inside another local table at once, so that the rows still to
    // compute at every level of the failed chain do not each start the
    // recursion again (which would take exponential time).
    class LocalTableNesting {
      public:
        LocalTableNesting(ProgramResult& results, std::int32_t table, std::int64_t cells);
        ~LocalTableNesting();
        LocalTableNesting(const LocalTableNesting&) = delete;
        LocalTableNesting& operator=(const LocalTableNesting&) = delete;

      private:
        ProgramResult& m_results;
        std::int64_t m_cells;
    };

  private:
    // The rows each table starts with under the program's budget of cells.
    struct TableRows {
        std::int64_t rowCap = 0;
        bool overBudget = false;
        std::int32_t initialRows = 1;
    };
    static std::vector<TableRows> plannedRows(const ResolvedProgram& linked);
    bool keepsShape(const ResolvedProgram& linked) const;

    ResultOptions m_options;
    Pointer<ResolvedProgram> m_linked;
    Pointer<TVector<TableResult>> m_tables;
    std::int32_t m_version;
    std::int32_t m_userCalls = 0;
    std::vector<std::int32_t> m_localTables;  // the tables of the local tables being computed
    std::int64_t m_localCells = 0;
    std::vector<bool> m_runawayTables;
    TextBudget m_textBudget;
};

}  // namespace qv
