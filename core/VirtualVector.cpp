#include "core/VirtualVector.h"

#include <algorithm>
#include <utility>

#include "core/Allocator.h"
#include "core/Number.h"
#include "core/StringBuffer.h"
#include "core/Vector.h"

namespace qv {

namespace {
// Slots the dense array may hold beyond twice its entries: small tables
// stay dense whatever their keys.
constexpr std::int64_t kDenseSlack = 64;
}  // namespace

VirtualVector::VirtualVector() = default;

bool VirtualVector::fitsDense(std::int32_t index) const noexcept {
    return index >= 0 &&
           static_cast<std::int64_t>(index) < 2 * static_cast<std::int64_t>(m_count) + kDenseSlack;
}

// Covers [0, index] by the array, taking over the map's keys in that range.
void VirtualVector::growDense(std::int32_t index) {
    auto oldSize = static_cast<std::int32_t>(m_dense.size());
    m_dense.resize(static_cast<std::size_t>(index) + 1);
    auto first = m_sparse.lower_bound(oldSize);
    auto last = m_sparse.upper_bound(index);
    for (auto entry = first; entry != last; ++entry)
        m_dense[static_cast<std::size_t>(entry->first)] = std::move(entry->second);
    m_sparse.erase(first, last);
}

void VirtualVector::reserve(std::int32_t count) {
    if (count > 0) m_dense.reserve(static_cast<std::size_t>(count) + 1);
}

void VirtualVector::set(std::int32_t index, const Pointer<Object>& value) {
    if (value.isNull()) {
        remove(index, false);
        return;
    }
    if (index >= 0 && static_cast<std::size_t>(index) >= m_dense.size() && fitsDense(index))
        growDense(index);
    if (index >= 0 && static_cast<std::size_t>(index) < m_dense.size()) {
        Pointer<Object>& slot = m_dense[static_cast<std::size_t>(index)];
        if (slot.isNull()) ++m_count;
        slot = value;
        return;
    }
    auto [place, fresh] = m_sparse.insert_or_assign(index, value);
    if (fresh) ++m_count;
}

Pointer<Object> VirtualVector::get(std::int32_t index) const {
    if (index >= 0 && static_cast<std::size_t>(index) < m_dense.size())
        return m_dense[static_cast<std::size_t>(index)];
    if (m_sparse.empty()) return Pointer<Object>();
    auto found = m_sparse.find(index);
    return found == m_sparse.end() ? Pointer<Object>() : found->second;
}

void VirtualVector::shift(std::int32_t from, std::int32_t delta) {
    std::vector<std::pair<std::int32_t, Pointer<Object>>> moving;
    for (auto& [index, value] : sortedEntries()) {
        if (index >= from) moving.emplace_back(index, std::move(value));
    }
    // Everything moves out before anything moves in, so no value is overwritten.
    for (const auto& [index, value] : moving)
        remove(index, false);
    for (const auto& [index, value] : moving)
        set(index + delta, value);
}

void VirtualVector::insert(std::int32_t index, const Pointer<Object>& value) {
    shift(index, 1);
    set(index, value);
}

void VirtualVector::remove(std::int32_t index, bool shiftAfter) {
    if (index >= 0 && static_cast<std::size_t>(index) < m_dense.size()) {
        Pointer<Object>& slot = m_dense[static_cast<std::size_t>(index)];
        if (!slot.isNull()) {
            slot = Pointer<Object>();
            --m_count;
        }
    } else if (m_sparse.erase(index) > 0) {
        --m_count;
    }
    if (m_count == 0) {
        m_dense.clear();
        m_dense.shrink_to_fit();
    }
    if (shiftAfter) shift(index + 1, -1);
}

std::vector<std::int32_t> VirtualVector::sortedIndexes() const {
    std::vector<std::int32_t> indexes;
    indexes.reserve(static_cast<std::size_t>(m_count));
    for (const auto& entry : sortedEntries())
        indexes.push_back(entry.first);
    return indexes;
}

std::vector<std::pair<std::int32_t, Pointer<Object>>> VirtualVector::sortedEntries() const {
    std::vector<std::pair<std::int32_t, Pointer<Object>>> entries;
    entries.reserve(static_cast<std::size_t>(m_count));
    auto sparse = m_sparse.begin();
    for (; sparse != m_sparse.end() && sparse->first < 0; ++sparse)
        entries.emplace_back(*sparse);
    for (std::size_t index = 0; index < m_dense.size(); ++index) {
        if (!m_dense[index].isNull())
            entries.emplace_back(static_cast<std::int32_t>(index), m_dense[index]);
    }
    for (; sparse != m_sparse.end(); ++sparse)
        entries.emplace_back(*sparse);
    return entries;
}

Pointer<Enumeration> VirtualVector::sortedIndexEnumeration() const {
    auto vector = make<Vector>();
    for (std::int32_t index : sortedIndexes())
        vector->addElement(make<Integer>(index));
    return vector->elements();
}

StringPointer VirtualVector::describe() const {
    StringBuffer buffer;
    buffer.append("virtual vector{");
    for (const auto& [index, value] : sortedEntries()) {
        buffer.append("[");
        buffer.append(index);
        buffer.append("]=");
        buffer.append(value);
        buffer.append(";\n");
    }
    buffer.append("};");
    return buffer.toString();
}

Pointer<Object> VirtualVector::clone() const {
    auto copy = make<VirtualVector>();
    for (const auto& [index, value] : sortedEntries())
        copy->set(index, value->clone());
    return copy;
}

Pointer<VirtualVector> VirtualVector::sharingCopy() const {
    auto copy = make<VirtualVector>();
    copy->m_dense = m_dense;
    copy->m_sparse = m_sparse;
    copy->m_count = m_count;
    return copy;
}

DoubleVector::DoubleVector(std::int32_t size) : m_size(size < 0 ? 0 : size) {
    m_values = static_cast<double*>(allocate(sizeof(double) * static_cast<std::size_t>(m_size)));
}

DoubleVector::~DoubleVector() {
    deallocate(m_values, sizeof(double) * static_cast<std::size_t>(m_size));
}

}  // namespace qv
