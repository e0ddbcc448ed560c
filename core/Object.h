// The root of every data object of the system: reference counting, type
// identity without language RTTI, text forms, equality, hashing and cloning.
// Objects are created with `make<T>(...)` and held by `Pointer<T>`; the shared
// null object stands wherever a reference is empty.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

using TypeId = int;

class Object;
class String;
template <class T>
class Pointer;
using StringPointer = Pointer<String>;

// Returns the next free type id; ids depend on the order of first use.
TypeId newTypeId() noexcept;

class Object {
  public:
    constexpr Object() noexcept = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual constexpr ~Object() = default;

    // Type identity: each class answers for its own id and its ancestors'.
    static TypeId typeId() noexcept;
    virtual TypeId classTypeId() const noexcept { return typeId(); }
    virtual Object* castTo(TypeId id) noexcept;
    virtual bool isInstanceOf(TypeId id) const noexcept;
    virtual const char* getClassName() const noexcept = 0;

    // Text forms.
    virtual StringPointer toString() const;
    virtual StringPointer describe() const;
    virtual StringPointer toSource() const;

    // Equality, hashing, arithmetic on boxed values.
    virtual std::int32_t hashCode() const noexcept;
    virtual bool equals(const Object& other) const noexcept { return this == &other; }
    virtual Pointer<Object> plus(const Pointer<Object>& other) const;

    virtual void run() {}
    virtual Pointer<Object> getProperties();
    // A new equal copy for value classes; the object itself otherwise.
    virtual Pointer<Object> clone() const;

    bool isNull() const noexcept;
    std::int32_t referenceCount() const noexcept { return m_count; }
    void retain() noexcept { ++m_count; }
    void release() noexcept {
        if (--m_count <= 0) destroy();
    }

    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

  protected:
    constexpr explicit Object(std::int32_t initialCount) noexcept : m_count(initialCount) {}

  private:
    void destroy() noexcept;

    std::int32_t m_count = 0;
};

// Declares the identity operations of a class: its lazily numbered type id
// and the tests against it and its ancestors.
#define QV_ABSTRACT_OBJECT(Class, Base)                          \
  public:                                                        \
    static ::qv::TypeId typeId() noexcept {                      \
        if (s_typeId < 0) s_typeId = ::qv::newTypeId();          \
        return s_typeId;                                         \
    }                                                            \
    ::qv::TypeId classTypeId() const noexcept override {         \
        return typeId();                                         \
    }                                                            \
    ::qv::Object* castTo(::qv::TypeId id) noexcept override {    \
        return id == typeId() ? this : Base::castTo(id);         \
    }                                                            \
    bool isInstanceOf(::qv::TypeId id) const noexcept override { \
        return id == typeId() || Base::isInstanceOf(id);         \
    }                                                            \
                                                                 \
  private:                                                       \
    static inline ::qv::TypeId s_typeId = -1;                    \
                                                                 \
  public:

// The same for a concrete class, with the class name the system reports in
// its diagnostics.
#define QV_OBJECT(Class, Base, Name)                     \
    QV_ABSTRACT_OBJECT(Class, Base)                      \
    const char* getClassName() const noexcept override { \
        return Name;                                     \
    }

class NullObject final : public Object {
  public:
    static constexpr std::int32_t kInitialCount = 100000;
    constexpr NullObject() noexcept : Object(kInitialCount) {}
    const char* getClassName() const noexcept override { return "NullObject"; }
};

// The one shared null object; it lives for the whole run.
extern constinit NullObject g_nullObject;
inline Object* nullObject() noexcept {
    return &g_nullObject;
}
inline bool Object::isNull() const noexcept {
    return this == &g_nullObject;
}

}  // namespace qv
