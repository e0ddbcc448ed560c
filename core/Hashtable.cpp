#include "core/Hashtable.h"

#include <bit>

#include "core/String.h"
#include "core/StringBuffer.h"

namespace qv {

KeyVal::~KeyVal() {
    // Long chains are unlinked iteratively so that freeing one never recurses deeply.
    Pointer<KeyVal> rest = std::move(next);
    while (!rest.isNull() && rest->referenceCount() == 1) {
        Pointer<KeyVal> after = std::move(rest->next);
        rest = std::move(after);
    }
}

Hashtable::Hashtable() : m_buckets(make<Vector>(kInitialBuckets)) {}

// The bucket comes from the high bits of the hash multiplied by a golden
// ratio constant. A plain remainder would take only the low bits, and the
// text hash's low byte is a name's first letter: every field named f... would
// share one chain, and linking a large program would take cubic time.
std::int32_t Hashtable::bucketOf(const Object& key, std::int32_t buckets) const noexcept {
    std::uint32_t mixed = static_cast<std::uint32_t>(key.hashCode()) * 0x9E3779B1u;
    int shift = 32 - std::countr_zero(static_cast<std::uint32_t>(buckets));
    return static_cast<std::int32_t>(mixed >> shift);
}

const KeyVal* Hashtable::find(const Pointer<Object>& key) const {
    if (key.isNull()) return nullptr;
    const Object& wanted = *key.object();
    const Object* entry = m_buckets->elementAt(bucketOf(wanted, bucketCount())).object();
    while (!entry->isNull()) {
        const auto* keyVal = static_cast<const KeyVal*>(entry);
        if (keyVal->key->equals(wanted)) return keyVal;
        entry = keyVal->next.object();
    }
    return nullptr;
}

Pointer<Object> Hashtable::get(const Pointer<Object>& key) const {
    const KeyVal* entry = find(key);
    return entry ? entry->value : Pointer<Object>();
}

bool Hashtable::containsKey(const Pointer<Object>& key) const {
    return find(key) != nullptr;
}

Pointer<Object> Hashtable::put(const Pointer<Object>& key, const Pointer<Object>& value) {
    if (value.isNull()) {
        remove(key);
        return Pointer<Object>();
    }
    if (key.isNull()) return Pointer<Object>();
    if (const KeyVal* entry = find(key)) {
        auto* mutableEntry = const_cast<KeyVal*>(entry);
        Pointer<Object> old = mutableEntry->value;
        mutableEntry->value = value;
        return old;
    }
    std::int32_t index = bucketOf(*key.object(), bucketCount());
    auto head = cast<KeyVal>(m_buckets->elementAt(index));
    m_buckets->setElementAt(make<KeyVal>(key, value, head), index);
    ++m_count;
    if (m_count > kLoadBound * bucketCount()) grow();
    return Pointer<Object>();
}

Pointer<Object> Hashtable::remove(const Pointer<Object>& key) {
    if (key.isNull()) return Pointer<Object>();
    std::int32_t index = bucketOf(*key.object(), bucketCount());
    Pointer<KeyVal> previous;
    Pointer<KeyVal> entry = cast<KeyVal>(m_buckets->elementAt(index));
    while (!entry.isNull()) {
        if (entry->key->equals(*key.object())) {
            Pointer<Object> value = entry->value;
            if (previous.isNull()) {
                m_buckets->setElementAt(entry->next, index);
            } else {
                previous->next = entry->next;
            }
            --m_count;
            return value;
        }
        previous = entry;
        entry = entry->next;
    }
    return Pointer<Object>();
}

void Hashtable::reserve(std::int32_t entries) {
    while (bucketCount() < (1 << 30) / kLoadBound && entries > kLoadBound * bucketCount())
        grow();
}

void Hashtable::grow() {
    std::int32_t buckets = bucketCount() * 2;
    auto grown = make<Vector>(buckets);
    // Entries are re-inserted bucket by bucket from each chain head, as a fresh insertion would.
    for (std::int32_t b = 0; b < bucketCount(); ++b) {
        for (auto entry = bucket(b); !entry.isNull(); entry = entry->next) {
            std::int32_t index = bucketOf(*entry->key.object(), buckets);
            auto head = cast<KeyVal>(grown->elementAt(index));
            grown->setElementAt(make<KeyVal>(entry->key, entry->value, head), index);
        }
    }
    m_buckets = grown;
}

Pointer<Enumeration> Hashtable::keys() const {
    return make<HashtableEnumeration>(Pointer<Hashtable>(const_cast<Hashtable*>(this)),
                                      HashtableEnumeration::Part::Keys);
}

Pointer<Enumeration> Hashtable::elements() const {
    return make<HashtableEnumeration>(Pointer<Hashtable>(const_cast<Hashtable*>(this)),
                                      HashtableEnumeration::Part::Values);
}

StringPointer Hashtable::describe() const {
    std::int32_t largest = 0;
    for (std::int32_t b = 0; b < bucketCount(); ++b) {
        std::int32_t length = 0;
        for (auto entry = bucket(b); !entry.isNull(); entry = entry->next)
            ++length;
        if (length > largest) largest = length;
    }
    StringBuffer buffer;
    buffer.append("Hashtable(n_elem=");
    buffer.append(m_count);
    buffer.append(",v_size=");
    buffer.append(bucketCount());
    buffer.append(", largest=");
    buffer.append(largest);
    buffer.append(" {\n");
    std::int32_t line = 0;
    for (std::int32_t b = 0; b < bucketCount(); ++b) {
        for (auto entry = bucket(b); !entry.isNull(); entry = entry->next) {
            buffer.append("    ");
            buffer.append(++line);
            buffer.append(".  [");
            buffer.append(entry->key->toString());
            buffer.append("]=");
            buffer.append(entry->value->toString());
            buffer.append("\n");
        }
    }
    buffer.append("}+count=");
    buffer.append(referenceCount());
    return buffer.toString();
}

Pointer<Object> Hashtable::clone() const {
    auto copy = make<Hashtable>();
    // Inserting in reverse enumeration order per bucket keeps the chain order.
    for (std::int32_t b = 0; b < bucketCount(); ++b) {
        Vector chain;
        for (auto entry = bucket(b); !entry.isNull(); entry = entry->next)
            chain.addElement(entry);
        for (std::int32_t i = chain.size(); i-- > 0;) {
            auto entry = cast<KeyVal>(chain.elementAt(i));
            copy->put(entry->key, entry->value->clone());
        }
    }
    return copy;
}

HashtableEnumeration::HashtableEnumeration(const Pointer<Hashtable>& table, Part part)
    : m_table(table), m_part(part) {
    advance();
}

void HashtableEnumeration::advance() {
    if (!m_entry.isNull()) m_entry = m_entry->next;
    while (m_entry.isNull() && m_bucket + 1 < m_table->bucketCount()) {
        m_entry = m_table->bucket(++m_bucket);
    }
    if (m_entry.isNull()) {
        m_next = Pointer<Object>();
    } else {
        m_next = m_part == Part::Keys ? m_entry->key : m_entry->value;
    }
}

Pointer<Object> HashtableEnumeration::nextElement() {
    Pointer<Object> current = m_next;
    advance();
    return current;
}

}  // namespace qv
