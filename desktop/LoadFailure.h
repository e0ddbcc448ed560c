// Why a document could not be read, as the user is told: the reader's
// message verbatim and, when the reader knows it, where in the text the
// error is. The document reader throws its messages as StringPointer; a
// reader that knows the place throws a PlacedMessage, which is still a
// StringPointer for every catcher that only wants the message.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/String.h"

namespace qv {

// A 1-based line and a 1-based column.
struct TextPlace {
    std::int32_t line = 1;
    std::int32_t column = 1;
    friend bool operator==(const TextPlace&, const TextPlace&) = default;
};

class PlacedMessage : public StringPointer {
  public:
    PlacedMessage(const StringPointer& message, TextPlace place)
        : StringPointer(message), m_place(place) {}
    TextPlace place() const noexcept { return m_place; }

  private:
    TextPlace m_place;
};

struct LoadFailure {
    std::string message;
    std::optional<TextPlace> place;

    // The message, then "\n\n(line L, column C)" when the place is known.
    std::string describe() const;
    // The same on one line, for a message line: "MESSAGE (line L, column C)".
    std::string describeOnOneLine() const;
};

// The notice shown when a document could not be read.
std::string loadNoticeOf(const LoadFailure& failure);

// Runs a reading (of a file, or of a document text); a message it throws
// becomes the failure. Other exceptions pass.
std::optional<LoadFailure> attemptReading(const std::function<void()>& reading);

}  // namespace qv
