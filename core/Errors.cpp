#include "core/Errors.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace qv {

void throwMessage(std::string_view text) {
    throw str(text);
}

void throwString(const StringPointer& message) {
    throw message;
}

void throwSystemError(std::string_view message) {
    int error = errno;
    if (error <= 0) throwMessage(message);
    std::string text(message);
    text += " - ";
    text += std::strerror(error);
    throwMessage(text);
}

}  // namespace qv
