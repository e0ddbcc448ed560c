// StringBuffer: a growable byte text used to build Strings. It starts at ten
// bytes and doubles whenever an append needs more room.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class StringBuffer final : public Object {
    QV_OBJECT(StringBuffer, Object, "StringBuffer")
  public:
    static constexpr std::int32_t kInitialCapacity = 10;

    StringBuffer();
    explicit StringBuffer(const StringPointer& initial);
    StringBuffer(const StringBuffer& other);
    ~StringBuffer() override;

    void append(std::string_view text);
    void append(const char* text) { append(std::string_view(text)); }
    void append(const StringPointer& string);
    void append(const Pointer<Object>& object);
    void append(std::int32_t value);
    void append(std::int64_t value);
    // Appends one byte; returns the new count.
    std::int32_t append(char ch);
    void reserve(std::int32_t extra);

    std::int32_t length() const noexcept { return m_count; }
    std::int32_t capacity() const noexcept { return m_capacity; }
    std::string_view view() const noexcept { return {m_buffer, static_cast<std::size_t>(m_count)}; }
    StringPointer toString() const override;

  private:
    void growTo(std::int64_t needed);

    char* m_buffer;
    std::int32_t m_capacity;
    std::int32_t m_count = 0;
};

}  // namespace qv
