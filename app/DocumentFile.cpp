#include "app/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

[[noreturn]] void fail(std::string_view what, const std::string& path) {
    throwMessage(std::string(what) + path);
}

// With the reason the system gave for the failing call (its errno), so
// that the user learns whether the folder is missing, the disk full or
// the file refused.
[[noreturn]] void failBecause(std::string_view what, const std::string& path, int error) {
    throwMessage(std::string(what) + path + ": " + std::strerror(error));
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
    if (!file) fail("can not open ", path);
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
    for (;;) {
        std::size_t count = std::fread(block, 1, sizeof block, stream);
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
    if (std::ferror(stream)) fail("can not read ", name);
    return str(fromDiskLineEnds(disk));
}

namespace {

// The file a path names: a symbolic link is followed, so that saving
// through it replaces the document and not the link.
std::string resolvedTarget(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A temporary file beside the target, removed again unless committed.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& target) {
        std::size_t slash = target.rfind('/');
        std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
        m_path = target.substr(0, nameStart) + "." + target.substr(nameStart) + ".tmp-XXXXXX";
        m_descriptor = ::mkstemp(m_path.data());
        if (m_descriptor < 0) m_error = errno;
    }
    ~TemporaryFile() {
        if (m_descriptor >= 0) ::close(m_descriptor);
        if (!m_committed) ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const noexcept { return m_descriptor >= 0; }
    // The errno of the call that failed last.
    int error() const noexcept { return m_error; }
    const std::string& path() const noexcept { return m_path; }

    bool writeAll(std::string_view bytes) noexcept {
        while (!bytes.empty()) {
            ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                // A write of nothing sets no errno; the disk is full then.
                m_error = written < 0 ? errno : ENOSPC;
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    // The text with every line feed as CR LF, converted a piece at a time:
    // a document of hundreds of megabytes is not copied whole once more.
    bool writeWithDiskLineEnds(std::string_view text) {
        constexpr std::size_t kPieceBytes = 1 << 20;
        while (!text.empty()) {
            std::string_view piece = text.substr(0, kPieceBytes);
            if (!writeAll(toDiskLineEnds(piece))) return false;
            text.remove_prefix(piece.size());
        }
        return true;
    }
    // A target that exists keeps its owner, group and permissions, as
    // truncating it would. Only the superuser may give a file away, and an
    // owner only to a group of its own, so each change is tried on its own
    // and a refusal leaves the file as the process made it. The mode comes
    // last: a change of owner clears the set-user-ID and set-group-ID bits.
    void takeOwnerAndModeOf(const struct stat& target) noexcept {
        if (::fchown(m_descriptor, target.st_uid, target.st_gid) != 0) {
            [[maybe_unused]] int ignored =
                ::fchown(m_descriptor, static_cast<uid_t>(-1), target.st_gid);
        }
        ::fchmod(m_descriptor, target.st_mode & 07777);
    }
    bool flushAndClose() noexcept {
        bool flushed = ::fsync(m_descriptor) == 0;
        if (!flushed) m_error = errno;
        bool closed = ::close(m_descriptor) == 0;
        if (!closed && flushed) m_error = errno;
        m_descriptor = -1;
        return flushed && closed;
    }
    void commit() noexcept { m_committed = true; }

  private:
    std::string m_path;
    int m_descriptor = -1;
    int m_error = 0;
    bool m_committed = false;
};

// Makes the rename itself durable; a folder that cannot be flushed still
// holds the complete new document.
void flushFolder(const std::string& folder) noexcept {
    int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

}  // namespace

void requireRegularTarget(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        throwMessage("can not write to " + path + ": not a regular file");
    }
}

void writeDocumentFile(const std::string& path, std::string_view text) {
    requireRegularTarget(path);
    std::string target = resolvedTarget(path);
    struct stat status {};
    bool exists = ::stat(target.c_str(), &status) == 0;
    TemporaryFile temporary(target);
    if (!temporary.isOpen()) failBecause("can not open ", path, temporary.error());
    if (exists) temporary.takeOwnerAndModeOf(status);
    if (!temporary.writeWithDiskLineEnds(text) || !temporary.flushAndClose()) {
        failBecause("can not write to ", path, temporary.error());
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0)
        failBecause("can not write to ", path, errno);
    temporary.commit();
    flushFolder(folderOf(target));
}

}  // namespace qv
