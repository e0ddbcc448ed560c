// A grid cell whose formula is being edited in the formula bar, as the bar
// sees it. The grid makes one when editing starts and hands it to the bar.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Object.h"

namespace qv {

class EditedFormulaCell : public Object {
    QV_ABSTRACT_OBJECT(EditedFormulaCell, Object)
  public:
    // The formula the cell holds now.
    virtual std::string formulaText() const = 0;
    // Takes the text as the cell's formula. A message thrown as a
    // StringPointer is shown to the user; the bar has ended editing anyway.
    virtual void commitFormula(std::string_view text) = 0;
    // Editing ended without a change: the cell shows its own value again.
    virtual void cancelEditing() = 0;
    // The text as typed so far, shown in the cell while editing goes on.
    virtual void showTyping(std::string_view text) = 0;
    // Makes the cell (its grid) the selected editable.
    virtual void selectCell() = 0;
    // The key that ended editing, passed on so the cell can move on.
    virtual void cellKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) = 0;
};

}  // namespace qv
