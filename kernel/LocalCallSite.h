// The record of one what-if call written in a formula ("Loc(a := 2)"),
// kept by the call's calculator and made on the first error met in a table
// that call computed. A local table's cells are no cells of the results, so
// nothing could name them later; the record lets their readers share one
// "depends on" warning per cell of the call, which names that cell.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "core/Object.h"
#include "core/String.h"

namespace qv {

class LocalCallSite final : public Object {
    QV_OBJECT(LocalCallSite, Object, "LocalCallSite")
  public:
    LocalCallSite(const StringPointer& call, std::int32_t table) : m_call(call), m_table(table) {}

    // The warning the readers of the call's cell (field, row) share when
    // that cell holds `error`, an error that began there. Calls that fail
    // at the same cell in different ways (other arguments, other rows of
    // the caller) share the first error met: the call is one place of the
    // formulas, and a warning per call would cost every row its own.
    const Pointer<Object>& dependsOn(std::int32_t field, std::int32_t row,
                                     const Pointer<Object>& error);

  private:
    StringPointer m_call;
    std::int32_t m_table;
    std::map<std::pair<std::int32_t, std::int32_t>, Pointer<Object>> m_shared;
};

// Where a call keeps its record: none until the first error.
class LocalCallSiteSlot {
  public:
    LocalCallSiteSlot(const StringPointer& call, std::int32_t table)
        : m_call(call), m_table(table) {}
    LocalCallSite& site();

  private:
    StringPointer m_call;
    std::int32_t m_table;
    Pointer<LocalCallSite> m_site;
};

}  // namespace qv
