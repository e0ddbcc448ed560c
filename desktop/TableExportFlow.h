// File > Export table...: asks where to write the selected table, then
// writes it as CSV or TSV the way `qvl show --format csv|tsv` does.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "kernel/Kernel.h"
#include "toolkit/Window.h"

namespace qv {

class TableExportFlow {
  public:
    // The save dialog's own reply, so that it never reaches the document's
    // commands (whose dialog may have been cancelled and still be awaited).
    static constexpr std::int32_t kFileChosenMessage = toolkit::kFileChosenMessage + 400;
    static constexpr std::string_view kFilter =
        "CSV Files(*.csv),*.csv,TSV Files(*.tsv),*.tsv,All Files(*.*),*.*,";
    static constexpr std::string_view kDefaultExtension = "csv";
    static constexpr std::string_view kNoTableNotice =
        "Select a table, or a cell of one, to export the table.";
    static constexpr std::string_view kFailureNotice = "Can not export the table:\n\n";

    explicit TableExportFlow(toolkit::Window& window) : m_window(window) {}
    TableExportFlow(const TableExportFlow&) = delete;
    TableExportFlow& operator=(const TableExportFlow&) = delete;

    // Asks where to write the table of the program's index `table`; with
    // none selected, tells the user how to select one.
    void start(const Pointer<Kernel>& kernel, std::optional<std::int32_t> table);
    // The file chosen in the save dialog: writes the table (TSV for a
    // ".tsv" or ".tab" name, else CSV) and tells the user when that failed.
    // False for any other message.
    bool handleMessage(const toolkit::PostedMessage& message);

  private:
    toolkit::Window& m_window;
    // The table asked about; the kernel is kept so a document opened while
    // the dialog was up does not get its table of that index exported.
    Pointer<Kernel> m_kernel;
    std::int32_t m_table = -1;
    std::int32_t m_changeCount = 0;
};

}  // namespace qv
