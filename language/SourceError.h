// SourceError: a reader's message together with the place in the text where
// it arose. It is a StringPointer carrying the message text unchanged, so
// code that catches messages as StringPointer keeps working; code that can
// show a place catches SourceError first.
#pragma once

#include <cstdint>

#include "core/String.h"
#include "language/StringStream.h"

namespace qv {

class SourceError : public StringPointer {
  public:
    SourceError(const StringPointer& message, SourcePosition position)
        : StringPointer(message), m_position(position) {}

    const StringPointer& message() const noexcept { return *this; }
    std::int32_t line() const noexcept { return m_position.line; }
    std::int32_t column() const noexcept { return m_position.column; }

  private:
    SourcePosition m_position;
};

}  // namespace qv
