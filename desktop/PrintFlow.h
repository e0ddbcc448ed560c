// File > Print... and File > Export PDF...: the pages of the selected grid
// (TablePrint) shown in the system's print dialog with its preview, or
// written as a PDF after a save dialog. The PDF is made page by page under
// the wait indicator, whose overlay tells the page and whose Stop ends it
// with nothing written; the file is written whole or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "desktop/WaitIndicator.h"
#include "kernel/Kernel.h"
#include "toolkit/Window.h"
#include "views/TableEditable.h"

namespace qv {

class PrintFlow {
  public:
    // The save dialog's own reply, so that it never reaches the document's
    // commands.
    static constexpr std::int32_t kFileChosenMessage = toolkit::kFileChosenMessage + 700;
    static constexpr std::string_view kFilter = "PDF Documents(*.pdf),*.pdf,";
    static constexpr std::string_view kDefaultExtension = "pdf";
    static constexpr std::string_view kNoTableNotice =
        "Select a table, or a cell of one, to print the table.";
    static constexpr std::string_view kFailureNotice = "Can not export the PDF:\n\n";
    // The print preview holds every page in memory, and paints them all
    // again whenever its paper changes; a table beyond this many A4 pages
    // is printed from its PDF instead, which is written page by page.
    static constexpr std::int64_t kMostPrintedPages = 2500;
    static std::string tooManyPagesNotice(std::int64_t pages);

    // `ended` is called when a PDF's pages are done (or stopped), for the
    // owner to take the events it held meanwhile.
    PrintFlow(toolkit::Window& window, WaitIndicator& wait, std::function<void()> ended)
        : m_window(window), m_wait(wait), m_ended(std::move(ended)) {}
    PrintFlow(const PrintFlow&) = delete;
    PrintFlow& operator=(const PrintFlow&) = delete;

    // Both take the grid to print (null: tells how to select one) and the
    // kernel whose results it shows.
    void print(const Pointer<TableEditable>& grid);
    void exportPdf(const Pointer<TableEditable>& grid, const Pointer<Kernel>& kernel);
    // A new document replaced the one whose grid the save dialog was for:
    // its answer writes nothing.
    void forget() {
        m_grid = {};
        m_kernel = {};
    }
    // The file chosen in the save dialog: writes the PDF. False for any
    // other message.
    bool handleMessage(const toolkit::PostedMessage& message);
    // Writes the grid's pages to `path`; the reason it did not, or nothing
    // when written. A stop writes nothing and says so.
    std::optional<std::string> writePdf(const Pointer<TableEditable>& grid,
                                        const std::string& path);

  private:
    toolkit::Window& m_window;
    WaitIndicator& m_wait;
    std::function<void()> m_ended;
    Pointer<TableEditable> m_grid;
    Pointer<Kernel> m_kernel;
    std::int32_t m_changeCount = 0;
};

}  // namespace qv
