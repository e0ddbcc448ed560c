// VirtualVector: a sparse integer-indexed vector (a field's formulas by row
// key). Absent indexes read as the null object; insert and remove shift the
// indexes behind them.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/Hashtable.h"
#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class VirtualVector final : public Object {
    QV_OBJECT(VirtualVector, Object, "VirtualVector")
  public:
    VirtualVector();

    void set(std::int32_t index, const Pointer<Object>& value);
    Pointer<Object> get(std::int32_t index) const;
    bool has(std::int32_t index) const { return !get(index).isNull(); }
    void insert(std::int32_t index, const Pointer<Object>& value);
    void remove(std::int32_t index, bool shift);
    // Moves every present index k >= from to k + delta.
    void shift(std::int32_t from, std::int32_t delta);
    std::int32_t size() const noexcept { return m_table->size(); }
    // Room for `count` indexes, before filling many at once.
    void reserve(std::int32_t count) { m_table->reserve(count); }

    std::vector<std::int32_t> sortedIndexes() const;
    // Every present index with its value, in ascending order: one pass over
    // the table instead of a lookup per index, for writers of whole tables.
    std::vector<std::pair<std::int32_t, Pointer<Object>>> sortedEntries() const;
    Pointer<Enumeration> sortedIndexEnumeration() const;

    StringPointer describe() const override;
    // A copy whose values are clones of this one's.
    Pointer<Object> clone() const override;

  private:
    Pointer<Hashtable> m_table;
};

class DoubleVector final : public Object {
    QV_OBJECT(DoubleVector, Object, "DoubleVector")
  public:
    explicit DoubleVector(std::int32_t size);
    ~DoubleVector() override;

    std::int32_t size() const noexcept { return m_size; }
    double& operator[](std::int32_t index) noexcept {
        QV_ASSERT(index >= 0 && index < m_size);
        return m_values[index];
    }
    double operator[](std::int32_t index) const noexcept {
        QV_ASSERT(index >= 0 && index < m_size);
        return m_values[index];
    }

  private:
    std::int32_t m_size;
    double* m_values;
};

}  // namespace qv
