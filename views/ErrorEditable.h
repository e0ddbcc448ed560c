// The inner view of a result whose value is neither a table, a row, the
// list of tables nor a plot: the value's text, as lines, on a plain face.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editing/AbstractEditable.h"

namespace qv {

class ErrorEditable final : public AbstractEditable {
    QV_OBJECT(ErrorEditable, AbstractEditable, "ErrorEditable")
  public:
    static constexpr std::int32_t kPadding = 6;
    static constexpr std::int32_t kNarrowest = 120;
    static constexpr std::int32_t kWidest = 640;
    // A value's text may be huge (a long string, a vector of a million
    // items): only this much of it is kept to be drawn.
    static constexpr std::size_t kMostLines = 200;
    static constexpr std::size_t kLongestLine = 400;

    explicit ErrorEditable(const StringPointer& text) { setText(text); }

    void setText(const StringPointer& text);
    const std::string& text() const noexcept { return m_text; }
    const std::vector<std::string>& lines() const noexcept { return m_lines; }

    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    std::int32_t minimumWidth() const override { return kNarrowest; }
    std::int32_t maximumWidth() const override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;

  private:
    std::int32_t preferredHeight() const;

    std::string m_text;
    std::vector<std::string> m_lines;
};

}  // namespace qv
