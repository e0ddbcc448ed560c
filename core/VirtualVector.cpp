#include "core/VirtualVector.h"

#include <algorithm>
#include <utility>

#include "core/Allocator.h"
#include "core/Number.h"
#include "core/StringBuffer.h"

namespace qv {

namespace {
Pointer<Object> key(std::int32_t index) {
    return make<Integer>(index);
}
}  // namespace

VirtualVector::VirtualVector() : m_table(make<Hashtable>()) {}

void VirtualVector::set(std::int32_t index, const Pointer<Object>& value) {
    m_table->put(key(index), value);
}

Pointer<Object> VirtualVector::get(std::int32_t index) const {
    Integer probe(index);
    probe.retain();  // held by this frame only; never released to zero
    return m_table->get(Pointer<Object>(&probe));
}

void VirtualVector::shift(std::int32_t from, std::int32_t delta) {
    std::vector<std::pair<std::int32_t, Pointer<Object>>> moving;
    for (std::int32_t index : sortedIndexes()) {
        if (index >= from) moving.emplace_back(index, get(index));
    }
    // Everything moves out before anything moves in, so no value is overwritten.
    for (const auto& [index, value] : moving)
        m_table->remove(key(index));
    for (const auto& [index, value] : moving)
        set(index + delta, value);
}

void VirtualVector::insert(std::int32_t index, const Pointer<Object>& value) {
    shift(index, 1);
    set(index, value);
}

void VirtualVector::remove(std::int32_t index, bool shiftAfter) {
    m_table->remove(key(index));
    if (shiftAfter) shift(index + 1, -1);
}

std::vector<std::int32_t> VirtualVector::sortedIndexes() const {
    std::vector<std::int32_t> indexes;
    indexes.reserve(static_cast<std::size_t>(m_table->size()));
    for (auto keys = m_table->keys(); keys->hasMoreElements();) {
        indexes.push_back(cast<Integer>(keys->nextElement())->value());
    }
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

std::vector<std::pair<std::int32_t, Pointer<Object>>> VirtualVector::sortedEntries() const {
    std::vector<std::pair<std::int32_t, Pointer<Object>>> entries;
    entries.reserve(static_cast<std::size_t>(m_table->size()));
    for (std::int32_t i = 0; i < m_table->bucketCount(); ++i) {
        for (Pointer<KeyVal> entry = m_table->bucket(i); !entry.isNull(); entry = entry->next)
            entries.emplace_back(cast<Integer>(entry->key)->value(), entry->value);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return entries;
}

Pointer<Enumeration> VirtualVector::sortedIndexEnumeration() const {
    auto vector = make<Vector>();
    for (std::int32_t index : sortedIndexes())
        vector->addElement(key(index));
    return vector->elements();
}

StringPointer VirtualVector::describe() const {
    StringBuffer buffer;
    buffer.append("virtual vector{");
    for (std::int32_t index : sortedIndexes()) {
        buffer.append("[");
        buffer.append(index);
        buffer.append("]=");
        buffer.append(get(index));
        buffer.append(";\n");
    }
    buffer.append("};");
    return buffer.toString();
}

Pointer<Object> VirtualVector::clone() const {
    auto copy = make<VirtualVector>();
    for (std::int32_t index : sortedIndexes())
        copy->set(index, get(index)->clone());
    return copy;
}

DoubleVector::DoubleVector(std::int32_t size) : m_size(size < 0 ? 0 : size) {
    m_values = static_cast<double*>(allocate(sizeof(double) * static_cast<std::size_t>(m_size)));
}

DoubleVector::~DoubleVector() {
    deallocate(m_values, sizeof(double) * static_cast<std::size_t>(m_size));
}

}  // namespace qv
