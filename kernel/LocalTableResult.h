// LocalTableResult: a table of the program computed anew with some of its
// fields given as arguments — T(rate := 0.05) — as a what-if. Its rows are
// the rows of the table it instantiates.
#pragma once

#include <cstdint>
#include <vector>

#include "kernel/LocalCallSite.h"
#include "kernel/TableResult.h"

namespace qv {

struct LocalTableFieldValue {
    Pointer<Object> value;
    std::int32_t field;
};

class LocalTableResult final : public TableResult {
    QV_OBJECT(LocalTableResult, TableResult, "LocalTableResult")
  public:
    // `call` is where the call that makes this table keeps its record: in
    // the linked program, which `results` hold.
    LocalTableResult(ProgramResult& results, ResultOptions options,
                     const Pointer<ResolvedTable>& table, std::vector<LocalTableFieldValue> values,
                     LocalCallSiteSlot& call);

    // Computes every cell with the caller's evaluator.
    // The raised marker when a cycle met while an alternative is pending stops it.
    Pointer<Object> compute(Evaluator& evaluator);

    Pointer<Object> readersWarning(std::int32_t field, std::int32_t row,
                                   const Pointer<Object>& error) override;

  private:
    void storeGivenValues();

    std::vector<LocalTableFieldValue> m_values;
    LocalCallSiteSlot& m_call;
};

}  // namespace qv
