// One change of a text: the range from `position` over `length` bytes (-1:
// none) is replaced by the stored text. Applying it swaps the two, so the
// same operation serves redo and undo: what was removed becomes the stored
// text, and the range becomes the inserted text.
#pragma once

#include <cstdint>
#include <string>

#include "editing/Command.h"

namespace qv {

class TextBase;

class TextChangedCommand final : public Command {
    QV_OBJECT(TextChangedCommand, Command, "TextChangedCommand")
  public:
    TextChangedCommand(const Pointer<TextBase>& text, std::int32_t position, std::int32_t length);

    void setStoredText(std::string text) { m_stored = std::move(text); }
    const std::string& storedText() const noexcept { return m_stored; }
    std::int32_t position() const noexcept { return m_position; }
    std::int32_t length() const noexcept { return m_length; }

    void redo() override { swap(); }
    void undo() override { swap(); }

    StringPointer describe() const override;

  private:
    void swap();

    Pointer<TextBase> m_text;
    std::string m_stored;
    std::int32_t m_position;
    std::int32_t m_length;
};

}  // namespace qv
