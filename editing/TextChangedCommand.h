// One change of a text: the range from `position` over `length` bytes (-1:
// none) is replaced by the stored text. Applying it swaps the two, so the
// same operation serves redo and undo: what was removed becomes the stored
// text, and the range becomes the inserted text.
#pragma once

#include <cstdint>
#include <string>

#include "editing/Command.h"

namespace qv {

// The text a command changes (TextBase). The command knows it only through
// this, so the text's source may make commands without a cycle.
class ChangeableText {
  public:
    // Replaces the range from `position` over `length` bytes (-1: none) with
    // `stored`, and leaves in them the inserted range and the removed text.
    virtual void swapRange(std::int32_t& position, std::int32_t& length, std::string& stored) = 0;

  protected:
    ~ChangeableText() = default;
};

class TextChangedCommand final : public Command {
    QV_OBJECT(TextChangedCommand, Command, "TextChangedCommand")
  public:
    // `text` is kept alive by the command as long as it lives.
    template <class Text>
    TextChangedCommand(const Pointer<Text>& text, std::int32_t position, std::int32_t length)
        : m_holder(text), m_text(text.get()), m_position(position), m_length(length) {}

    void setStoredText(std::string text) { m_stored = std::move(text); }
    const std::string& storedText() const noexcept { return m_stored; }
    std::int32_t position() const noexcept { return m_position; }
    std::int32_t length() const noexcept { return m_length; }

    void redo() override { swap(); }
    void undo() override { swap(); }
    // False for a text the document does not keep (the formula bar's).
    bool changesDocument() const override { return m_changesDocument; }
    void setChangesDocument(bool changes) noexcept { m_changesDocument = changes; }
    // A text the document does not keep is the formula bar's draft.
    bool isDraft() const override { return !m_changesDocument; }

    StringPointer describe() const override;

  private:
    void swap();

    Pointer<Object> m_holder;
    ChangeableText* m_text;
    std::string m_stored;
    std::int32_t m_position;
    std::int32_t m_length;
    bool m_changesDocument = true;
};

}  // namespace qv
