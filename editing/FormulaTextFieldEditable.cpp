#include "editing/FormulaTextFieldEditable.h"

namespace qv {

void FormulaTextFieldEditable::handleKey(std::int32_t code, std::string_view text,
                                         std::uint32_t modifiers) {
    namespace key = toolkit::key;
    if (m_owner == nullptr || !m_owner->isEditingCell()) {
        TextFieldEditable::handleKey(code, text, modifiers);
        return;
    }
    if (code == key::kTab || code == key::kEnter) {
        m_owner->commit(code, text, modifiers);
    } else if (code == key::kEscape) {
        m_owner->cancel();
    } else {
        TextFieldEditable::handleKey(code, text, modifiers);
        m_owner->fieldEdited();
    }
}

}  // namespace qv
