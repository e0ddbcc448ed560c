// TVector<T>: a typed, growable array of references to T, used for lists of
// definitions, expressions and calculators. Each instantiation is a class of
// its own with its own type id; all report the class name "TVector".
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/PointerArray.h"
#include "core/StringBuffer.h"

namespace qv {

template <class T>
class TVector final : public Object {
    QV_OBJECT(TVector, Object, "TVector")
  public:
    explicit TVector(std::int32_t capacity = 1)
        : m_elements(newPointerArray<T>(capacity < 1 ? 1 : capacity)),
          m_capacity(capacity < 1 ? 1 : capacity) {}
    ~TVector() override { deletePointerArray(m_elements, m_capacity); }

    void add(const Pointer<T>& element) {
        Pointer<T> held = element;
        if (m_count == m_capacity) {
            m_elements = growPointerArray(m_elements, m_count, m_capacity, m_capacity * 2);
            m_capacity *= 2;
        }
        m_elements[m_count++] = std::move(held);
    }
    void reserve(std::int32_t capacity) {
        if (capacity <= m_capacity) return;
        m_elements = growPointerArray(m_elements, m_count, m_capacity, capacity);
        m_capacity = capacity;
    }
    // Inserts at index, shifting later elements up.
    void insert(std::int32_t index, const Pointer<T>& element) {
        if (index < 0) index = 0;
        add(element);
        for (std::int32_t i = m_count - 1; i > index; --i)
            std::swap(m_elements[i], m_elements[i - 1]);
    }
    // Removes the element at index, shifting later elements down.
    void remove(std::int32_t index) {
        if (index < 0 || index >= m_count) return;
        for (std::int32_t i = index; i + 1 < m_count; ++i)
            m_elements[i] = std::move(m_elements[i + 1]);
        m_elements[--m_count] = Pointer<T>();
    }

    std::int32_t size() const noexcept { return m_count; }
    const Pointer<T>& operator[](std::int32_t index) const noexcept {
        QV_ASSERT(index >= 0 && index < m_count);
        return m_elements[index];
    }
    Pointer<T>& operator[](std::int32_t index) noexcept {
        QV_ASSERT(index >= 0 && index < m_count);
        return m_elements[index];
    }
    const Pointer<T>* begin() const noexcept { return m_elements; }
    const Pointer<T>* end() const noexcept { return m_elements + m_count; }

    StringPointer describe() const override {
        StringBuffer buffer;
        buffer.append("VECTOR(");
        buffer.append(m_count);
        buffer.append("){");
        for (std::int32_t i = 0; i < m_count; ++i)
            buffer.append(",");
        buffer.append("}count=");
        buffer.append(referenceCount());
        return buffer.toString();
    }

  private:
    Pointer<T>* m_elements;
    std::int32_t m_capacity;
    std::int32_t m_count = 0;
};

}  // namespace qv
