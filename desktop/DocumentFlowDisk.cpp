// The document flow's share of recovery and of the file on disk: the
// recovery copy offered at start, the copy kept while there are unsaved
// changes, the open file watched for changes made by other programs, and
// the question before a save overwrites a file that changed since it was
// read or saved.
#include <chrono>
#include <ctime>

#include "app/Document.h"
#include "app/DocumentFile.h"
#include "core/Errors.h"
#include "desktop/DocumentFlow.h"
#include "desktop/DocumentTitle.h"

namespace qv {

namespace {

std::string localTimeOf(std::int64_t seconds) {
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (::localtime_r(&time, &parts) == nullptr) return "an unknown time";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

std::int64_t steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void DocumentFlow::enableRecovery(std::string folder, DocumentRecovery::Clock clock,
                                  std::int32_t intervalMs) {
    if (!clock) clock = steadyMilliseconds;
    m_recovery = std::make_unique<DocumentRecovery>(m_window, std::move(folder), std::move(clock),
                                                    intervalMs);
}

std::uint64_t DocumentFlow::changeStamp() const {
    return m_host.changeStamp() * 1000003u + m_changesOutsideHistory;
}

DocumentRecovery::DocumentText DocumentFlow::documentText() {
    return [this] { return m_host.recoveryText(); };
}

std::optional<std::string> DocumentFlow::recoveryOriginal() const {
    if (!m_path) return std::nullopt;
    return absolutePathOf(*m_path);
}

void DocumentFlow::afterEvent() {
    if (!m_recovery) return;
    m_recovery->activity(changeStamp(), isModified(), documentText(), recoveryOriginal());
    if (std::optional<std::string> problem = m_recovery->takeProblem();
        problem && m_state == FlowState::Idle)
        notify(*problem);
}

void DocumentFlow::recoveryTimer() {
    if (!m_recovery) return;
    m_recovery->tick(changeStamp(), isModified(), documentText(), recoveryOriginal());
}

void DocumentFlow::recoverySlice() {
    if (m_recovery) m_recovery->slice();
}

// ---- the offer at start

bool DocumentFlow::offerRecovery() {
    if (!m_recovery) return false;
    std::optional<std::string> original;
    if (!m_startupPath.empty()) original = absolutePathOf(m_startupPath);
    m_offered = m_recovery->store().newestFor(original);
    if (!m_offered) return false;
    std::string when = localTimeOf(m_offered->copyModifiedNanoseconds / 1000000000);
    std::string text =
        original ? *original + " has a recovery copy from " + when + ", newer than the saved file."
                 : "An unsaved new document has a recovery copy from " + when + ".";
    text +=
        "\n\nRecover the work of that copy, open the saved file (the copy is removed), or "
        "decide later (the copy is kept)?";
    m_state = FlowState::StartRecoveryAnswered;
    m_awaiting = Reply::Answer;
    m_window.showMessageBox(text, kProductName, toolkit::MessageBoxKind::Recover);
    return true;
}

void DocumentFlow::recoveryAnswered() {
    m_state = FlowState::Idle;
    RecoveryCopy copy = *m_offered;
    m_offered.reset();
    if (m_answer == Answer::No) m_recovery->removeCopy(copy);
    if (m_answer != Answer::Yes) return openStartupFile();
    StringPointer text;
    std::optional<LoadFailure> failure = attemptReading([&] {
        // A pipe would wait for a writer forever, a link may lead anywhere.
        if (!copy.regular) throwMessage("can not read " + copy.copyPath + ": not a regular file");
        text = readDocumentFile(copy.copyPath);
    });
    if (!failure) failure = replaceDocument(text);
    if (failure) {
        // The copy stays where it is for the user to look at; the saved
        // file opens as if nothing had been offered.
        m_state = FlowState::StartRecoveryNotice;
        m_awaiting = Reply::Answer;
        m_window.showMessageBox("The recovery copy " + copy.copyPath +
                                    " can not be read and is left as it is.\n\n" +
                                    loadNoticeOf(*failure),
                                kProductName, toolkit::MessageBoxKind::Notice);
        return;
    }
    documentRead(copy.record.original);
    // The recovered work is unsaved: it gets a copy of this session at
    // once, and only then does the old copy go.
    markChanged();
    m_recovery->writeNow(changeStamp(), documentText(), recoveryOriginal());
    m_recovery->removeCopy(copy);
}

// ---- the file on disk

void DocumentFlow::documentRead(const std::optional<std::string>& path) {
    bool samePath = path == m_path;
    m_path = path;
    m_disk = path ? fingerprintOf(*path) : std::nullopt;
    m_removalTold = false;
    if (!samePath || !m_watcher) watchCurrentFile();
    updateTitle();
    if (path) m_host.documentPathUsed(absolutePathOf(*path));
}

void DocumentFlow::watchCurrentFile() {
    m_watcher.reset();
    if (m_path) m_watcher = m_window.watchFile(*m_path, kFileChangedMessage);
}

bool DocumentFlow::overwriteRefused(const std::string& path) {
    if (m_overwriteApproved) {
        m_overwriteApproved = false;
        return false;
    }
    if (!m_path || path != *m_path || !m_disk) return false;
    DiskChange change = compareWithDisk(path, *m_disk);
    if (change == DiskChange::Same) return false;
    std::string question =
        change == DiskChange::Removed
            ? path + " was removed from disk.\n\nSave the window's version there again?"
            : path +
                  " changed on disk since it was read or saved.\n\nOverwrite it with the "
                  "window's version?";
    m_resume = m_state;
    m_state = FlowState::OverwriteAnswered;
    m_awaiting = Reply::Answer;
    m_window.showMessageBox(question, kProductName, toolkit::MessageBoxKind::Confirm);
    return true;
}

void DocumentFlow::overwriteAnswered() {
    m_state = FlowState::Idle;
    if (!m_confirmed) return;
    m_overwriteApproved = true;
    m_state = m_resume;
    continueFlow();
    m_overwriteApproved = false;
}

void DocumentFlow::fileChanged() {
    // A question of a command under way comes first; the save that may
    // follow compares the file itself.
    if (m_state != FlowState::Idle || !m_disk) return;
    FileFingerprint known = *m_disk;
    DiskChange change = compareWithDisk(*m_path, known);
    m_disk = known;
    if (change == DiskChange::Same) return;
    if (change == DiskChange::Removed) {
        if (m_removalTold) return;
        m_removalTold = true;
        // The window now holds the only copy: closing it must ask, and the
        // recovery copies must keep it, as for any unsaved work.
        if (!isModified()) markChanged();
        return notify(*m_path +
                      " was removed from disk. The window keeps the document as unsaved "
                      "work; saving asks before writing the file again.");
    }
    m_removalTold = false;
    if (m_declined && compareWithDisk(*m_path, *m_declined) == DiskChange::Same) return;
    if (!isModified()) return readFileAgain(true);
    m_declined = fingerprintOf(*m_path);
    m_state = FlowState::DiskChangeAnswered;
    m_awaiting = Reply::Answer;
    m_window.showMessageBox(*m_path +
                                " changed on disk.\n\nRead the file again, losing the changes "
                                "made in this window, or keep the window's version?",
                            kProductName, toolkit::MessageBoxKind::ChangedOnDisk);
}

void DocumentFlow::diskChangeAnswered() {
    m_state = FlowState::Idle;
    if (m_answer == Answer::Yes) readFileAgain(false);
}

// Read whole, as Open reads it: the window stays, the views are those the
// file's layout names.
void DocumentFlow::readFileAgain(bool tell) {
    std::string path = *m_path;
    StringPointer text;
    std::optional<LoadFailure> failure = attemptReading([&] { text = readDocumentFile(path); });
    if (!failure) failure = replaceDocument(text);
    if (failure) {
        m_declined = fingerprintOf(path);
        return notify(path +
                      " changed on disk and can not be read again; the window keeps its "
                      "version.\n\n" +
                      loadNoticeOf(*failure));
    }
    documentRead(path);
    // Nothing was lost and nothing needs deciding: the message line says
    // it, and the window goes on taking input (a box would stop the work
    // of a user who did not ask for the reading).
    if (tell) m_window.showStatusMessage(path + " changed on disk and was read again.");
}

}  // namespace qv
