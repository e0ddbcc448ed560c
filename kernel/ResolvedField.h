// ResolvedField: one field of a linked table — the definition whose
// formulas it uses, the base field it copies or overrides, and its flags.
#pragma once

#include <cstdint>

#include "core/Warning.h"
#include "language/FieldDef.h"

namespace qv {

class ResolvedField final : public Object {
    QV_OBJECT(ResolvedField, Object, "ResolvedField")
  public:
    ResolvedField(const Pointer<FieldDef>& definition, const Pointer<ResolvedField>& overridden,
                  const Pointer<Warning>& warning, std::int32_t position, bool inherited);

    const Pointer<FieldDef>& definition() const noexcept { return m_definition; }
    const Pointer<ResolvedField>& overridden() const noexcept { return m_overridden; }
    // A warning text stored in the definition takes precedence.
    const Pointer<Warning>& warning() const noexcept { return m_warning; }
    std::int32_t position() const noexcept { return m_position; }
    bool visible() const noexcept { return m_visible; }
    void setVisible(bool visible) noexcept { m_visible = visible; }
    bool inherited() const noexcept { return m_inherited; }

    // The formula at a row key through the chain of overridden fields.
    ExpressionPointer formulaAt(std::int32_t rowKey) const;
    // The table whose definition holds this field's definition (not owning).
    class ResolvedTable* definingTable() const noexcept {
        return m_definingTable;
    }
    void setDefiningTable(class ResolvedTable* table) noexcept { m_definingTable = table; }
    // A copy for a derived table: the same definition, this field as the overridden one.
    Pointer<ResolvedField> inheritedCopy() const;

  private:
    Pointer<FieldDef> m_definition;
    Pointer<ResolvedField> m_overridden;
    Pointer<Warning> m_warning;
    std::int32_t m_position;
    class ResolvedTable* m_definingTable = nullptr;
    bool m_visible = true;
    bool m_inherited;
};

}  // namespace qv
