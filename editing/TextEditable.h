// The text area: a text of several lines, as wide as its longest line
// allows and as high as its lines, with the caret moving between lines.
// Its document text is "text(" + the quoted text + ");".
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "editing/TextBase.h"

namespace qv {

class TextEditable;

// Passed down the work area: gathers its text areas in order (find and
// replace looks through them).
class TextAreaList final : public Object {
    QV_OBJECT(TextAreaList, Object, "TextAreaList")
  public:
    std::vector<Pointer<TextEditable>> areas;
};

class TextEditable final : public TextBase {
    QV_OBJECT(TextEditable, TextBase, "TextEditable")
  public:
    // The widest a text area asks to be at least, however long its longest
    // word: wider words are clipped rather than widen the whole layout.
    static constexpr std::int32_t kWidestMinimum = 400;
    static constexpr std::int32_t kNarrowest = 50;
    // Texts up to this size have every line and word measured for their
    // widths; longer ones only the longest by byte count.
    static constexpr std::size_t kMeasureEveryLineBytes = 16 * 1024;

    explicit TextEditable(std::string_view text = {});

    void layoutWidth(std::int32_t widthHint) override;
    // Fills a box at least as high and as wide as its lines.
    void layoutSize(toolkit::Size size) override;
    // The longest word and the longest line; measured once per version.
    std::int32_t minimumWidth() const override;
    std::int32_t maximumWidth() const override;
    std::int32_t preferredHeight() const;

    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    StringPointer getTitle() const override { return str("Text"); }
    // "text(\"...\");\n": a line feed written as backslash and "n", a double
    // quote doubled (the reader joins the two strings it sees with a quote).
    void writeSource(std::string& out, std::int32_t indent) const override;
    // Answers a TextAreaList.
    void notify(const Pointer<Object>& message) override;

    std::int32_t lineCount() const;
    std::string_view line(std::int32_t index) const;
    std::int32_t lineStart(std::int32_t index) const;
    // The line holding the character at a byte index.
    std::int32_t lineOf(std::int32_t index) const;

  protected:
    // Up and down a line, and Enter for a line feed.
    bool handleOwnKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    std::int32_t indexAt(toolkit::Point point) const override;
    toolkit::Rect caretRect() const override;

  private:
    const std::vector<std::int32_t>& lineStarts() const;
    void measure() const;
    void moveLine(std::int32_t step, std::uint32_t modifiers);

    mutable std::vector<std::int32_t> m_lineStarts;
    mutable std::int32_t m_linesVersion = -1;
    mutable std::int32_t m_minimumWidth = 0;
    mutable std::int32_t m_maximumWidth = 0;
    mutable std::int32_t m_widthVersion = -1;
};

}  // namespace qv
