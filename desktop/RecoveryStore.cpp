#include "desktop/RecoveryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/Errors.h"
#include "core/FileWriter.h"

namespace qv {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRecordHeader = "quorvatelle recovery\n";
constexpr std::string_view kOriginalKey = "original=";
constexpr std::string_view kWrittenKey = "written=";

bool absoluteFolder(const char* value) {
    return value != nullptr && value[0] == '/';
}

// The next line of `text` without its line feed; false at the end or when
// the line is not ended.
bool nextLine(std::string_view& text, std::string_view& line) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return false;
    line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return true;
}

std::optional<std::int64_t> modifiedNanoseconds(const std::string& path, bool& regular) {
    struct stat status {};
    regular = false;
    if (::lstat(path.c_str(), &status) != 0) return std::nullopt;
    regular = S_ISREG(status.st_mode);
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

std::optional<std::string> readSmallFile(const std::string& path) {
    bool regular = false;
    if (!modifiedNanoseconds(path, regular) || !regular) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(RecoveryStore::kMaxRecordBytes) + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (static_cast<std::int64_t>(text.size()) > RecoveryStore::kMaxRecordBytes)
        return std::nullopt;
    return text;
}

}  // namespace

std::string defaultRecoveryFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); absoluteFolder(state))
        return std::string(state) + "/quorvatelle";
    if (const char* home = std::getenv("HOME"); absoluteFolder(home))
        return std::string(home) + "/.local/state/quorvatelle";
    return {};
}

std::string recoveryRecordText(const RecoveryRecord& record) {
    std::string text(kRecordHeader);
    text += kOriginalKey;
    text += record.original.value_or("");
    text += '\n';
    text += kWrittenKey;
    text += std::to_string(record.writtenSeconds);
    text += '\n';
    return text;
}

std::optional<RecoveryRecord> parseRecoveryRecord(std::string_view text) {
    if (static_cast<std::int64_t>(text.size()) > RecoveryStore::kMaxRecordBytes ||
        !text.starts_with(kRecordHeader))
        return std::nullopt;
    text.remove_prefix(kRecordHeader.size());
    std::string_view original;
    std::string_view written;
    if (!nextLine(text, original) || !nextLine(text, written) || !text.empty()) return std::nullopt;
    if (!original.starts_with(kOriginalKey) || !written.starts_with(kWrittenKey))
        return std::nullopt;
    original.remove_prefix(kOriginalKey.size());
    written.remove_prefix(kWrittenKey.size());
    // Only an absolute path without NUL names a file; nothing else is
    // trusted to be one.
    if (!original.empty() && (original.front() != '/' || original.find('\0') != original.npos))
        return std::nullopt;
    RecoveryRecord record;
    auto [end, error] =
        std::from_chars(written.data(), written.data() + written.size(), record.writtenSeconds);
    if (error != std::errc() || end != written.data() + written.size() || written.empty())
        return std::nullopt;
    if (!original.empty()) record.original = std::string(original);
    return record;
}

void RecoveryStore::prepareFolder() const {
    if (m_folder.empty()) throwMessage("no folder for recovery copies (HOME is not set)");
    std::error_code error;
    fs::create_directories(m_folder, error);
    if (error) throwMessage("can not make " + m_folder + ": " + error.message());
    // Copies hold the user's work: no one else may read them.
    if (::chmod(m_folder.c_str(), 0700) != 0)
        throwMessage("can not make " + m_folder + " private: " + systemReason(errno));
}

RecoveryCopy RecoveryStore::newSessionCopy() const {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    std::string name =
        "copy-" + std::to_string(::getpid()) + "-" +
        std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
    return {m_folder + "/" + name + ".qvl", m_folder + "/" + name + ".info", {}, 0, true};
}

std::optional<RecoveryCopy> RecoveryStore::newestFor(
    const std::optional<std::string>& original) const {
    std::error_code error;
    fs::directory_iterator entries(m_folder, error);
    if (error) return std::nullopt;
    std::optional<std::int64_t> originalTime;
    if (original) {
        bool regular = false;
        originalTime = modifiedNanoseconds(*original, regular);
    }
    std::optional<RecoveryCopy> newest;
    std::int32_t looked = 0;
    for (auto entry = entries; entry != fs::directory_iterator(); entry.increment(error)) {
        if (error || ++looked > kMaxEntriesScanned) break;
        const fs::path& path = entry->path();
        if (path.extension() != ".info") continue;
        std::optional<std::string> text = readSmallFile(path.string());
        if (!text) continue;
        std::optional<RecoveryRecord> record = parseRecoveryRecord(*text);
        if (!record || record->original != original) continue;
        RecoveryCopy copy{fs::path(path).replace_extension(".qvl").string(), path.string(), *record,
                          0};
        std::optional<std::int64_t> copyTime = modifiedNanoseconds(copy.copyPath, copy.regular);
        // A copy that is gone is no offer; one that is not a regular file
        // is still offered, so that its reading says what is wrong with it.
        if (!copyTime || heldByOpenWindow(copy)) continue;
        if (originalTime && *copyTime <= *originalTime) continue;
        copy.copyModifiedNanoseconds = *copyTime;
        if (!newest || copy.copyModifiedNanoseconds > newest->copyModifiedNanoseconds)
            newest = std::move(copy);
    }
    return newest;
}

SessionLock::SessionLock(std::string path) : m_path(std::move(path)) {
    m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

SessionLock::~SessionLock() {
    if (m_fd < 0) return;
    ::unlink(m_path.c_str());
    ::close(m_fd);
}

std::string lockPathOf(const RecoveryCopy& copy) {
    return fs::path(copy.copyPath).replace_extension(".lock").string();
}

bool heldByOpenWindow(const RecoveryCopy& copy) {
    int fd = ::open(lockPathOf(copy).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat status {};
    bool held = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

std::string absolutePathOf(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) return path;
    return absolute.lexically_normal().string();
}

}  // namespace qv
