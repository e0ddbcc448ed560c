// Hashtable: chained hashing on hashCode() and equals(). Four buckets at
// first; the bucket count doubles when the entries pass four per bucket. New
// entries go to the head of their chain.
#pragma once

#include <cstdint>

#include "core/Enumeration.h"
#include "core/Object.h"
#include "core/Pointer.h"
#include "core/Vector.h"

namespace qv {

class KeyVal final : public Object {
    QV_OBJECT(KeyVal, Object, "KeyVal")
  public:
    KeyVal(const Pointer<Object>& key, const Pointer<Object>& value, const Pointer<KeyVal>& next)
        : key(key), value(value), next(next) {}
    ~KeyVal() override;

    Pointer<Object> key;
    Pointer<Object> value;
    Pointer<KeyVal> next;
};

class Hashtable final : public Object {
    QV_OBJECT(Hashtable, Object, "Hashtable")
  public:
    static constexpr std::int32_t kInitialBuckets = 4;
    static constexpr std::int32_t kLoadBound = 4;

    Hashtable();

    // The value, or the null object for a missing key or a null key.
    Pointer<Object> get(const Pointer<Object>& key) const;
    // Stores the value and returns the previous one; a null value removes the key.
    Pointer<Object> put(const Pointer<Object>& key, const Pointer<Object>& value);
    Pointer<Object> remove(const Pointer<Object>& key);
    bool containsKey(const Pointer<Object>& key) const;
    // Makes room for `entries` entries at once, so that filling a large
    // table does not rehash it once per doubling.
    void reserve(std::int32_t entries);

    std::int32_t size() const noexcept { return m_count; }
    std::int32_t bucketCount() const noexcept { return m_buckets->size(); }
    Pointer<Enumeration> keys() const;
    Pointer<Enumeration> elements() const;
    // The bucket a key falls into with the current bucket count.
    std::int32_t bucketIndexOf(const Pointer<Object>& key) const {
        return bucketOf(*key.object(), bucketCount());
    }
    // The head entry of bucket i, for enumerations.
    Pointer<KeyVal> bucket(std::int32_t i) const { return cast<KeyVal>(m_buckets->elementAt(i)); }

    StringPointer describe() const override;
    Pointer<Object> clone() const override;

  private:
    std::int32_t bucketOf(const Object& key, std::int32_t buckets) const noexcept;
    const KeyVal* find(const Pointer<Object>& key) const;
    void grow();

    Pointer<Vector> m_buckets;
    std::int32_t m_count = 0;
};

class HashtableEnumeration final : public Enumeration {
    QV_OBJECT(HashtableEnumeration, Enumeration, "HashtableEnumeration")
  public:
    enum class Part { Values = 0, Keys = 1 };
    HashtableEnumeration(const Pointer<Hashtable>& table, Part part);
    bool hasMoreElements() const override { return !m_next.isNull(); }
    Pointer<Object> nextElement() override;

  private:
    void advance();

    Pointer<KeyVal> m_entry;
    Pointer<Hashtable> m_table;
    Pointer<Object> m_next;
    Part m_part;
    std::int32_t m_bucket = -1;
};

}  // namespace qv
