// The text typed for the selected cell while it is edited in the formula
// bar: the cell shows it until the edit is committed or cancelled.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

class GridTyping {
  public:
    bool isEditing() const noexcept { return m_text.has_value(); }
    // The text shown in the cell, while it is edited.
    const std::optional<std::string>& text() const noexcept { return m_text; }
    void show(std::string_view text) { m_text = std::string(text); }
    void end() noexcept { m_text.reset(); }

  private:
    std::optional<std::string> m_text;
};

}  // namespace qv
