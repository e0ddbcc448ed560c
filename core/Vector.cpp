#include "core/Vector.h"

#include "core/Errors.h"
#include "core/PointerArray.h"
#include "core/String.h"
#include "core/StringBuffer.h"

namespace qv {

Vector::Vector() : m_elements(newPointerArray<Object>(1)), m_capacity(1), m_count(0) {}

Vector::Vector(std::int32_t count)
    : m_elements(newPointerArray<Object>(count < 1 ? 1 : count)),
      m_capacity(count < 1 ? 1 : count),
      m_count(count < 0 ? 0 : count) {}

Vector::Vector(std::initializer_list<Pointer<Object>> elements)
    : m_elements(newPointerArray<Object>(10)), m_capacity(10), m_count(0) {
    for (const auto& element : elements)
        addElement(element);
}

Vector::~Vector() {
    deletePointerArray(m_elements, m_capacity);
}

void Vector::ensureRoom() {
    if (m_count < m_capacity) return;
    m_elements = growPointerArray(m_elements, m_count, m_capacity, m_capacity * 2);
    m_capacity *= 2;
}

void Vector::addElement(const Pointer<Object>& object) {
    Pointer<Object> held = object;  // the argument may live in this vector
    ensureRoom();
    m_elements[m_count++] = std::move(held);
}

void Vector::insertElementAt(const Pointer<Object>& object, std::int32_t index) {
    Pointer<Object> held = object;
    // Out-of-range positions are clamped rather than writing outside the array.
    if (index < 0) index = 0;
    if (index > m_count) index = m_count;
    ensureRoom();
    for (std::int32_t i = m_count; i > index; --i)
        m_elements[i] = std::move(m_elements[i - 1]);
    m_elements[index] = std::move(held);
    ++m_count;
}

void Vector::removeElementAt(std::int32_t index) {
    if (index < 0 || index >= m_count) return;
    for (std::int32_t i = index; i + 1 < m_count; ++i)
        m_elements[i] = std::move(m_elements[i + 1]);
    m_elements[--m_count] = Pointer<Object>();
}

void Vector::removeAllElements() {
    for (std::int32_t i = 0; i < m_count; ++i)
        m_elements[i] = Pointer<Object>();
    m_count = 0;
}

std::int32_t Vector::indexOf(const Pointer<Object>& object) const {
    for (std::int32_t i = 0; i < m_count; ++i) {
        if (m_elements[i]->equals(*object.object())) return i;
    }
    return -1;
}

Pointer<Enumeration> Vector::elements() const {
    return make<VectorEnumeration>(Pointer<Vector>(const_cast<Vector*>(this)));
}

StringPointer Vector::toString() const {
    return str("Multi plot");
}

StringPointer Vector::describe() const {
    StringBuffer buffer;
    buffer.append("VECTOR(");
    buffer.append(m_count);
    buffer.append("){");
    for (std::int32_t i = 0; i < m_count; ++i) {
        if (m_elements[i].isNull()) {
            buffer.append("null");
        } else {
            buffer.append(m_elements[i]->describe());
        }
        buffer.append(",");
    }
    buffer.append("}count=");
    buffer.append(referenceCount());
    return buffer.toString();
}

Pointer<Object> Stack::push(const Pointer<Object>& object) {
    addElement(object);
    return elementAt(size() - 1);
}

Pointer<Object> Stack::peek() const {
    if (size() == 0) throwMessage("empty stack");
    return elementAt(size() - 1);
}

Pointer<Object> Stack::pop() {
    if (size() == 0) throwMessage("empty stack");
    Pointer<Object> top = elementAt(size() - 1);
    removeElementAt(size() - 1);
    return top;
}

VectorEnumeration::VectorEnumeration(const Pointer<Vector>& vector) : m_vector(vector) {
    if (m_vector->size() > 0) m_next = m_vector->elementAt(m_index++);
}

Pointer<Object> VectorEnumeration::nextElement() {
    Pointer<Object> current = m_next;
    m_next = m_index < m_vector->size() ? m_vector->elementAt(m_index++) : Pointer<Object>();
    return current;
}

StringPointer join(const Pointer<Enumeration>& elements, std::string_view separator) {
    StringBuffer buffer;
    bool first = true;
    while (elements->hasMoreElements()) {
        if (!first) buffer.append(separator);
        first = false;
        Pointer<Object> element = elements->nextElement();
        buffer.append(element->toString());
    }
    return buffer.toString();
}

}  // namespace qv
