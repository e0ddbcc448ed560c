// The formula bar's text field. While a grid cell is being edited, Tab and
// Enter commit the text as the cell's formula and Escape cancels; every
// other key edits the field and the cell shows the text at once. With no
// cell it is a plain one-line field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editing/TextFieldEditable.h"

namespace qv {

// What the field asks of the bar it belongs to (FormulaValueEditable).
class FormulaFieldOwner {
  public:
    virtual bool isEditingCell() const noexcept = 0;
    // Tab or Enter: the text becomes the cell's formula.
    virtual void commit(std::int32_t code, std::string_view text, std::uint32_t modifiers) = 0;
    virtual void cancel() = 0;
    // Any other key changed the field: the cell shows the text at once.
    virtual void fieldEdited() = 0;

  protected:
    ~FormulaFieldOwner() = default;
};

class FormulaTextFieldEditable final : public TextFieldEditable {
    QV_OBJECT(FormulaTextFieldEditable, TextFieldEditable, "FormulaTextFieldEditable")
  public:
    explicit FormulaTextFieldEditable(FormulaFieldOwner* owner) : m_owner(owner) {}

    // The bar it belongs to; cleared when the bar goes.
    FormulaFieldOwner* owner() const noexcept { return m_owner; }
    void setOwner(FormulaFieldOwner* owner) noexcept { m_owner = owner; }

    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;

    // The formula line, named as its label reads.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override;

    // Draws the text from a byte index to its end as a link (underlined, in
    // the accent colour); -1 for none. Any change of that part drops it.
    void setLinkStart(std::int32_t begin);
    bool hasLink() const;
    // The link as drawn, within the field's inner area (this editable's
    // coordinates); empty without one.
    toolkit::Rect linkRect() const;
    bool isOnLink(toolkit::Point point) const { return linkRect().contains(point); }

  protected:
    void paintText(toolkit::Graphics& graphics, toolkit::Point topLeft) const override;

  private:
    FormulaFieldOwner* m_owner;
    std::int32_t m_linkStart = -1;
    // The linked text as it was set, so an edit of the field undoes the link.
    std::string m_linkText;
};

}  // namespace qv
