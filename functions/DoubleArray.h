// DoubleArray: a fixed number of doubles, zero when created, in a block of
// the accounting allocator. Per-row aggregate storage and the points of a
// trajectory live in these.
#pragma once

#include <cstdint>

#include "core/Assert.h"

namespace qv {

class DoubleArray {
  public:
    DoubleArray() noexcept = default;
    // A negative size counts as 0.
    explicit DoubleArray(std::int32_t size);
    DoubleArray(DoubleArray&& other) noexcept;
    DoubleArray& operator=(DoubleArray&& other) noexcept;
    DoubleArray(const DoubleArray&) = delete;
    DoubleArray& operator=(const DoubleArray&) = delete;
    ~DoubleArray();

    std::int32_t size() const noexcept { return m_size; }
    bool contains(std::int64_t index) const noexcept { return index >= 0 && index < m_size; }
    double operator[](std::int32_t index) const noexcept {
        QV_ASSERT(contains(index));
        return m_values[index];
    }
    double& operator[](std::int32_t index) noexcept {
        QV_ASSERT(contains(index));
        return m_values[index];
    }
    const double* data() const noexcept { return m_values; }

  private:
    double* m_values = nullptr;
    std::int32_t m_size = 0;
};

}  // namespace qv
