// The error convention: a user-visible error is thrown as a StringPointer
// carrying the message text; catchers show it or store it in a cell.
#pragma once

#include <string_view>

#include "core/String.h"

namespace qv {

[[noreturn]] void throwMessage(std::string_view text);
[[noreturn]] void throwString(const StringPointer& message);
// The message, " - " and the system's text for the current errno; the message
// alone when errno is not positive.
[[noreturn]] void throwSystemError(std::string_view message);

}  // namespace qv
