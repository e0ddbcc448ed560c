// Vector: a growable array of object references, with Stack and IntVector.
// Capacity doubles on demand and never shrinks; empty slots hold the null
// object.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/Enumeration.h"
#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class Vector : public Object {
    QV_OBJECT(Vector, Object, "Vector")
  public:
    Vector();
    // `count` null elements.
    explicit Vector(std::int32_t count);
    Vector(std::initializer_list<Pointer<Object>> elements);
    ~Vector() override;

    std::int32_t size() const noexcept { return m_count; }
    std::int32_t capacity() const noexcept { return m_capacity; }
    const Pointer<Object>& elementAt(std::int32_t index) const noexcept {
        QV_ASSERT(index >= 0 && index < m_count);
        return m_elements[index];
    }
    void setElementAt(const Pointer<Object>& object, std::int32_t index) noexcept {
        QV_ASSERT(index >= 0 && index < m_count);
        m_elements[index] = object;
    }
    void addElement(const Pointer<Object>& object);
    void insertElementAt(const Pointer<Object>& object, std::int32_t index);
    void removeElementAt(std::int32_t index);
    void removeAllElements();
    std::int32_t indexOf(const Pointer<Object>& object) const;
    Pointer<Enumeration> elements() const;

    StringPointer toString() const override;
    StringPointer describe() const override;

  private:
    void ensureRoom();

    Pointer<Object>* m_elements;
    std::int32_t m_capacity;
    std::int32_t m_count;
};

class Stack final : public Vector {
    QV_OBJECT(Stack, Vector, "Stack")
  public:
    Pointer<Object> push(const Pointer<Object>& object);
    // Both throw the plain text "empty stack" when empty.
    Pointer<Object> peek() const;
    Pointer<Object> pop();
};

class IntVector final : public Vector {
    QV_OBJECT(IntVector, Vector, "IntVector")
};

class VectorEnumeration final : public Enumeration {
    QV_OBJECT(VectorEnumeration, Enumeration, "VectorEnumeration")
  public:
    explicit VectorEnumeration(const Pointer<Vector>& vector);
    bool hasMoreElements() const override { return !m_next.isNull(); }
    Pointer<Object> nextElement() override;

  private:
    Pointer<Vector> m_vector;
    Pointer<Object> m_next;
    std::int32_t m_index = 0;
};

}  // namespace qv
