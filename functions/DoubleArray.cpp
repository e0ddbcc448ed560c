#include "functions/DoubleArray.h"

#include <cstddef>
#include <utility>

#include "core/Allocator.h"

namespace qv {
namespace {

std::size_t bytesFor(std::int32_t size) {
    return sizeof(double) * static_cast<std::size_t>(size);
}

}  // namespace

DoubleArray::DoubleArray(std::int32_t size) : m_size(size < 0 ? 0 : size) {
    // The allocator hands out zero-filled blocks, and all-zero bytes are 0.0.
    if (m_size > 0) m_values = static_cast<double*>(allocate(bytesFor(m_size)));
}

DoubleArray::DoubleArray(DoubleArray&& other) noexcept
    : m_values(std::exchange(other.m_values, nullptr)), m_size(std::exchange(other.m_size, 0)) {}

DoubleArray& DoubleArray::operator=(DoubleArray&& other) noexcept {
    std::swap(m_values, other.m_values);
    std::swap(m_size, other.m_size);
    return *this;
}

DoubleArray::~DoubleArray() {
    deallocate(m_values, bytesFor(m_size));
}

}  // namespace qv
