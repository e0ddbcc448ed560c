#include "desktop/LoadFailure.h"

namespace qv {

namespace {

std::string placeText(TextPlace place) {
    return "(line " + std::to_string(place.line) + ", column " + std::to_string(place.column) + ")";
}

// A thrown null message would be a fault of the thrower; it still reads.
std::string textOf(const StringPointer& message) {
    return message.isNull() ? std::string("unknown error") : message->toStdString();
}

}  // namespace

std::string LoadFailure::describe() const {
    if (!place) return message;
    return message + "\n\n" + placeText(*place);
}

std::string LoadFailure::describeOnOneLine() const {
    if (!place) return message;
    return message + " " + placeText(*place);
}

std::string loadNoticeOf(const LoadFailure& failure) {
    return "Can not load the file because it contain the following error:\n\n" + failure.describe();
}

std::optional<LoadFailure> attemptReading(const std::function<void()>& reading) {
    try {
        reading();
        return std::nullopt;
    } catch (const SourceError& error) {
        return LoadFailure{textOf(error), TextPlace{error.line(), error.column()}};
    } catch (const StringPointer& error) {
        return LoadFailure{textOf(error), std::nullopt};
    }
}

}  // namespace qv
