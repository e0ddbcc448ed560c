// File > Import...: the open dialog for a CSV or TSV file, the preview
// dialog (ImportDialog), and on its OK the whole file read (stoppable, its
// progress in the dialog's message line), the import planned against the
// document and applied as one undoable model step named "import", a grid of
// the table opened and the report shown in the main window's message line.
// A fault of the data or of the plan is shown in the dialog with its line
// and column, and nothing changes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "desktop/ImportDialog.h"
#include "editing/EditableSupport.h"
#include "toolkit/Window.h"
#include "views/ViewHost.h"

namespace qv {

class ImportFlow {
  public:
    // The open dialog's own reply, so that it never reaches the document's
    // commands.
    static constexpr std::int32_t kFileChosenMessage = toolkit::kFileChosenMessage + 500;
    static constexpr std::string_view kFilter =
        "CSV Files(*.csv),*.csv,TSV Files(*.tsv),*.tsv,All Files(*.*),*.*,";
    // The message line's progress is redrawn at most this often (in
    // hundredths of the file).
    static constexpr std::int64_t kProgressSteps = 100;

    // `readingEnded` is called after the whole file was read (or not), for
    // the owner to take the events it held meanwhile; `imported` after the
    // rows went in and their grid opened, before the report is shown, for
    // the owner to bring its views and title up to date.
    ImportFlow(toolkit::Window& window, EditableSupport& support, ViewHost& host,
               std::function<void()> readingEnded, std::function<void()> imported = {});
    ImportFlow(const ImportFlow&) = delete;
    ImportFlow& operator=(const ImportFlow&) = delete;

    // Asks which file to import.
    void start();
    // The file chosen: opens the preview. False for any other message.
    bool handleMessage(const toolkit::PostedMessage& message);
    // The preview opened last (it may have been closed since).
    ImportDialog* dialog() const noexcept { return m_dialog.get(); }
    // While the file is read and its rows added; the main window takes no
    // input then.
    bool isReading() const noexcept { return m_dialog && m_dialog->isReading(); }
    // What the last import did, as told to the user.
    const std::string& lastReport() const noexcept { return m_lastReport; }

  private:
    void accept(ImportDialog& dialog);
    std::optional<CsvTable> readWhole(ImportDialog& dialog);
    // Reads, plans and applies; the report, or nothing when the dialog's
    // message line says why not.
    std::optional<std::string> importInto(ImportDialog& dialog);

    toolkit::Window& m_window;
    EditableSupport& m_support;
    ViewHost& m_host;
    std::function<void()> m_readingEnded;
    std::function<void()> m_importDone;
    std::unique_ptr<ImportDialog> m_dialog;
    bool m_awaitingFile = false;
    std::string m_lastReport;
    // The program index of the table imported last.
    std::int32_t m_imported = -1;
};

}  // namespace qv
