#include "app/DocumentFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/Errors.h"

namespace qv {

std::string fromDiskLineEnds(std::string_view disk) {
    std::string text;
    text.reserve(disk.size());
    // Copies the stretches between carriage returns whole: documents are
    // tens of megabytes.
    std::size_t at = 0;
    while (at < disk.size()) {
        std::size_t mark = disk.find('\r', at);
        if (mark == std::string_view::npos) mark = disk.size();
        text.append(disk, at, mark - at);
        if (mark == disk.size()) break;
        bool pair = mark + 1 < disk.size() && disk[mark + 1] == '\n';
        if (!pair) text += '\r';
        at = mark + 1;
    }
    return text;
}

std::string toDiskLineEnds(std::string_view text) {
    std::string disk;
    disk.reserve(text.size() + text.size() / 16);
    for (char ch : text) {
        if (ch == '\n') disk += '\r';
        disk += ch;
    }
    return disk;
}

namespace {

// With the reason the system gave for the failing call (its errno), so
// that the user learns whether the file is missing, refused or a folder.
[[noreturn]] void failBecause(std::string_view what, const std::string& path, int error) {
    if (error <= 0) throwMessage(std::string(what) + path);
    throwMessage(std::string(what) + path + ": " + systemReason(error));
}

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

[[noreturn]] void failTooLarge(const std::string& name) {
    throwMessage("can not read " + name + ": the document passes the limit of " +
                 std::to_string(kMaxDocumentFileBytes) + " bytes");
}

}  // namespace

StringPointer readDocumentFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) failBecause("can not open ", path, errno);
    // A regular file too long is refused before a byte of it is read.
    struct stat status {};
    if (::fstat(::fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_size > kMaxDocumentFileBytes) {
        failTooLarge(path);
    }
    return readDocumentStream(file.get(), path);
}

StringPointer readDocumentStream(std::FILE* stream, const std::string& name) {
    constexpr std::size_t kBlockBytes = 65536;
    constexpr auto kLimit = static_cast<std::size_t>(kMaxDocumentFileBytes);
    std::string disk;
    char block[kBlockBytes];
    int readError = 0;
    for (;;) {
        errno = 0;
        std::size_t count = std::fread(block, 1, sizeof block, stream);
        if (count < sizeof block && std::ferror(stream)) readError = errno;
        if (disk.size() + count > disk.capacity()) {
            // Doubling, but never past the bound: an endless stream costs
            // the bound in memory, not twice it.
            std::size_t wanted = std::max(disk.capacity() * 2, disk.size() + count);
            disk.reserve(std::min(wanted, kLimit + kBlockBytes));
        }
        disk.append(block, count);
        if (disk.size() > kLimit) failTooLarge(name);
        if (count < sizeof block) break;
    }
    if (std::ferror(stream)) failBecause("can not read ", name, readError);
    return str(fromDiskLineEnds(disk));
}

void writeDocumentFile(const std::string& path, std::string_view text) {
    // A piece at a time: a document of hundreds of megabytes is not copied
    // whole once more for its line ends.
    writeFileInPieces(path, [text](const FilePieceSink& put) mutable {
        constexpr std::size_t kPieceBytes = 1 << 20;
        while (!text.empty()) {
            std::string_view piece = text.substr(0, kPieceBytes);
            if (!put(toDiskLineEnds(piece))) return;
            text.remove_prefix(piece.size());
        }
    });
}

}  // namespace qv
