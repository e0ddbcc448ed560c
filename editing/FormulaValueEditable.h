// The formula bar across the top of the work area: the label "Formula" and
// a text field that edits the formula of a grid cell. The grid starts the
// editing (startEditing); the field's keys commit or cancel it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "editing/AbstractEditable.h"
#include "editing/EditedFormulaCell.h"
#include "editing/FormulaTextFieldEditable.h"
#include "editing/StandInContainer.h"

namespace qv {

class EditableContainerPanel;

class FormulaValueEditable final : public AbstractEditable,
                                   public FormulaFieldOwner,
                                   public StandInContainer {
    QV_OBJECT(FormulaValueEditable, AbstractEditable, "FormulaValueEditable")
  public:
    static constexpr std::int32_t kLabelLeft = 4;

    explicit FormulaValueEditable(EditableContainerPanel* panel);
    ~FormulaValueEditable() override;

    EditableContainerPanel* panel() const noexcept { return m_panel; }
    const Pointer<FormulaTextFieldEditable>& field() const noexcept { return m_field; }
    const Pointer<EditedFormulaCell>& editedCell() const noexcept { return m_cell; }
    bool isEditingCell() const noexcept override { return !m_cell.isNull(); }
    // The field's text reaches the document only when committed, as the
    // model edit's own undo step: its keystrokes change nothing saved.
    bool isKeptInDocument() const override { return false; }

    // The field takes the cell's formula with the caret at its end.
    void startEditing(const Pointer<EditedFormulaCell>& cell);
    // Shows a text (a selected cell's formula) without editing anything,
    // and the cell's whole value beside it where that differs from the
    // text: the grid may show the value rounded to its column.
    void showFormula(std::string_view text, std::string_view value = {});
    // Shows a text without editing anything, the part from a byte index on
    // drawn as a link: a click on it calls `follow`.
    void showLinked(std::string_view text, std::int32_t linkStart, std::function<void()> follow);
    // The value shown beside the formula; empty for none.
    const std::string& shownValue() const noexcept { return m_value; }
    // Tab or Enter: the cell takes the field's text, is selected and gets the key.
    void commit(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    // Escape: the field shows the cell's formula again; the cell is selected.
    void cancel() override;
    // After an edit of the field's text.
    void fieldEdited() override;

    // The label, then the field with the rest of the width less 20 pixels.
    void layoutWidth(std::int32_t widthHint) override;
    void moveBy(toolkit::Point delta) override;
    void attach(EditableSupport* support) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    Pointer<AbstractEditable> hitTest(std::int32_t x, std::int32_t y, bool deep) override;
    // The bar is always in sight: its caret must not scroll the work area.
    void ensureVisible(const toolkit::Rect&) override {}
    bool acceptsEditCommand(std::int32_t code) const override;
    StringPointer getTitle() const override { return str("formula/value"); }
    // Seen through: the field's node.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override {
        return m_field->accessibleNode(parent);
    }
    // The bar is no part of the document.
    void writeSource(std::string&, std::int32_t) const override {}

  private:
    std::int32_t labelWidth() const;
    void paintValue(toolkit::Graphics& graphics, toolkit::Point origin) const;

    EditableContainerPanel* m_panel;
    Pointer<FormulaTextFieldEditable> m_field;
    Pointer<EditedFormulaCell> m_cell;
    std::string m_value;
    std::function<void()> m_followLink;
};

}  // namespace qv
