#include "app/LayoutTable.h"

#include <algorithm>

#include "core/Assert.h"
#include "layout/LayoutWriter.h"

namespace qv {

void LayoutTable::put(std::int32_t row, std::int32_t column, const Pointer<Frame>& frame) {
    QV_ASSERT(row >= 0 && column >= 0 && row < INT32_MAX && column < INT32_MAX);
    m_rowCount = std::max(m_rowCount, row + 1);
    m_columnCount = std::max(m_columnCount, column + 1);
    m_cells[{row, column}] = frame;
}

Pointer<Frame> LayoutTable::cell(std::int32_t row, std::int32_t column) const {
    auto found = m_cells.find({row, column});
    return found == m_cells.end() ? Pointer<Frame>() : found->second;
}

std::int32_t LayoutTable::commentCount() const noexcept {
    std::int32_t total = 0;
    for (const auto& [key, frame] : m_cells)
        total += frame->commentCount();
    return total;
}

void LayoutTable::writeSource(std::string& out, std::int32_t indent) const {
    // The map is ordered by row, then column, as the writer asks for cells:
    // the next occupied cell is the only one that can stand at a place.
    auto next = m_cells.begin();
    writeLayoutTable(
        out, indent, m_rowCount, m_columnCount,
        [&](std::string& text, std::int32_t row, std::int32_t column, std::int32_t cellIndent) {
            if (next == m_cells.end() || next->first != CellKey{row, column}) return false;
            next->second->writeSource(text, cellIndent);
            ++next;
            return true;
        });
}

StringPointer LayoutTable::describe() const {
    std::string text = std::string(getClassName()) + "(" + std::to_string(m_rowCount) + "x" +
                       std::to_string(m_columnCount);
    for (const auto& [key, frame] : m_cells) {
        text += ",(" + std::to_string(key.first) + "," + std::to_string(key.second) +
                "):" + frame->describe()->toStdString();
    }
    return str(text + ")");
}

bool LayoutTable::equals(const Object& other) const noexcept {
    if (!is<LayoutTable>(other)) return false;
    const auto& table = static_cast<const LayoutTable&>(other);
    if (table.m_rowCount != m_rowCount || table.m_columnCount != m_columnCount ||
        table.m_cells.size() != m_cells.size()) {
        return false;
    }
    return std::equal(m_cells.begin(), m_cells.end(), table.m_cells.begin(),
                      [](const auto& left, const auto& right) {
                          return left.first == right.first && left.second->equals(*right.second);
                      });
}

}  // namespace qv
