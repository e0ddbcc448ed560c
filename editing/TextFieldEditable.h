// The one-line text field (the formula bar's): the text scrolls sideways to
// keep the caret in sight. Line breaks typed or pasted become blanks.
#pragma once

#include <cstdint>
#include <string_view>

#include "editing/TextBase.h"

namespace qv {

class TextFieldEditable : public TextBase {
    QV_OBJECT(TextFieldEditable, TextBase, "TextFieldEditable")
  public:
    explicit TextFieldEditable(std::string_view text = {});

    std::int32_t minimumWidth() const override { return 5; }
    std::int32_t maximumWidth() const override { return 10000; }
    void layoutWidth(std::int32_t widthHint) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    void textChanged() override;

    // How far the text is scrolled to the left, in pixels.
    std::int32_t scrollOffset() const noexcept { return m_scroll; }
    // Where the character at a byte index of the text starts, in this
    // editable's coordinates (scrolled as shown).
    std::int32_t textX(std::int32_t index) const;

  protected:
    // The text with its selection, its first character at topLeft.
    virtual void paintText(toolkit::Graphics& graphics, toolkit::Point topLeft) const;
    bool isSingleLine() const override { return true; }
    std::int32_t indexAt(toolkit::Point point) const override;
    toolkit::Rect caretRect() const override;

  private:
    void scrollCaretIntoView();

    std::int32_t m_scroll = 0;
};

}  // namespace qv
