#include "desktop/PrintFlow.h"

#include <new>

#include "core/FileWriter.h"
#include "desktop/DocumentTitle.h"
#include "desktop/TablePrint.h"

namespace qv {

std::string PrintFlow::tooManyPagesNotice(std::int64_t pages) {
    return "The table makes " + std::to_string(pages) + " pages, more than the " +
           std::to_string(kMostPrintedPages) +
           " the print preview can hold.\n\nExport it as a PDF (File > Export PDF...) and print "
           "that instead.";
}

void PrintFlow::print(const Pointer<TableEditable>& grid) {
    if (grid.isNull()) {
        m_window.showMessageBox(kNoTableNotice, kProductName, toolkit::MessageBoxKind::Notice);
        return;
    }
    TablePrint pages(grid);
    if (std::int64_t count = pages.pageCount(TablePrint::kA4Page); count > kMostPrintedPages) {
        m_window.showMessageBox(tooManyPagesNotice(count), kProductName,
                                toolkit::MessageBoxKind::Notice);
        return;
    }
    m_window.showPrintDialog(pages.title(),
                             [pages](toolkit::PageSink& sink) { return pages.paint(sink); });
}

void PrintFlow::exportPdf(const Pointer<TableEditable>& grid, const Pointer<Kernel>& kernel) {
    m_grid = {};
    m_kernel = {};
    if (grid.isNull()) {
        m_window.showMessageBox(kNoTableNotice, kProductName, toolkit::MessageBoxKind::Notice);
        return;
    }
    m_grid = grid;
    m_kernel = kernel;
    m_changeCount = kernel->getChangeCount();
    toolkit::FileDialogRequest request;
    request.save = true;
    request.filter = kFilter;
    request.defaultExtension = kDefaultExtension;
    request.replyMessage = kFileChosenMessage;
    m_window.showFileDialog(request);
}

bool PrintFlow::handleMessage(const toolkit::PostedMessage& message) {
    if (message.id != kFileChosenMessage) return false;
    Pointer<TableEditable> grid = std::move(m_grid);
    Pointer<Kernel> kernel = std::move(m_kernel);
    m_grid = {};
    m_kernel = {};
    // A stale reply (another document, or the program changed since the
    // dialog opened) writes nothing.
    if (grid.isNull() || kernel.isNull() || kernel->getChangeCount() != m_changeCount) return true;
    if (std::optional<std::string> failure = writePdf(grid, message.text))
        m_window.showMessageBox(std::string(kFailureNotice) + *failure, kProductName,
                                toolkit::MessageBoxKind::Notice);
    return true;
}

std::optional<std::string> PrintFlow::writePdf(const Pointer<TableEditable>& grid,
                                               const std::string& path) {
    TablePrint pages(grid);
    WaitIndicator& wait = m_wait;
    auto progress = [&wait](std::int64_t page, std::int64_t count) {
        wait.whileWorking("Writing page " + std::to_string(page) + " of " + std::to_string(count));
        return !wait.isStopping();
    };
    std::string bytes;
    std::string error;
    bool made = false;
    try {
        made = m_window.encodePdf(
            pages.title(), [&](toolkit::PageSink& sink) { return pages.paint(sink, progress); },
            bytes, error);
    } catch (const std::bad_alloc&) {
        error = "out of memory";
    }
    m_wait.finished();
    if (m_ended) m_ended();
    if (!made) {
        if (error.empty()) return "stopped before the last page; nothing was written";
        return "can not write " + path + ": " + error;
    }
    try {
        writeFileWhole(path, bytes);
    } catch (const StringPointer& message) {
        return message->toStdString();
    }
    return std::nullopt;
}

}  // namespace qv
