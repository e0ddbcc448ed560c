// Why a document could not be read, as the user is told: the reader's
// message verbatim and, when the reader knows it, where in the text the
// error is. The document reader throws its messages as a SourceError, a
// StringPointer that also knows the place; a file that cannot be opened or
// read throws a plain StringPointer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/String.h"
#include "language/SourceError.h"

namespace qv {

// A 1-based line and a 1-based column.
using TextPlace = SourcePosition;
using PlacedMessage = SourceError;

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
