// The document flow: New, Open, Save, Save As and Exit with their
// questions, as one small state machine. Dialogs are modal but answer
// through posted messages, so every step that shows one records the next
// state and returns; the owner hands each dialog message to
// handleMessage(), which resumes the flow there. A cancelled file dialog
// posts nothing, so the flow simply waits until the next command.
//
// The flow reads and writes the files itself (writing is atomic: the file
// on disk is replaced whole or not at all) and keeps the current path and
// the saved position; the document lives in the host. Every command but
// the start first has the host commit a cell edit still being typed, so
// that what is saved or dropped is what the window shows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/LoadFailure.h"
#include "desktop/DocumentFlowHost.h"
#include "desktop/DocumentRecovery.h"
#include "desktop/FileFingerprint.h"
#include "desktop/ModificationState.h"
#include "toolkit/Window.h"

namespace qv {

// ORDER FLOW STATE: the numbers the steps are known by.
enum class FlowState : std::int32_t {
    Idle = -1,
    Start = 0,
    StartCreateAnswered = 1,  // "Do you want to create this file?"
    NoticeShown = 2,
    StartRecoveryAnswered = 3,  // a recovery copy offered
    StartRecoveryNotice = 4,    // a recovery copy that does not read
    Open = 10,
    OpenChosen = 11,
    OpenAnswered = 12,    // the save question before Open
    OpenSaveChosen = 13,  // the Save dialog of that question
    SaveAs = 20,
    SaveAsChosen = 21,
    Save = 22,
    New = 30,
    NewAnswered = 31,
    NewSaveChosen = 32,
    NewSaveCurrent = 33,
    Exit = 40,
    ExitAnswered = 41,
    ExitSaveChosen = 42,
    ExitSaveCurrent = 43,
    OverwriteAnswered = 50,   // the file changed or went away since it was read
    DiskChangeAnswered = 51,  // the file changed under unsaved changes
};

class DocumentFlow {
  public:
    static constexpr std::string_view kOpenFilter =
        "Quorvatelle  Documents(*.qvl),*.qvl,All Files(*.*),*.*,";
    static constexpr std::string_view kSaveFilter =
        "Quorvatelle Documents(*.qvl),*.qvl,All Files(*.*),*.*,";
    static constexpr std::string_view kDefaultExtension = "qvl";
    static constexpr std::string_view kCreateQuestion = " \n\nDo you want to create this file?";
    // Posted by the watcher of the open file.
    static constexpr std::int32_t kFileChangedMessage = toolkit::kFileChosenMessage + 310;

    DocumentFlow(toolkit::Window& window, DocumentFlowHost& host, std::string startupPath);
    DocumentFlow(const DocumentFlow&) = delete;
    DocumentFlow& operator=(const DocumentFlow&) = delete;

    // The first step: opens the start-up file, or the default document.
    void start();
    // The File menu. exit() also answers the window's close request.
    void newDocument();
    void open();
    // Open without the dialog (File > Recent): asks to save unsaved
    // changes first, as Open does.
    void openPath(const std::string& path);
    void save();
    void saveAs();
    void exit();

    // A dialog's answer or chosen file; false when the message is not one
    // the flow waits for (it is then left alone).
    bool handleMessage(const toolkit::PostedMessage& message);

    // The source window's reload: the text becomes the document, which then
    // counts as modified; on a failure the document stays as it was.
    std::optional<LoadFailure> reloadFromSource(const StringPointer& text);

    // A change of the document outside the undo history (a view added
    // that cannot be undone): the document counts as modified until
    // the next load or save.
    void markChanged();
    bool isModified() const;
    // Shows the current name and modification state in the window's title;
    // the owner calls it after every change the flow does not see.
    void updateTitle();

    // Recovery copies go to `folder` from now on (the program turns them on;
    // tests give a folder and a clock of their own, and may shorten the
    // interval). Call before start().
    void enableRecovery(std::string folder, DocumentRecovery::Clock clock,
                        std::int32_t intervalMs = DocumentRecovery::kIntervalMs);
    DocumentRecovery* recovery() noexcept { return m_recovery.get(); }
    // After every event, and the recovery timer's tick.
    void afterEvent();
    void recoveryTimer();
    // The recovery's slice timer (DocumentRecovery::kSliceTimerId).
    void recoverySlice();

    FlowState state() const noexcept { return m_state; }
    const std::optional<std::string>& currentPath() const noexcept { return m_path; }

  private:
    enum class Reply { None, Answer, File };
    enum class Answer { Yes = 0, No = 1, Cancel = 2 };

    void begin(FlowState state);
    // False, with the reason shown, when a cell edit still being typed does
    // not read: the command then stops before it saves or drops anything.
    bool commitPendingEdit();
    void continueFlow();
    void startStep();
    void openStartupFile();
    void createAnswered();
    void openStep();
    void openAnswered();
    void openChosen();
    void newStep();
    void newAnswered();
    void exitStep();
    void exitAnswered();

    std::optional<LoadFailure> replaceDocument(const StringPointer& text);
    void loadDefaultDocument();
    bool saveTo(const std::string& path);
    void endProgram();

    // Recovery, watching the file and asking before overwriting a changed
    // one (DocumentFlowDisk.cpp).
    bool offerRecovery();
    void recoveryAnswered();
    void documentRead(const std::optional<std::string>& path);
    void watchCurrentFile();
    bool overwriteRefused(const std::string& path);
    void overwriteAnswered();
    void fileChanged();
    void diskChangeAnswered();
    // `tell`: a notice says so (the user did not ask for it).
    void readFileAgain(bool tell);
    std::uint64_t changeStamp() const;
    DocumentRecovery::DocumentText documentText();
    // The path a recovery record names: absolute, however the user named it.
    std::optional<std::string> recoveryOriginal() const;

    void ask(const std::string& question, FlowState next);
    void notify(const std::string& notice);
    void showOpenDialog();
    void showSaveDialog(FlowState next);

    toolkit::Window& m_window;
    DocumentFlowHost& m_host;
    std::string m_startupPath;
    std::optional<std::string> m_path;
    std::string m_chosenPath;
    // The file Open reads instead of asking for one.
    std::optional<std::string> m_openTarget;
    FlowState m_state = FlowState::Idle;
    Reply m_awaiting = Reply::None;
    Answer m_answer = Answer::Cancel;
    bool m_confirmed = false;
    ModificationState m_modification;
    std::uint64_t m_changesOutsideHistory = 0;

    std::unique_ptr<DocumentRecovery> m_recovery;
    std::optional<RecoveryCopy> m_offered;
    std::unique_ptr<toolkit::FileWatcher> m_watcher;
    // The file as last read or saved, and a version on disk the user chose
    // not to read (asked once).
    std::optional<FileFingerprint> m_disk;
    std::optional<FileFingerprint> m_declined;
    bool m_removalTold = false;
    // A save that asked before overwriting resumes in this state.
    FlowState m_resume = FlowState::Idle;
    bool m_overwriteApproved = false;
};

}  // namespace qv
