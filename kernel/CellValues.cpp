#include "kernel/CellValues.h"

#include <algorithm>

#include "core/Allocator.h"

namespace qv {

CellValues::CellValues(std::int32_t columns, std::int32_t rows,
                       const Pointer<Object>& defaultElement)
    : m_rows(rows < 0 ? 0 : rows),
      m_default(defaultElement),
      m_columns(static_cast<std::size_t>(columns < 0 ? 0 : columns)) {}

CellValues::~CellValues() {
    for (Column& column : m_columns) {
        for (std::uint64_t slot : column.head)
            releaseSlot(slot);
        freeData(column);
    }
}

std::uint64_t CellValues::slotFor(Object& value) noexcept {
    if (value.isNull()) return 0;
    if (value.classTypeId() == Double::typeId()) {
        auto bits = std::bit_cast<std::uint64_t>(static_cast<const Double&>(value).value());
        std::uint64_t slot = bits + kNumberOffset;
        if (isNumberSlot(slot)) return slot;
    }
    value.retain();
    auto address = reinterpret_cast<std::uint64_t>(&value);
    // User space addresses on Linux stay below 2^47.
    QV_ASSERT(address < kNumberOffset);
    return address;
}

// The allocator hands out zeroed blocks: every data row starts empty.
std::uint64_t* CellValues::newData() const {
    return static_cast<std::uint64_t*>(allocate(dataCount() * sizeof(std::uint64_t)));
}

void CellValues::freeData(Column& column) noexcept {
    if (column.data == nullptr) return;
    for (std::size_t i = 0; i < dataCount(); ++i)
        releaseSlot(column.data[i]);
    deallocate(column.data, dataCount() * sizeof(std::uint64_t));
    column.data = nullptr;
}

std::uint64_t& CellValues::slotToWriteSlowly(Column& entry, std::int32_t rowKey) {
    if (entry.repeats && rowKey >= 0) {
        // Spelled out: each data row holds the formula row's value itself.
        entry.data = newData();
        std::uint64_t repeated = entry.head[1];
        for (std::size_t i = 0; i < dataCount(); ++i) {
            retainSlot(repeated);
            entry.data[i] = repeated;
        }
        entry.repeats = false;
    }
    if (rowKey <= 0) return entry.head[rowKey + 1];
    if (entry.data == nullptr) entry.data = newData();
    return entry.data[rowKey - 1];
}

void CellValues::set(std::int32_t column, std::int32_t rowKey, const Pointer<Object>& value) {
    if (!contains(column, rowKey)) return;
    // Emptying a row never written needs no memory.
    if (value.isNull() && slotAt(column, rowKey) == 0) return;
    std::uint64_t slot = slotFor(*value.object());
    replace(slotToWrite(column, rowKey), slot);
}

void CellValues::setNumber(std::int32_t column, std::int32_t rowKey, double number) {
    if (!contains(column, rowKey)) return;
    std::uint64_t slot = std::bit_cast<std::uint64_t>(number) + kNumberOffset;
    if (!isNumberSlot(slot)) {
        set(column, rowKey, make<Double>(number));
        return;
    }
    replace(slotToWrite(column, rowKey), slot);
}

void CellValues::copy(std::int32_t column, std::int32_t fromRowKey, std::int32_t toRowKey) {
    if (!contains(column, fromRowKey) || !contains(column, toRowKey)) return;
    std::uint64_t from = slotAt(column, fromRowKey);
    if (from == 0 && slotAt(column, toRowKey) == 0) return;
    retainSlot(from);
    replace(slotToWrite(column, toRowKey), from);
}

bool CellValues::repeatFormulaRow(std::int32_t column) {
    if (column < 0 || column >= columns()) return false;
    Column& entry = m_columns[static_cast<std::size_t>(column)];
    if (entry.data != nullptr) return false;
    entry.repeats = true;
    return true;
}

void CellValues::clearColumn(std::int32_t column) noexcept {
    if (column < 0 || column >= columns()) return;
    Column& entry = m_columns[static_cast<std::size_t>(column)];
    for (std::uint64_t& slot : entry.head)
        replace(slot, 0);
    freeData(entry);
    entry.repeats = false;
}

void CellValues::growRows(std::int32_t rows) {
    if (rows <= m_rows) return;
    const std::size_t oldCount = dataCount();
    const std::int32_t oldRows = m_rows;
    m_rows = rows;
    for (Column& column : m_columns) {
        if (column.data == nullptr) continue;
        std::uint64_t* grown = newData();
        std::copy(column.data, column.data + oldCount, grown);
        deallocate(column.data, oldCount * sizeof(std::uint64_t));
        column.data = grown;
    }
    // Rows past the old ones were never written: a repeating column shows
    // its formula row's value there too, as a spelled-out column would not.
    for (Column& column : m_columns) {
        if (!column.repeats) continue;
        column.repeats = false;
        if (oldRows <= 1) continue;
        column.data = newData();
        for (std::size_t i = 0; i < oldCount; ++i) {
            retainSlot(column.head[1]);
            column.data[i] = column.head[1];
        }
    }
}

}  // namespace qv
