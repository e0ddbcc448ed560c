#include "kernel/ResolvedField.h"

namespace qv {

ResolvedField::ResolvedField(const Pointer<FieldDef>& definition,
                             const Pointer<ResolvedField>& overridden,
                             const Pointer<Warning>& warning, std::int32_t position, bool inherited)
    : m_definition(definition),
      m_overridden(overridden),
      m_warning(warning),
      m_position(position),
      m_inherited(inherited) {
    if (!definition->warning().isNull()) m_warning = make<Warning>(definition->warning());
}

ExpressionPointer ResolvedField::formulaAt(std::int32_t rowKey) const {
    // Iterative: inheritance chains are as long as the chain of base tables.
    for (const ResolvedField* field = this; field != nullptr;) {
        if (!field->m_inherited) {
            ExpressionPointer formula = field->m_definition->formula(rowKey);
            if (!formula.isNull()) return formula;
        }
        field = field->m_overridden.isNull() ? nullptr : field->m_overridden.get();
    }
    return ExpressionPointer();
}

// An unchanged copy of an unchanged copy points to the field it copies, not
// to the intermediate copy: the chain walked by formulaAt stays as long as
// the chain of real overrides, not as long as the chain of base tables.
Pointer<ResolvedField> ResolvedField::inheritedCopy() const {
    Pointer<ResolvedField> source =
        m_inherited ? m_overridden : Pointer<ResolvedField>(const_cast<ResolvedField*>(this));
    auto copy = make<ResolvedField>(m_definition, source, m_warning, m_position, true);
    copy->m_definingTable = m_definingTable;
    copy->m_visible = m_visible;
    return copy;
}

}  // namespace qv
