#include "core/FileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "core/Errors.h"

namespace qv {

std::string systemReason(int error) {
    return std::strerror(error);
}

void failWritesPastTheFileSizeLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
}

namespace {

[[noreturn]] void failBecause(std::string_view what, const std::string& path, int error) {
    throwMessage(std::string(what) + path + ": " + systemReason(error));
}

// The file a path names: a symbolic link is followed, so that writing
// through it replaces the file and not the link.
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

// The process's umask as the kernel reports it. Setting and restoring it
// instead would race with threads that create files meanwhile, so that is
// only the way when the report is missing (no /proc).
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) != 0) continue;
        char* end = nullptr;
        unsigned long mask = std::strtoul(line.c_str() + 6, &end, 8);
        if (end != line.c_str() + 6) return static_cast<mode_t>(mask & 0777);
    }
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// A temporary file beside the target, removed again unless committed.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& target) {
        std::size_t slash = target.rfind('/');
        std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
        m_path = target.substr(0, nameStart) + "." + target.substr(nameStart) + ".tmp-XXXXXX";
        m_descriptor = ::mkostemp(m_path.data(), O_CLOEXEC);
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
    bool failed() const noexcept { return m_error != 0; }
    const std::string& path() const noexcept { return m_path; }

    // After a failure every further piece is dropped.
    bool writeAll(std::string_view bytes) noexcept {
        while (!failed() && !bytes.empty()) {
            ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                // A write of nothing sets no errno; the disk is full then.
                m_error = written < 0 ? errno : ENOSPC;
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return !failed();
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
    // The temporary file is made for the owner alone; a new file gets what
    // creating it with open(2) would have given.
    void takeModeOfANewFile() noexcept { ::fchmod(m_descriptor, 0666 & ~currentUmask()); }
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
// holds the complete new file.
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

void writeFileInPieces(const std::string& path, const FileContentProducer& produce) {
    requireRegularTarget(path);
    std::string target = resolvedTarget(path);
    struct stat status {};
    bool exists = ::stat(target.c_str(), &status) == 0;
    TemporaryFile temporary(target);
    if (!temporary.isOpen()) failBecause("can not open ", path, temporary.error());
    if (exists) {
        temporary.takeOwnerAndModeOf(status);
    } else {
        temporary.takeModeOfANewFile();
    }
    produce([&temporary](std::string_view piece) { return temporary.writeAll(piece); });
    if (temporary.failed() || !temporary.flushAndClose())
        failBecause("can not write to ", path, temporary.error());
    if (::rename(temporary.path().c_str(), target.c_str()) != 0)
        failBecause("can not write to ", path, errno);
    temporary.commit();
    flushFolder(folderOf(target));
}

void writeFileWhole(const std::string& path, std::string_view bytes) {
    writeFileInPieces(path, [bytes](const FilePieceSink& put) { put(bytes); });
}

}  // namespace qv
