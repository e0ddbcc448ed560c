#include "desktop/RecoveryWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/DocumentFile.h"

namespace qv {

namespace {

// The objects of the system (and the messages the file writer throws) are
// allocated from pools that belong to the window's thread, so this thread
// writes through the system's calls alone and reports in plain strings:
// a temporary file beside the copy, flushed, then renamed over it.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& target) : m_path(target + ".tmp-XXXXXX") {
        m_fd = ::mkostemp(m_path.data(), O_CLOEXEC);
    }
    ~TemporaryFile() {
        if (m_fd >= 0) ::close(m_fd);
        if (!m_renamed && m_fd >= 0) ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool opened() const noexcept { return m_fd >= 0; }
    bool put(std::string_view bytes) {
        while (!bytes.empty()) {
            ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool renameTo(const std::string& target) {
        if (::fsync(m_fd) != 0 || ::rename(m_path.c_str(), target.c_str()) != 0) return false;
        m_renamed = true;
        return true;
    }

  private:
    std::string m_path;
    int m_fd = -1;
    bool m_renamed = false;
};

std::optional<std::string> failure(const std::string& path) {
    return "can not write the recovery copy " + path + ": " + std::strerror(errno);
}

// Line feeds go to disk as CR LF, as in every document file.
std::optional<std::string> writeAtomically(const std::string& path, std::string_view text,
                                           bool documentLineEnds) {
    TemporaryFile file(path);
    if (!file.opened()) return failure(path);
    constexpr std::size_t kPieceBytes = 1 << 20;
    while (!text.empty()) {
        std::string_view piece = text.substr(0, kPieceBytes);
        bool put = documentLineEnds ? file.put(toDiskLineEnds(piece)) : file.put(piece);
        if (!put) return failure(path);
        text.remove_prefix(piece.size());
    }
    if (!file.renameTo(path)) return failure(path);
    return std::nullopt;
}

}  // namespace

RecoveryWriter::RecoveryWriter() : m_thread([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecoveryWriter::write(std::string copyPath, std::string recordPath, std::string record,
                           std::string document) {
    add({false, std::move(copyPath), std::move(recordPath), std::move(record),
         std::move(document)});
}

void RecoveryWriter::remove(std::string copyPath, std::string recordPath) {
    add({true, std::move(copyPath), std::move(recordPath), {}, {}});
}

void RecoveryWriter::add(Job job) {
    {
        std::lock_guard lock(m_mutex);
        // What waits for the same copy is overtaken: only the newest text
        // matters, and after a removal none at all.
        std::erase_if(m_jobs, [&](const Job& waiting) {
            return !waiting.remove && waiting.copyPath == job.copyPath;
        });
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void RecoveryWriter::waitIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

std::optional<std::string> RecoveryWriter::takeFailure() {
    std::lock_guard lock(m_mutex);
    std::optional<std::string> failure = std::move(m_failure);
    m_failure.reset();
    return failure;
}

void RecoveryWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        std::optional<std::string> failure = perform(job);
        lock.lock();
        m_busy = false;
        if (failure) m_failure = std::move(failure);
        if (m_jobs.empty()) m_idle.notify_all();
    }
}

std::optional<std::string> RecoveryWriter::perform(const Job& job) {
    if (job.remove) {
        // The record goes first: a copy without its record is never offered.
        std::remove(job.recordPath.c_str());
        std::remove(job.copyPath.c_str());
        return std::nullopt;
    }
    if (auto failed = writeAtomically(job.copyPath, job.document, true)) return failed;
    return writeAtomically(job.recordPath, job.record, false);
}

}  // namespace qv
