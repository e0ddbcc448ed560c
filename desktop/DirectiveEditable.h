// A view of a kind that a later version builds (a result view, a chart, a
// project view or the properties view). Until then it shows its directive
// as text inside its frame and writes it back exactly as it was read, so
// no document loses anything when it is saved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/LayoutElement.h"
#include "editing/AbstractEditable.h"

namespace qv {

class DirectiveEditable final : public AbstractEditable {
    QV_OBJECT(DirectiveEditable, AbstractEditable, "DirectiveEditable")
  public:
    static constexpr std::int32_t kPadding = 6;
    static constexpr std::int32_t kNarrowest = 120;

    // `element` is a result view, chart, project view or properties view.
    explicit DirectiveEditable(const Pointer<ViewElement>& element);

    const Pointer<ViewElement>& element() const noexcept { return m_element; }
    // The directive as drawn: one entry per line of its text.
    const std::vector<std::string>& lines() const noexcept { return m_lines; }

    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    std::int32_t minimumWidth() const override { return kNarrowest; }
    std::int32_t maximumWidth() const override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    // The titles the finished views will have.
    StringPointer getTitle() const override;
    void writeSource(std::string& out, std::int32_t indent) const override;

  private:
    std::int32_t preferredHeight() const;

    Pointer<ViewElement> m_element;
    std::vector<std::string> m_lines;
};

}  // namespace qv
