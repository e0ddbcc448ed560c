#include "core/Object.h"

#include "core/Allocator.h"
#include "core/Pointer.h"
#include "core/String.h"
#include "core/StringBuffer.h"

namespace qv {

constinit NullObject g_nullObject;

namespace {
TypeId g_nextTypeId = 0;
TypeId g_rootTypeId = -1;
}  // namespace

TypeId newTypeId() noexcept {
    return g_nextTypeId++;
}

TypeId Object::typeId() noexcept {
    if (g_rootTypeId < 0) g_rootTypeId = newTypeId();
    return g_rootTypeId;
}

Object* Object::castTo(TypeId id) noexcept {
    return id == typeId() ? this : nullObject();
}

bool Object::isInstanceOf(TypeId) const noexcept {
    return false;
}

StringPointer Object::toString() const {
    return make<String>(getClassName());
}

StringPointer Object::describe() const {
    StringBuffer buffer;
    buffer.append(getClassName());
    buffer.append("(");
    buffer.append(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(this)));
    buffer.append(",count=");
    buffer.append(m_count);
    buffer.append(")");
    return buffer.toString();
}

StringPointer Object::toSource() const {
    return toString();
}

std::int32_t Object::hashCode() const noexcept {
    return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(this) >> 4);
}

Pointer<Object> Object::plus(const Pointer<Object>&) const {
    return Pointer<Object>();
}

Pointer<Object> Object::getProperties() {
    return Pointer<Object>();
}

Pointer<Object> Object::clone() const {
    return Pointer<Object>(const_cast<Object*>(this));
}

void Object::destroy() noexcept {
    // The shared null object is static; unbalanced releases must not free it.
    if (QV_NEVER(isNull())) return;
    delete this;
}

void* Object::operator new(std::size_t size) {
    return allocate(size);
}

void Object::operator delete(void* block, std::size_t size) noexcept {
    deallocate(block, size);
}

Object* castTo(Object* object, TypeId id) noexcept {
    if (object->isNull()) return object;
    return object->castTo(id);
}

bool isInstanceOf(const Object* object, TypeId id) noexcept {
    return !object->isNull() && object->isInstanceOf(id);
}

}  // namespace qv
