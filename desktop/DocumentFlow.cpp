#include "desktop/DocumentFlow.h"

#include <filesystem>
#include <system_error>

#include "app/Document.h"
#include "app/DocumentFile.h"
#include "core/Assert.h"
#include "desktop/DocumentTitle.h"

namespace qv {

namespace {

// Anything at the path, a broken link included.
bool pathExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

}  // namespace

DocumentFlow::DocumentFlow(toolkit::Window& window, DocumentFlowHost& host, std::string startupPath)
    : m_window(window), m_host(host), m_startupPath(std::move(startupPath)) {}

void DocumentFlow::start() {
    begin(FlowState::Start);
}

void DocumentFlow::newDocument() {
    if (commitPendingEdit()) begin(FlowState::New);
}

void DocumentFlow::open() {
    m_openTarget.reset();
    if (commitPendingEdit()) begin(FlowState::Open);
}

void DocumentFlow::openPath(const std::string& path) {
    m_openTarget = path;
    if (commitPendingEdit()) begin(FlowState::Open);
}

void DocumentFlow::save() {
    if (!commitPendingEdit()) return;
    begin(m_path ? FlowState::Save : FlowState::SaveAs);
}

void DocumentFlow::saveAs() {
    if (commitPendingEdit()) begin(FlowState::SaveAs);
}

void DocumentFlow::exit() {
    if (commitPendingEdit()) begin(FlowState::Exit);
}

bool DocumentFlow::commitPendingEdit() {
    std::optional<std::string> refusal = m_host.commitPendingEdit();
    if (!refusal) return true;
    notify(*refusal);
    return false;
}

// A command starts afresh, whatever an earlier flow waited for (a file
// dialog that was cancelled leaves its state behind).
void DocumentFlow::begin(FlowState state) {
    m_state = state;
    m_awaiting = Reply::None;
    continueFlow();
}

bool DocumentFlow::handleMessage(const toolkit::PostedMessage& message) {
    if (message.id == kFileChangedMessage) {
        if (m_path && message.text == *m_path) fileChanged();
        return true;
    }
    // Only the reply the flow waits for resumes it: the answer to a notice
    // shown by someone else must not continue a flow whose file dialog was
    // cancelled (it would save to a stale path and end the program).
    if (message.id == toolkit::kAnswerMessage && m_awaiting == Reply::Answer) {
        auto answer = static_cast<toolkit::Answer>(message.value);
        m_answer = answer == toolkit::Answer::Yes  ? Answer::Yes
                   : answer == toolkit::Answer::No ? Answer::No
                                                   : Answer::Cancel;
        // A confirmation agrees with OK.
        m_confirmed = answer == toolkit::Answer::Ok;
    } else if (message.id == toolkit::kFileChosenMessage && m_awaiting == Reply::File) {
        m_chosenPath = message.text;
    } else {
        return false;
    }
    m_awaiting = Reply::None;
    continueFlow();
    return true;
}

void DocumentFlow::continueFlow() {
    switch (m_state) {
        case FlowState::Start:
            return startStep();
        case FlowState::StartCreateAnswered:
            return createAnswered();
        case FlowState::StartRecoveryAnswered:
            return recoveryAnswered();
        case FlowState::StartRecoveryNotice:
            return openStartupFile();
        case FlowState::NoticeShown:
            m_state = FlowState::Idle;
            return;
        case FlowState::Open:
            return openStep();
        case FlowState::OpenChosen:
            return openChosen();
        case FlowState::OpenAnswered:
            return openAnswered();
        case FlowState::OpenSaveChosen:
            if (saveTo(m_chosenPath)) showOpenDialog();
            return;
        case FlowState::SaveAs:
            return showSaveDialog(FlowState::SaveAsChosen);
        case FlowState::SaveAsChosen:
            saveTo(m_chosenPath);
            return;
        case FlowState::Save:
            saveTo(*m_path);
            return;
        case FlowState::OverwriteAnswered:
            return overwriteAnswered();
        case FlowState::DiskChangeAnswered:
            return diskChangeAnswered();
        case FlowState::New:
            return newStep();
        case FlowState::NewAnswered:
            return newAnswered();
        case FlowState::NewSaveChosen:
            if (saveTo(m_chosenPath)) loadDefaultDocument();
            return;
        case FlowState::NewSaveCurrent:
            if (saveTo(*m_path)) loadDefaultDocument();
            return;
        case FlowState::Exit:
            return exitStep();
        case FlowState::ExitAnswered:
            return exitAnswered();
        case FlowState::ExitSaveChosen:
            if (saveTo(m_chosenPath)) endProgram();
            return;
        case FlowState::ExitSaveCurrent:
            if (saveTo(*m_path)) endProgram();
            return;
        case FlowState::Idle:
            return;
    }
}

void DocumentFlow::startStep() {
    m_state = FlowState::Idle;
    if (!offerRecovery()) openStartupFile();
}

void DocumentFlow::openStartupFile() {
    m_state = FlowState::Idle;
    if (m_startupPath.empty()) return loadDefaultDocument();
    StringPointer text;
    std::optional<LoadFailure> failure =
        attemptReading([&] { text = readDocumentFile(m_startupPath); });
    // Creating the file is offered only when there is none: answering Yes
    // for a file that exists but cannot be read would replace it.
    if (failure && !pathExists(m_startupPath)) {
        return ask(failure->message + std::string(kCreateQuestion), FlowState::StartCreateAnswered);
    }
    if (!failure) failure = replaceDocument(text);
    if (failure) {
        // There is no document yet to keep: the default one stands in.
        notify(loadNoticeOf(*failure));
        loadDefaultDocument();
        return;
    }
    documentRead(m_startupPath);
}

void DocumentFlow::createAnswered() {
    m_state = FlowState::Idle;
    if (m_answer == Answer::Cancel) return endProgram();
    loadDefaultDocument();
    if (m_answer == Answer::Yes) saveTo(m_startupPath);
}

void DocumentFlow::openStep() {
    if (!isModified()) return showOpenDialog();
    ask(savePromptOf(m_path), FlowState::OpenAnswered);
}

void DocumentFlow::openAnswered() {
    m_state = FlowState::Idle;
    if (m_answer == Answer::Cancel) return;
    if (m_answer == Answer::No) return showOpenDialog();
    if (!m_path) return showSaveDialog(FlowState::OpenSaveChosen);
    m_chosenPath = *m_path;
    m_state = FlowState::OpenSaveChosen;
    continueFlow();
}

void DocumentFlow::openChosen() {
    m_state = FlowState::Idle;
    StringPointer text;
    std::optional<LoadFailure> failure =
        attemptReading([&] { text = readDocumentFile(m_chosenPath); });
    if (!failure) failure = replaceDocument(text);
    // A document that cannot be read replaces nothing: the current one,
    // with its path and its changes, stays.
    if (failure) return notify(loadNoticeOf(*failure));
    documentRead(m_chosenPath);
}

void DocumentFlow::newStep() {
    if (isModified()) return ask(savePromptOf(m_path), FlowState::NewAnswered);
    m_state = FlowState::Idle;
    loadDefaultDocument();
}

void DocumentFlow::newAnswered() {
    m_state = FlowState::Idle;
    if (m_answer == Answer::Cancel) return;
    if (m_answer == Answer::No) return loadDefaultDocument();
    if (!m_path) return showSaveDialog(FlowState::NewSaveChosen);
    m_state = FlowState::NewSaveCurrent;
    continueFlow();
}

void DocumentFlow::exitStep() {
    if (isModified()) return ask(savePromptOf(m_path), FlowState::ExitAnswered);
    endProgram();
}

void DocumentFlow::exitAnswered() {
    m_state = FlowState::Idle;
    if (m_answer == Answer::Cancel) return;
    if (m_answer == Answer::No) return endProgram();
    if (!m_path) return showSaveDialog(FlowState::ExitSaveChosen);
    m_state = FlowState::ExitSaveCurrent;
    continueFlow();
}

std::optional<LoadFailure> DocumentFlow::replaceDocument(const StringPointer& text) {
    if (auto failure = attemptReading([&] { m_host.loadDocument(text); })) return failure;
    // Only now that the new document has replaced the old one does the old
    // one's history go: a failed reading keeps both.
    m_host.clearUndoHistory();
    // A notice about the old document would mislead under the new one.
    m_window.showStatusMessage({});
    m_modification.markSaved();
    m_declined.reset();
    if (m_recovery) m_recovery->settled(changeStamp());
    return std::nullopt;
}

void DocumentFlow::loadDefaultDocument() {
    std::optional<LoadFailure> failure = replaceDocument(str(Document::kNewDocumentText));
    if (QV_NEVER(failure.has_value())) return notify(loadNoticeOf(*failure));
    documentRead(std::nullopt);
}

bool DocumentFlow::saveTo(const std::string& path) {
    if (overwriteRefused(path)) return false;
    try {
        StringPointer source = m_host.documentSource();
        std::string text = source->toStdString();
        text += Document::kEndMark;
        writeDocumentFile(path, text);
    } catch (const StringPointer& message) {
        // The file on disk is untouched, so the flow stops here: nothing
        // that would lose the document (a new one, the end of the program)
        // may follow a failed save.
        notify(message.isNull() ? std::string("can not write to ") + path : message->toStdString());
        return false;
    }
    m_host.markSavedPosition();
    m_modification.markSaved();
    m_state = FlowState::Idle;
    m_declined.reset();
    if (m_recovery) m_recovery->settled(changeStamp());
    documentRead(path);
    return true;
}

void DocumentFlow::endProgram() {
    // Every way out is the user's choice (saved, or not saved on purpose):
    // the recovery copy goes.
    if (m_recovery) m_recovery->settled(changeStamp());
    m_state = FlowState::Idle;
    m_awaiting = Reply::None;
    m_host.programEnding();
    m_window.quit(0);
}

void DocumentFlow::markChanged() {
    ++m_changesOutsideHistory;
    m_modification.markChanged();
    updateTitle();
    // Not every such change ends in the owner's after-event.
    afterEvent();
}

bool DocumentFlow::isModified() const {
    return m_modification.isModified(m_host.isAtSavedPosition());
}

void DocumentFlow::updateTitle() {
    m_window.setTitle(windowTitleOf(m_path, isModified(), m_host.maximizedViewTitles()));
}

void DocumentFlow::ask(const std::string& question, FlowState next) {
    m_state = next;
    m_awaiting = Reply::Answer;
    m_window.showMessageBox(question, kProductName, toolkit::MessageBoxKind::Question);
}

void DocumentFlow::notify(const std::string& notice) {
    m_state = FlowState::NoticeShown;
    m_awaiting = Reply::Answer;
    m_window.showMessageBox(notice, kProductName, toolkit::MessageBoxKind::Notice);
}

void DocumentFlow::showOpenDialog() {
    m_state = FlowState::OpenChosen;
    if (m_openTarget) {
        m_chosenPath = std::move(*m_openTarget);
        m_openTarget.reset();
        return continueFlow();
    }
    m_awaiting = Reply::File;
    m_window.showFileDialog(
        {false, std::string(kOpenFilter), std::string(kDefaultExtension), m_path.value_or("")});
}

void DocumentFlow::showSaveDialog(FlowState next) {
    m_state = next;
    m_awaiting = Reply::File;
    m_window.showFileDialog(
        {true, std::string(kSaveFilter), std::string(kDefaultExtension), m_path.value_or("")});
}

std::optional<LoadFailure> DocumentFlow::reloadFromSource(const StringPointer& text) {
    if (auto failure = replaceDocument(text)) return failure;
    markChanged();
    return std::nullopt;
}

}  // namespace qv
