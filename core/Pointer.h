// Pointer<T> holds exactly one reference to an object of class T or a
// subclass, or to the shared null object; it never holds a null address.
// Operations of T itself are reached with `->` and require a non-null object
// (checked in checked builds); root operations on a possibly null reference go
// through `object()`.
#pragma once

#include <concepts>
#include <type_traits>
#include <utility>

#include "core/Assert.h"
#include "core/Object.h"

namespace qv {

template <class T>
class Pointer {
  public:
    Pointer() noexcept : m_object(nullObject()) { m_object->retain(); }
    // Adopts a raw object (new objects start with count 0); null becomes the null object.
    Pointer(T* object) noexcept : m_object(object ? static_cast<Object*>(object) : nullObject()) {
        m_object->retain();
    }
    Pointer(const Pointer& other) noexcept : m_object(other.m_object) { m_object->retain(); }
    Pointer(Pointer&& other) noexcept : m_object(other.m_object) {
        other.m_object = nullObject();
        other.m_object->retain();
    }
    template <class U>
    requires std::derived_from<U, T> &&
        (!std::same_as<U, T>)Pointer(const Pointer<U>& other) noexcept
        : m_object(other.object()) {
        m_object->retain();
    }
    ~Pointer() { m_object->release(); }

    Pointer& operator=(const Pointer& other) noexcept {
        Object* old = m_object;
        other.m_object->retain();  // before the release, so self-assignment is safe
        m_object = other.m_object;
        old->release();
        return *this;
    }
    Pointer& operator=(Pointer&& other) noexcept {
        if (this != &other) std::swap(m_object, other.m_object);
        return *this;
    }

    // Wraps any object known to be a T (or the null object) without a type test.
    static Pointer fromObject(Object* object) noexcept {
        Pointer result;
        result.reset(object);
        return result;
    }

    bool isNull() const noexcept { return m_object == nullObject(); }
    explicit operator bool() const noexcept { return !isNull(); }
    Object* object() const noexcept { return m_object; }

    T* get() const noexcept {
        if constexpr (std::is_same_v<T, Object>) {
            return m_object;
        } else {
            QV_ASSERT(!isNull());
            return static_cast<T*>(m_object);
        }
    }
    T* operator->() const noexcept { return get(); }
    T& operator*() const noexcept { return *get(); }

    friend bool operator==(const Pointer& a, const Pointer& b) noexcept {
        return a.m_object == b.m_object;
    }

  private:
    void reset(Object* object) noexcept {
        Object* old = m_object;
        m_object = object ? object : nullObject();
        m_object->retain();
        old->release();
    }

    Object* m_object;
};

// Creates an object of class T.
template <class T, class... Args>
Pointer<T> make(Args&&... args) {
    return Pointer<T>(new T(std::forward<Args>(args)...));
}

// Safe downcast: the object itself when it is a T, the null object otherwise.
template <class T, class U>
Pointer<T> cast(const Pointer<U>& pointer) noexcept {
    Object* object = pointer.object();
    if (object->isNull()) return Pointer<T>();
    return Pointer<T>::fromObject(object->castTo(T::typeId()));
}

template <class T>
bool is(const Object& object) noexcept {
    return !object.isNull() && object.isInstanceOf(T::typeId());
}
template <class T, class U>
bool is(const Pointer<U>& pointer) noexcept {
    return is<T>(*pointer.object());
}

// Free forms of the root operations that tolerate the null object.
Object* castTo(Object* object, TypeId id) noexcept;
bool isInstanceOf(const Object* object, TypeId id) noexcept;

}  // namespace qv
