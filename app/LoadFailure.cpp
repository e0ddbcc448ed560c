#include "app/LoadFailure.h"

#include <new>

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

std::string LoadFailure::locatedIn(const std::string& path) const {
    if (!place) return path + ": " + message;
    return path + ":" + std::to_string(place->line) + ":" + std::to_string(place->column) + ": " +
           message;
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

Pointer<Document> readDocumentOrSay(const std::string& path,
                                    const std::function<Pointer<Document>()>& read,
                                    std::string& why) {
    Pointer<Document> document;
    std::optional<LoadFailure> failure;
    try {
        failure = attemptReading([&] { document = read(); });
    } catch (const std::bad_alloc&) {
        failure = LoadFailure{"out of memory", std::nullopt};
    }
    if (!failure) return document;
    why = failure->locatedIn(path);
    return {};
}

Pointer<TableResult> findTableOrSay(Kernel& kernel, const std::string& path,
                                    const std::string& name, std::string& why) {
    try {
        return kernel.getTableByName(name);
    } catch (const StringPointer& message) {
        why = path + ": " + name + ": " + textOf(message);
        return {};
    }
}

}  // namespace qv
