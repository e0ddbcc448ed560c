// When the window writes its recovery copy: while the document has unsaved
// changes, every kIntervalMs when it changed since the last copy, and at
// once on a change after kQuietMs without any. The copy goes to this
// session's own name in the recovery folder (RecoveryStore) through the
// writer's thread; saving, reading another document or ending the program
// removes it. Only a crash leaves it behind.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop/RecoveryStore.h"
#include "desktop/RecoveryText.h"
#include "desktop/RecoveryWriter.h"
#include "toolkit/Window.h"

namespace qv {

class DocumentRecovery {
  public:
    static constexpr std::int32_t kTimerId = 7401;
    // The timer that runs the slices of a copy's text (RecoveryText).
    static constexpr std::int32_t kSliceTimerId = 7402;
    static constexpr std::chrono::milliseconds kSliceTime{12};
    static constexpr std::int32_t kIntervalMs = 30000;
    static constexpr std::int64_t kQuietMs = 60000;
    // Milliseconds from any fixed point; tests step it by hand.
    using Clock = std::function<std::int64_t()>;
    // Begins the document's text as saving writes it, end mark included.
    using DocumentText = std::function<std::unique_ptr<RecoveryText>()>;

    DocumentRecovery(toolkit::Window& window, std::string folder, Clock clock,
                     std::int32_t intervalMs = kIntervalMs);
    ~DocumentRecovery();
    DocumentRecovery(const DocumentRecovery&) = delete;
    DocumentRecovery& operator=(const DocumentRecovery&) = delete;

    const RecoveryStore& store() const noexcept { return m_store; }
    RecoveryWriter& writer() noexcept { return m_writer; }
    const RecoveryCopy& sessionCopy() const noexcept { return m_copy; }
    std::int32_t copiesWritten() const noexcept { return m_written; }

    // The document was read or saved: nothing of it needs a copy now.
    void settled(std::uint64_t stamp);
    // After every event: `stamp` changes with every change of the document.
    void activity(std::uint64_t stamp, bool modified, const DocumentText& text,
                  const std::optional<std::string>& original);
    // The window's timer.
    void tick(std::uint64_t stamp, bool modified, const DocumentText& text,
              const std::optional<std::string>& original);
    // Writes the copy now (recovered work has no copy of this session yet):
    // its text is begun and its first slice made at once; a large one goes
    // on in slices of the slice timer. A copy already being made is
    // finished first; the next tick writes what changed since.
    void writeNow(std::uint64_t stamp, const DocumentText& text,
                  const std::optional<std::string>& original);
    // The slice timer: the next slice of the text being made.
    void slice();
    bool isMakingText() const noexcept { return m_making != nullptr; }
    // Removes the copy of another session (one that was recovered or declined).
    void removeCopy(const RecoveryCopy& copy);
    // Why copies can not be written (no folder, a full disk), the first
    // time only: the user hears it once, not every half minute.
    std::optional<std::string> takeProblem();

  private:
    void dropSessionCopy();
    bool prepareFolder();
    // Makes text until the slice's time is up; hands it to the writer once whole.
    void makeText();
    void stopMaking();

    toolkit::Window& m_window;
    std::int32_t m_intervalMs;
    RecoveryStore m_store;
    Clock m_clock;
    RecoveryCopy m_copy;
    // Let go of only once the writer has finished (it is destroyed first).
    std::optional<SessionLock> m_lock;
    RecoveryWriter m_writer;
    bool m_folderReady = false;
    bool m_copyExists = false;
    bool m_timerRunning = false;
    std::uint64_t m_seenStamp = 0;
    std::optional<std::uint64_t> m_writtenStamp;
    std::int64_t m_lastChange = 0;
    std::int32_t m_written = 0;
    std::optional<std::string> m_problem;
    bool m_problemTold = false;
    // The copy whose text is being made, with what its record will say.
    std::unique_ptr<RecoveryText> m_making;
    std::uint64_t m_makingStamp = 0;
    std::optional<std::string> m_makingOriginal;
    bool m_sliceTimerRunning = false;
};

}  // namespace qv
