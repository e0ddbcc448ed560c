// ProgramResult: one computation of a linked program — a table result per
// table, computed in four passes over all tables: range fields, row
// generation, filling every cell, ordering the rows.
#pragma once

#include <cstdint>

#include "core/TVector.h"
#include "kernel/ResolvedProgram.h"
#include "kernel/TableResult.h"

namespace qv {

class Kernel;

class ProgramResult final : public Object {
    QV_OBJECT(ProgramResult, Object, "ProgramResult")
  public:
    ProgramResult(Kernel* kernel, const Pointer<ResolvedProgram>& linked);

    void compute();

    Kernel* kernel() const noexcept { return m_kernel; }
    const Pointer<ResolvedProgram>& linked() const noexcept { return m_linked; }
    std::int32_t version() const noexcept { return m_version; }
    std::int32_t tableCount() const noexcept { return m_tables->size(); }
    // The null object for a null table.
    const Pointer<TableResult>& getTable(std::int32_t index) const { return (*m_tables)[index]; }

    // Counts computations, so views can tell a fresh result.
    static std::int64_t computationCount() noexcept;

  private:
    Kernel* m_kernel;  // not owning: the kernel owns its results
    Pointer<ResolvedProgram> m_linked;
    Pointer<TVector<TableResult>> m_tables;
    std::int32_t m_version;
};

}  // namespace qv
