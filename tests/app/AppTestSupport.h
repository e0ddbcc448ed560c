// Helpers of the document tests: read a text, write it back, catch the
// message of a failed reading, and scratch folders for file tests.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/Document.h"
#include "language/SourceError.h"

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

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv-app-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(std::string_view name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const noexcept { return m_path; }

  private:
    std::filesystem::path m_path;
};

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void putFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qv::test
