// The formula bar's text field. While a grid cell is being edited, Tab and
// Enter commit the text as the cell's formula and Escape cancels; every
// other key edits the field and the cell shows the text at once. With no
// cell it is a plain one-line field.
#pragma once

#include "editing/TextFieldEditable.h"

namespace qv {

class FormulaValueEditable;

class FormulaTextFieldEditable final : public TextFieldEditable {
    QV_OBJECT(FormulaTextFieldEditable, TextFieldEditable, "FormulaTextFieldEditable")
  public:
    explicit FormulaTextFieldEditable(FormulaValueEditable* owner) : m_owner(owner) {}

    // The bar it belongs to; cleared when the bar goes.
    FormulaValueEditable* owner() const noexcept { return m_owner; }
    void setOwner(FormulaValueEditable* owner) noexcept { m_owner = owner; }

    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;

  private:
    FormulaValueEditable* m_owner;
};

}  // namespace qv
