#include "core/StringBuffer.h"

#include <cstddef>
#include <cstring>
#include <functional>
#include <new>
#include <string>

#include "core/Allocator.h"
#include "core/String.h"

namespace qv {

namespace {
constexpr std::int64_t kLargestBuffer = 0x7fffffff;
}

StringBuffer::StringBuffer() : m_capacity(kInitialCapacity) {
    m_buffer = static_cast<char*>(allocate(static_cast<std::size_t>(m_capacity)));
}

StringBuffer::StringBuffer(const StringPointer& initial) : StringBuffer() {
    append(initial);
}

StringBuffer::StringBuffer(const StringBuffer& other)
    : Object(), m_capacity(other.m_capacity), m_count(other.m_count) {
    m_buffer = static_cast<char*>(allocate(static_cast<std::size_t>(m_capacity)));
    std::memcpy(m_buffer, other.m_buffer, static_cast<std::size_t>(m_count));
}

StringBuffer::~StringBuffer() {
    deallocate(m_buffer, static_cast<std::size_t>(m_capacity));
}

void StringBuffer::growTo(std::int64_t needed) {
    if (needed <= m_capacity) return;
    if (needed > kLargestBuffer) throw std::bad_alloc();
    std::int64_t capacity = m_capacity;
    while (capacity < needed)
        capacity *= 2;
    if (capacity > kLargestBuffer) capacity = kLargestBuffer;
    auto* grown = static_cast<char*>(allocate(static_cast<std::size_t>(capacity)));
    std::memcpy(grown, m_buffer, static_cast<std::size_t>(m_count));
    deallocate(m_buffer, static_cast<std::size_t>(m_capacity));
    m_buffer = grown;
    m_capacity = static_cast<std::int32_t>(capacity);
}

void StringBuffer::append(std::string_view text) {
    // The text may be part of this buffer, which growth frees: find it again in the new block.
    std::less_equal<const char*> notAfter;
    bool own = !text.empty() && notAfter(m_buffer, text.data()) &&
               notAfter(text.data() + text.size(), m_buffer + m_count);
    std::ptrdiff_t offset = own ? text.data() - m_buffer : 0;
    growTo(static_cast<std::int64_t>(m_count) + static_cast<std::int64_t>(text.size()) + 1);
    const char* source = own ? m_buffer + offset : text.data();
    if (!text.empty()) std::memcpy(m_buffer + m_count, source, text.size());
    m_count += static_cast<std::int32_t>(text.size());
    m_buffer[m_count] = '\0';
}

void StringBuffer::append(const StringPointer& string) {
    append(string.isNull() ? std::string_view("null") : string->view());
}

void StringBuffer::append(const Pointer<Object>& object) {
    if (object.isNull()) return;
    append(object->toString());
}

void StringBuffer::append(std::int32_t value) {
    append(std::string_view(std::to_string(value)));
}

void StringBuffer::append(std::int64_t value) {
    append(std::string_view(std::to_string(value)));
}

std::int32_t StringBuffer::append(char ch) {
    growTo(static_cast<std::int64_t>(m_count) + 2);
    m_buffer[m_count++] = ch;
    m_buffer[m_count] = '\0';
    return m_count;
}

void StringBuffer::reserve(std::int32_t extra) {
    growTo(static_cast<std::int64_t>(m_count) + extra + 1);
}

StringPointer StringBuffer::toString() const {
    return str(view());
}

}  // namespace qv
