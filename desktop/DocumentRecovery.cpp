#include "desktop/DocumentRecovery.h"

#include <chrono>
#include <cstdio>

#include "core/Errors.h"

namespace qv {

DocumentRecovery::DocumentRecovery(toolkit::Window& window, std::string folder, Clock clock,
                                   std::int32_t intervalMs)
    : m_window(window),
      m_intervalMs(intervalMs),
      m_store(std::move(folder)),
      m_clock(std::move(clock)),
      m_copy(m_store.newSessionCopy()) {
    m_lastChange = m_clock();
}

DocumentRecovery::~DocumentRecovery() {
    if (m_timerRunning) m_window.stopTimer(kTimerId);
    if (m_sliceTimerRunning) m_window.stopTimer(kSliceTimerId);
}

void DocumentRecovery::settled(std::uint64_t stamp) {
    m_seenStamp = stamp;
    m_writtenStamp.reset();
    m_lastChange = m_clock();
    if (m_timerRunning) m_window.stopTimer(kTimerId);
    m_timerRunning = false;
    stopMaking();
    dropSessionCopy();
}

void DocumentRecovery::activity(std::uint64_t stamp, bool modified, const DocumentText& text,
                                const std::optional<std::string>& original) {
    if (stamp == m_seenStamp) return;
    m_seenStamp = stamp;
    std::int64_t now = m_clock();
    bool afterQuiet = now - m_lastChange >= kQuietMs;
    m_lastChange = now;
    if (!modified) return;
    if (!m_timerRunning) {
        m_window.startTimer(kTimerId, m_intervalMs);
        m_timerRunning = true;
    }
    if (afterQuiet) writeNow(stamp, text, original);
}

void DocumentRecovery::tick(std::uint64_t stamp, bool modified, const DocumentText& text,
                            const std::optional<std::string>& original) {
    if (!modified || m_writtenStamp == stamp || m_making) return;
    writeNow(stamp, text, original);
}

void DocumentRecovery::writeNow(std::uint64_t stamp, const DocumentText& text,
                                const std::optional<std::string>& original) {
    if (std::optional<std::string> failure = m_writer.takeFailure()) m_problem = failure;
    if (m_making || !prepareFolder()) return;
    try {
        m_making = text();
    } catch (const StringPointer& message) {
        m_problem = "no recovery copy: " + message->toStdString();
        return;
    }
    m_makingStamp = stamp;
    m_makingOriginal = original;
    makeText();
}

bool DocumentRecovery::prepareFolder() {
    if (m_folderReady) return true;
    try {
        m_store.prepareFolder();
        m_folderReady = true;
        m_lock.emplace(lockPathOf(m_copy));
    } catch (const StringPointer& message) {
        m_problem = "no recovery copy: " + message->toStdString();
    }
    return m_folderReady;
}

void DocumentRecovery::slice() {
    if (m_making) makeText();
}

void DocumentRecovery::makeText() {
    bool whole = false;
    try {
        whole = m_making->work(RecoveryText::Clock::now() + kSliceTime);
    } catch (const StringPointer& message) {
        m_problem = "no recovery copy: " + message->toStdString();
        stopMaking();
        return;
    }
    if (!whole) {
        if (!m_sliceTimerRunning) m_window.startTimer(kSliceTimerId, 1);
        m_sliceTimerRunning = true;
        return;
    }
    RecoveryRecord record{m_makingOriginal, std::chrono::duration_cast<std::chrono::seconds>(
                                                std::chrono::system_clock::now().time_since_epoch())
                                                .count()};
    m_writer.write(m_copy.copyPath, m_copy.recordPath, recoveryRecordText(record),
                   m_making->take());
    m_copyExists = true;
    m_writtenStamp = m_makingStamp;
    ++m_written;
    stopMaking();
}

void DocumentRecovery::stopMaking() {
    m_making.reset();
    if (m_sliceTimerRunning) m_window.stopTimer(kSliceTimerId);
    m_sliceTimerRunning = false;
}

void DocumentRecovery::removeCopy(const RecoveryCopy& copy) {
    m_writer.remove(copy.copyPath, copy.recordPath);
    // Left by the window that crashed; nobody holds it.
    std::remove(lockPathOf(copy).c_str());
}

std::optional<std::string> DocumentRecovery::takeProblem() {
    if (!m_problem) m_problem = m_writer.takeFailure();
    if (!m_problem || m_problemTold) return std::nullopt;
    m_problemTold = true;
    return m_problem;
}

void DocumentRecovery::dropSessionCopy() {
    if (!m_copyExists) return;
    m_writer.remove(m_copy.copyPath, m_copy.recordPath);
    m_copyExists = false;
}

}  // namespace qv
