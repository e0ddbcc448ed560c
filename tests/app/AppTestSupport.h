// Helpers of the document tests: read a text, write it back, catch the
// message of a failed reading; scratch folders for file tests come from
// tests/support.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/Document.h"
#include "language/SourceError.h"
#include "tests/support/ScratchFolder.h"

namespace qv::test {

// The example documents of the source tree, in name order.
inline std::vector<std::string> exampleFiles() {
    std::vector<std::string> files;
    std::filesystem::path folder = std::filesystem::path(QV_SOURCE_DIR) / "examples";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".qvl") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline Pointer<Document> readDocument(std::string_view text) {
    return Document::read(str(text));
}

// The text the program writes for a document text.
inline std::string rewritten(std::string_view text) {
    return readDocument(text)->toSource()->toStdString();
}

// The message a reading throws, or "(no error)".
inline std::string readError(std::string_view text) {
    try {
        readDocument(text);
        return "(no error)";
    } catch (const StringPointer& message) {
        return message->toStdString();
    }
}

// "LINE:COL message" of a failed reading, or "(no error)".
inline std::string readErrorAt(std::string_view text) {
    try {
        readDocument(text);
        return "(no error)";
    } catch (const SourceError& error) {
        return std::to_string(error.line()) + ":" + std::to_string(error.column()) + " " +
               error.message()->toStdString();
    }
}

// The message a piece of work throws as a StringPointer, or "(no error)".
template <class Work>
std::string messageOf(Work&& work) {
    try {
        work();
        return "(no error)";
    } catch (const StringPointer& message) {
        return message->toStdString();
    }
}

}  // namespace qv::test
