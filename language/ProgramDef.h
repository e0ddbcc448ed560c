// ProgramDef: the editable model — the ordered table definitions of a
// document and a change counter that every model edit raises, so that linked
// and computed structures know when they are stale.
#pragma once

#include <cstdint>

#include "core/TVector.h"
#include "language/TableDef.h"

namespace qv {

using TableList = TVector<TableDef>;

class ProgramDef final : public Object {
    QV_OBJECT(ProgramDef, Object, "ProgramDef")
  public:
    ProgramDef();

    const Pointer<TableList>& tables() const noexcept { return m_tables; }
    std::int32_t tableCount() const noexcept { return m_tables->size(); }
    const Pointer<TableDef>& table(std::int32_t index) const { return (*m_tables)[index]; }
    // Adds a table (taking ownership) and raises the change counter.
    void addTable(const Pointer<TableDef>& table);

    std::int32_t changeCount() const noexcept { return m_changeCount; }
    void touch() noexcept { ++m_changeCount; }

    StringPointer toSource() const override;
    StringPointer describe() const override;
    Pointer<Object> clone() const override;

  private:
    Pointer<TableList> m_tables;
    std::int32_t m_changeCount = 0;
};

}  // namespace qv
