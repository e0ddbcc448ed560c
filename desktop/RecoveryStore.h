// The folder of recovery copies: each window session writes its unsaved
// work to a document of its own there (NAME.qvl), beside a small record
// (NAME.info) that names the file the work belongs to and when the copy
// was written. The copy is an ordinary document; the record keeps it so.
// Copies live in the user's state folder, never beside the user's file.
//
// Everything read from the folder is untrusted: records are small and
// strictly formed or ignored, a scan looks at a bounded number of entries,
// and only regular files count.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// $XDG_STATE_HOME/quorvatelle, else ~/.local/state/quorvatelle; empty when
// neither variable names an absolute folder.
std::string defaultRecoveryFolder();

struct RecoveryRecord {
    // The document's file; empty for an unsaved new document.
    std::optional<std::string> original;
    std::int64_t writtenSeconds = 0;
};

// The record's text, and the record read back from such a text; empty for
// anything else.
std::string recoveryRecordText(const RecoveryRecord& record);
std::optional<RecoveryRecord> parseRecoveryRecord(std::string_view text);

struct RecoveryCopy {
    std::string copyPath;
    std::string recordPath;
    RecoveryRecord record;
    std::int64_t copyModifiedNanoseconds = 0;
    // False for anything else in the copy's place (a folder, a link, a
    // pipe): never opened, it is refused with a message.
    bool regular = false;
};

class RecoveryStore {
  public:
    static constexpr std::int64_t kMaxRecordBytes = 8192;
    static constexpr std::int32_t kMaxEntriesScanned = 4096;

    explicit RecoveryStore(std::string folder) : m_folder(std::move(folder)) {}

    const std::string& folder() const noexcept { return m_folder; }
    // Makes the folder (and those above it) when missing; the folder itself
    // is private to the user (0700). Throws the reason as a StringPointer.
    void prepareFolder() const;
    // A name no other session uses: the process id and the time.
    RecoveryCopy newSessionCopy() const;
    // The newest copy of the document at `original` (absolute; empty for an
    // unsaved new one) that is newer than that file, if there is one.
    std::optional<RecoveryCopy> newestFor(const std::optional<std::string>& original) const;

  private:
    std::string m_folder;
};

// Held by a window while it may write its copy: a copy whose lock is held
// belongs to a window still open (on this file too, perhaps) and is not
// offered. The system lets go of it when the process ends, a crash
// included. The lock file goes with the lock.
class SessionLock {
  public:
    explicit SessionLock(std::string path);
    ~SessionLock();
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;
    bool held() const noexcept { return m_fd >= 0; }

  private:
    std::string m_path;
    int m_fd = -1;
};

// NAME.lock beside NAME.qvl.
std::string lockPathOf(const RecoveryCopy& copy);
// Whether a window still running holds the copy's lock.
bool heldByOpenWindow(const RecoveryCopy& copy);

// The absolute, normal form of a path, so that a record names a file the
// same way whichever way the user named it.
std::string absolutePathOf(const std::string& path);

}  // namespace qv
