// Column widths the user set by dragging a header border, and the drag
// under way. Only resized columns are stored: the grid keeps no other
// per-column state, and none per row.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace qv {

class ColumnResize {
  public:
    static constexpr std::int32_t kSmallestColumn = 8;

    // The user's width of a column; nullopt where they never set one.
    std::optional<std::int32_t> width(std::int32_t column) const;
    // Never narrower than kSmallestColumn.
    void setWidth(std::int32_t column, std::int32_t width);

    // A drag of a column's right border that began at `width`.
    void start(std::int32_t column, std::int32_t width) noexcept {
        m_column = column;
        m_startWidth = width;
    }
    bool isActive() const noexcept { return m_column >= 0; }
    std::int32_t column() const noexcept { return m_column; }
    // The width the drag gives after moving `dx` pixels.
    std::int32_t widthAfter(std::int32_t dx) const noexcept { return m_startWidth + dx; }
    // Ends the drag: its column and the width it began at; nullopt when
    // there was none.
    std::optional<std::pair<std::int32_t, std::int32_t>> finish() noexcept;

  private:
    std::map<std::int32_t, std::int32_t> m_widths;
    std::int32_t m_column = -1;
    std::int32_t m_startWidth = 0;
};

}  // namespace qv
