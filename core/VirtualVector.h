// VirtualVector: a sparse integer-indexed vector (a field's formulas by row
// key). Absent indexes read as the null object; insert and remove shift the
// indexes behind them.
//
// Row keys are mostly small and dense (a table's data rows 1..n), so those
// live in a plain array indexed by key; keys far past the filled part, and
// negative ones, live in an ordered map, so one override at row 1,000,000
// does not cost a million slots. The array never grows past about twice the
// entries it holds.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "core/Enumeration.h"
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
    std::int32_t size() const noexcept { return m_count; }
    // Room for indexes up to `count`, before filling many at once.
    void reserve(std::int32_t count);

    std::vector<std::int32_t> sortedIndexes() const;
    // Every present index with its value, in ascending order: one pass over
    // the table instead of a lookup per index, for writers of whole tables.
    std::vector<std::pair<std::int32_t, Pointer<Object>>> sortedEntries() const;
    Pointer<Enumeration> sortedIndexEnumeration() const;

    StringPointer describe() const override;
    // A copy whose values are clones of this one's.
    Pointer<Object> clone() const override;
    // A copy holding the very same values: for values nobody changes in
    // place, such as a field's formulas, which are immutable trees.
    Pointer<VirtualVector> sharingCopy() const;

  private:
    bool fitsDense(std::int32_t index) const noexcept;
    void growDense(std::int32_t index);

    std::vector<Pointer<Object>> m_dense;              // index i at [i]; null when absent
    std::map<std::int32_t, Pointer<Object>> m_sparse;  // indexes outside m_dense
    std::int32_t m_count = 0;
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
