#include "app/DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
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

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

}  // namespace

StringPointer readDocumentFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) fail("can not open ", path);
    std::string disk;
    char block[65536];
    for (;;) {
        std::size_t count = std::fread(block, 1, sizeof block, file.get());
        disk.append(block, count);
        if (static_cast<std::int64_t>(disk.size()) > kMaxDocumentFileBytes) {
            fail("can not read ", path);
        }
        if (count < sizeof block) break;
    }
    if (std::ferror(file.get())) fail("can not read ", path);
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
    }
    ~TemporaryFile() {
        if (m_descriptor >= 0) ::close(m_descriptor);
        if (!m_committed) ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool isOpen() const noexcept { return m_descriptor >= 0; }
    const std::string& path() const noexcept { return m_path; }

    bool writeAll(std::string_view bytes) noexcept {
        while (!bytes.empty()) {
            ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    // A target that exists keeps its permissions, as truncating it would.
    void takeModeOf(const std::string& target) noexcept {
        struct stat status {};
        if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
            ::fchmod(m_descriptor, status.st_mode & 07777);
        }
    }
    bool flushAndClose() noexcept {
        bool flushed = ::fsync(m_descriptor) == 0;
        bool closed = ::close(m_descriptor) == 0;
        m_descriptor = -1;
        return flushed && closed;
    }
    void commit() noexcept { m_committed = true; }

  private:
    std::string m_path;
    int m_descriptor = -1;
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

void writeDocumentFile(const std::string& path, std::string_view text) {
    std::string target = resolvedTarget(path);
    TemporaryFile temporary(target);
    if (!temporary.isOpen()) fail("can not open ", path);
    temporary.takeModeOf(target);
    if (!temporary.writeAll(toDiskLineEnds(text)) || !temporary.flushAndClose()) {
        fail("can not write to ", path);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) fail("can not write to ", path);
    temporary.commit();
    flushFolder(folderOf(target));
}

}  // namespace qv
