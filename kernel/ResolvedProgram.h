// ResolvedProgram: a program linked from its model — one ResolvedTable per
// table definition, the table names, the program-wide field-name numbers and
// the function registry. It is built whole and discarded whole when the
// model's change counter moves.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Hashtable.h"
#include "functions/FuncStore.h"
#include "kernel/AbstractEvaluatable.h"
#include "kernel/FieldReads.h"
#include "kernel/ResolvedTable.h"
#include "kernel/RowLimits.h"
#include "language/ProgramDef.h"

namespace qv {

class ResolvedProgram final : public Object {
    QV_OBJECT(ResolvedProgram, Object, "ResolvedProgram")
  public:
    ResolvedProgram(const Pointer<ProgramDef>& program, const Pointer<FuncStore>& functions);

    // Resolves names, bases and fields, then compiles every formula.
    void link();
    // As link(), recording what every field reads (reads()), so that the
    // results of an earlier link can be brought up to date cell by cell.
    void linkRecordingReads();
    // Null unless linked with linkRecordingReads().
    const ProgramReads* reads() const noexcept { return m_reads.get(); }
    // The two halves of a link: the tables, their bases, fields and rows by
    // name; then the formulas, with an observer told what each name
    // resolves to when one is given.
    void resolveNames();
    void compile(ReferenceObserver* observer);

    const Pointer<ProgramDef>& program() const noexcept { return m_program; }
    const Pointer<FuncStore>& functions() const noexcept { return m_functions; }
    std::int32_t version() const noexcept { return m_version; }
    std::int32_t tableCount() const noexcept { return m_tables->size(); }
    // The null object for a null definition.
    const Pointer<ResolvedTable>& table(std::int32_t index) const { return (*m_tables)[index]; }
    // The index of the last table of that name, or -1.
    std::int32_t tableIndexOf(std::string_view name) const;
    // The program-wide number of a field name, or -1.
    std::int32_t identifierOf(std::string_view name) const;
    std::int32_t identifierCount() const noexcept { return m_fieldRegistry->size(); }
    // Scanning aggregates cache values between rows; the program result
    // makes them forget when it is discarded. Each is held here too: a
    // calculator the linker compiled and then dropped (a formula whose
    // name did not resolve) would otherwise leave a dangling entry.
    void registerScan(const CalculatorPointer& owner, const CachingCalculator* calculator) {
        m_scans.emplace_back(owner, calculator);
    }
    void forgetScans() const;

  private:
    void createTables();
    void resolveBases();

    Pointer<TVector<ResolvedTable>> m_tables;
    Pointer<ProgramDef> m_program;
    Pointer<Hashtable> m_tableIndex;
    Pointer<Hashtable> m_fieldRegistry;
    Pointer<FuncStore> m_functions;
    std::int32_t m_version;
    FieldBudget m_fieldBudget;
    std::vector<std::pair<CalculatorPointer, const CachingCalculator*>> m_scans;
    std::unique_ptr<ProgramReads> m_reads;
};

// The evaluatable whose value is a table's base table; its cache is the
// table's base-resolution slot, so a cycle of "extends" shows as circular.
class ResolvedTableEvaluatable final : public AbstractEvaluatable {
  public:
    ResolvedTableEvaluatable(ResolvedTable& table, ResolvedProgram& linked)
        : m_table(table), m_linked(linked) {}

    Pointer<Object> cachedValue() const override {
        return Pointer<Object>(m_table.baseResolutionSlot());
    }
    void setCachedValue(const Pointer<Object>& value) override { m_table.setBaseResolution(value); }
    Pointer<Object> computeAlternative(Evaluator& evaluator, std::int32_t index) override;

  private:
    ResolvedTable& m_table;
    ResolvedProgram& m_linked;
};

}  // namespace qv
